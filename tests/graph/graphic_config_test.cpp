#include "graph/ui/graphic_config_dialog.h"
#include "model/image_reader.h"
#include "ui/internal_messages.h"
#include "window_rig.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include <vector>

namespace qz::test {
namespace {

// Counts message 1033 posted to it.
class ConfigTarget final : public QObject {
public:
    int applied = 0;
    bool event(QEvent* e) override
    {
        if (internalMessageOf(e->type()) != kMsgApplyGraphicConfig)
            return QObject::event(e);
        ++applied;
        return true;
    }
};

// Inputs 1 and 3 recorded: input 3 is "Temp" in "C", input 1 " Flow&Ret" (all 9
// characters of a name) in "l/h".
ImageBuilder inputsOneAndThree()
{
    return graphRecording()
        .input(0, {QStringLiteral(" Flow&Ret"), QStringLiteral("l/h"), 0, 100, 0, 255 * 256})
        .input(2, {QStringLiteral("Temp"), QStringLiteral("C"), 0, 100, 0, 255 * 256})
        .measurements(10, [](int k, int) { return std::uint8_t(k); });
}

class GraphicConfigTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        image_ = inputsOneAndThree().build();
        reader_ = ImageReader(ConstByteView{reinterpret_cast<const std::uint8_t*>(image_.constData()),
                                            std::size_t(image_.size())});
        settings_ = initDisplaySettings(reader_.inputMask());
        SetUp(settings_);
    }
    void SetUp(const DisplaySettings& s)
    {
        dialog_.setUp(reader_, s, colours_);
        dialog_.setTarget(&target_);
        dialog_.show();
    }
    // What OK hands back.
    DisplaySettings ok()
    {
        dialog_.findChild<QPushButton*>("OKBtn")->click();
        QCoreApplication::sendPostedEvents(&target_);
        return dialog_.settings();
    }
    std::vector<bool> leftChecked() const
    {
        std::vector<bool> out;
        for (int i = 0; i < mem::kInputs; ++i)
            out.push_back(dialog_.leftBox(i)->isChecked());
        return out;
    }

    QByteArray image_;
    ImageReader reader_;
    DisplaySettings settings_;
    ColourTable colours_ = testColours();
    ScriptedColours chooser_;
    GraphicConfigDialog dialog_{chooser_};
    ConfigTarget target_;
};

TEST_F(GraphicConfigTest, ShowsTheRecordedInputsAndDisablesTheOthers)
{
    EXPECT_EQ(dialog_.windowTitle(), "ZK300 Graphic Configuration");
    EXPECT_EQ(dialog_.findChild<QGroupBox*>("GroupBox1")->title(), "Plot");
    EXPECT_EQ(dialog_.findChild<QGroupBox*>("GroupBox2")->title(), "Left Scale");
    EXPECT_EQ(dialog_.findChild<QGroupBox*>("GroupBox3")->title(), "Right Scale");
    EXPECT_EQ(dialog_.autoScaleBox()->text(), "Auto Scaling");
    EXPECT_EQ(dialog_.findChild<QPushButton*>("OKBtn")->text(), "OK");
    EXPECT_EQ(dialog_.findChild<QPushButton*>("CancelBtn")->text(), "Cancel");
    EXPECT_EQ(dialog_.findChild<QPushButton*>("HelpBtn")->text(), "&Help");
    EXPECT_EQ(dialog_.plotBox(0)->objectName(), "CheckBox2");
    EXPECT_EQ(dialog_.leftBox(7)->objectName(), "CheckBox17");
    EXPECT_EQ(dialog_.rightBox(0)->objectName(), "CheckBox19");

    // Number, name padded to 9, unit padded to 6, each without its blanks.
    EXPECT_EQ(dialog_.plotBox(2)->text(), "3 Temp      C     ");
    EXPECT_EQ(plotCaption(2, "Temp", "C"), "3 Temp      C     ");
    // Longer texts are not cut; '&' shows as itself.
    EXPECT_EQ(plotCaption(0, " Flow&Ret", "l/h"), "1 Flow&Ret  l/h   ");
    EXPECT_EQ(dialog_.plotBox(0)->text(), "1 Flow&&Ret  l/h   ");
    EXPECT_EQ(plotCaption(7, "Temperature", "degrees"), "8 Temperature degrees");
    // The scale boxes show the name as stored.
    EXPECT_EQ(dialog_.leftBox(2)->text(), "Temp");
    EXPECT_EQ(dialog_.rightBox(0)->text(), " Flow&&Ret");

    for (int i : {1, 3, 4, 5, 6, 7}) {
        EXPECT_FALSE(dialog_.plotBox(i)->isEnabled()) << i;
        EXPECT_FALSE(dialog_.leftBox(i)->isEnabled()) << i;
        EXPECT_FALSE(dialog_.rightBox(i)->isEnabled()) << i;
        EXPECT_EQ(dialog_.plotBox(i)->text(), QString::number(i + 1));
        EXPECT_TRUE(dialog_.leftBox(i)->text().isEmpty());
        EXPECT_TRUE(dialog_.rightBox(i)->text().isEmpty());
    }
    EXPECT_TRUE(dialog_.plotBox(0)->isChecked());
    EXPECT_TRUE(dialog_.plotBox(2)->isChecked());
    EXPECT_TRUE(dialog_.leftBox(0)->isChecked());
    EXPECT_TRUE(dialog_.rightBox(2)->isChecked());
    EXPECT_TRUE(dialog_.autoScaleBox()->isChecked());
    // Each input's boxes in its colour.
    for (QCheckBox* box : {dialog_.plotBox(2), dialog_.leftBox(2), dialog_.rightBox(2)})
        EXPECT_EQ(box->palette().color(QPalette::WindowText), QColor(255, 0, 255));
}

struct AxisClicks {
    const char* name;
    int initialLeft;
    std::vector<int> clicks; // left boxes by input
    int left; // after OK
};

void PrintTo(const AxisClicks& c, std::ostream* os)
{
    *os << c.name;
}

class AxisExclusivityTest : public GraphicConfigTest, public ::testing::WithParamInterface<AxisClicks> {};

TEST_P(AxisExclusivityTest, AtMostOneLeftBoxIsChecked)
{
    const AxisClicks& c = GetParam();
    DisplaySettings s = settings_;
    s.leftAxisInput = c.initialLeft;
    SetUp(s);
    for (int input : c.clicks)
        dialog_.leftBox(input)->click();
    std::vector<bool> expected(mem::kInputs, false);
    if (c.left >= 0)
        expected[std::size_t(c.left)] = true;
    EXPECT_EQ(leftChecked(), expected);
    EXPECT_EQ(dialog_.leftInput(), c.left);
    EXPECT_EQ(ok().leftAxisInput, c.left);
    // The right axis is left alone.
    EXPECT_EQ(dialog_.settings().rightAxisInput, 2);
}

INSTANTIATE_TEST_SUITE_P(Clicks, AxisExclusivityTest,
                         ::testing::Values(AxisClicks{"unchecking the selected box leaves none", 2, {2}, -1},
                                           AxisClicks{"a new box unchecks the previous one", 0, {0, 2}, 2},
                                           AxisClicks{"without a selection a box just selects", -1, {2}, 2},
                                           AxisClicks{"none then the same again", 0, {0, 0}, 0},
                                           AxisClicks{"the same input as the right axis", 0, {2}, 2}),
                         [](const ::testing::TestParamInfo<AxisClicks>& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (ch == ' ')
                                     ch = '_';
                             return n;
                         });

TEST_F(GraphicConfigTest, RightBoxesAreExclusiveOnTheirOwn)
{
    dialog_.rightBox(0)->click();
    EXPECT_TRUE(dialog_.rightBox(0)->isChecked());
    EXPECT_FALSE(dialog_.rightBox(2)->isChecked());
    EXPECT_TRUE(dialog_.leftBox(0)->isChecked());
    dialog_.rightBox(0)->click();
    const DisplaySettings s = ok();
    EXPECT_EQ(s.rightAxisInput, -1);
    EXPECT_EQ(s.leftAxisInput, 0);
}

TEST_F(GraphicConfigTest, OkHandsBackTheChoicesAndCancelNothing)
{
    dialog_.plotBox(0)->click();
    dialog_.autoScaleBox()->click();
    const DisplaySettings s = ok();
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(target_.applied, 1);
    EXPECT_FALSE(s.shown[0]);
    EXPECT_TRUE(s.shown[2]);
    EXPECT_FALSE(s.autoScale);
    EXPECT_EQ(s.enabled, settings_.enabled);

    // Cancel, Escape and the frame's close button post nothing.
    for (int way = 0; way < 3; ++way) {
        SetUp(settings_);
        dialog_.plotBox(2)->click();
        if (way == 0)
            dialog_.findChild<QPushButton*>("CancelBtn")->click();
        else if (way == 1)
            QTest::keyClick(&dialog_, Qt::Key_Escape);
        else
            dialog_.close();
        QCoreApplication::sendPostedEvents(&target_);
        EXPECT_FALSE(dialog_.isVisible()) << way;
        EXPECT_EQ(target_.applied, 1) << way;
    }
    // The next set-up shows the window's settings, not the cancelled ones.
    SetUp(settings_);
    EXPECT_TRUE(dialog_.plotBox(2)->isChecked());
}

TEST_F(GraphicConfigTest, ARightClickOnAnyOfAnInputsBoxesChoosesItsColour)
{
    // Input 3 from each of its three boxes in turn; a cancelled chooser changes nothing.
    chooser_.answers = {QColor(10, 20, 30), std::nullopt, QColor(0, 128, 255)};
    QTest::mousePress(dialog_.plotBox(2), Qt::RightButton);
    EXPECT_EQ(chooser_.offered.back(), QColor(255, 0, 255));
    for (QCheckBox* box : {dialog_.plotBox(2), dialog_.leftBox(2), dialog_.rightBox(2)})
        EXPECT_EQ(box->palette().color(QPalette::WindowText), QColor(10, 20, 30));
    EXPECT_TRUE(dialog_.plotBox(2)->isChecked()); // the right button does not toggle
    QTest::mousePress(dialog_.leftBox(2), Qt::RightButton);
    EXPECT_EQ(dialog_.rightBox(2)->palette().color(QPalette::WindowText), QColor(10, 20, 30));
    QTest::mousePress(dialog_.rightBox(2), Qt::RightButton);
    EXPECT_EQ(dialog_.plotBox(2)->palette().color(QPalette::WindowText), QColor(0, 128, 255));

    ok();
    EXPECT_EQ(dialog_.colours()[3], 0xFF8000u); // 0x00BBGGRR
    ColourTable expected = colours_;
    expected[3] = 0xFF8000u;
    EXPECT_EQ(dialog_.colours(), expected);
}

TEST_F(GraphicConfigTest, TheGreyedBoxesOfAnInputNotRecordedOfferNoColour)
{
    chooser_.answers = {QColor(10, 20, 30)};
    for (QCheckBox* box : {dialog_.plotBox(1), dialog_.leftBox(1), dialog_.rightBox(1)}) {
        ASSERT_FALSE(box->isEnabled());
        QTest::mousePress(box, Qt::RightButton);
    }
    EXPECT_TRUE(chooser_.offered.empty());
    ok();
    EXPECT_EQ(dialog_.colours(), colours_);
}

TEST_F(GraphicConfigTest, AClosedTargetLosesTheAnswerQuietly)
{
    auto target = std::make_unique<ConfigTarget>();
    dialog_.setTarget(target.get());
    target.reset();
    EXPECT_EQ(dialog_.target(), nullptr);
    dialog_.accept();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(dialog_.isVisible());
}

} // namespace
} // namespace qz::test
