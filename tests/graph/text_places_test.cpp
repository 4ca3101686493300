// The texts of a drawn graph never overlap: the footer's start time, input numbers and
// serial number, the name, the units and the axis labels, for many inputs, small windows,
// paper and spans whose time labels crowd.
#include "graph/graph_draw.h"
#include "graph/graph_fonts.h"
#include "graph_fixture.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <ostream>

namespace qz::test {
namespace {

struct PlacesCase {
    const char* name;
    int inputs; // inputs 1..n defined and drawn
    int count; // measurements
    int perInterval; // seconds between measurements
    QSize size;
    bool printer = false;
    const char* serial = "4711";
};

void PrintTo(const PlacesCase& c, std::ostream* os)
{
    *os << c.name << " (" << c.inputs << " inputs, " << c.count << " x " << c.perInterval << " s, "
        << c.size.width() << "x" << c.size.height() << (c.printer ? ", paper" : "") << ")";
}

ImageBuilder inputs(const PlacesCase& c)
{
    ImageBuilder b = graphRecording().serial(c.serial).interval(1, c.perInterval);
    const char* units[] = {"degC", "%rH", "bar", "V", "mA", "lux", "ppm", "Pa"};
    for (int i = 0; i < c.inputs; ++i)
        b.input(i, graphInput(units[i], 0, 100 * (i + 1)));
    b.measurements(c.count, [](int k, int i) { return std::uint8_t((k * (i + 3)) % 200 + 20); });
    return b;
}

std::string describe(const PlacedText& t)
{
    return t.text.toStdString() + " at " + std::to_string(t.rect.x()) + "," + std::to_string(t.rect.y()) + " "
        + std::to_string(t.rect.width()) + "x" + std::to_string(t.rect.height());
}

class TextPlacesTest : public ::testing::TestWithParam<PlacesCase> {
protected:
    void SetUp() override { setUpFontSubstitutions(); }
    GraphFixture fixture_;
};

TEST_P(TextPlacesTest, NoTwoTextsOverlapAndTheFooterStaysWhole)
{
    const PlacesCase& c = GetParam();
    auto rec = fixture_.load(inputs(c));
    ASSERT_TRUE(rec);
    QImage canvas = newCanvas(c.size);
    const GraphTarget target = c.printer ? printerTarget(c.size, false) : screenTarget(c.size);
    DrawResult result;
    {
        QPainter p(&canvas);
        result = drawGraph(p, target, *rec);
    }
    const std::vector<PlacedText>& texts = result.texts;
    for (std::size_t a = 0; a < texts.size(); ++a) {
        EXPECT_TRUE(QRect(QPoint(0, 0), c.size).contains(texts[a].rect)) << describe(texts[a]);
        for (std::size_t b = a + 1; b < texts.size(); ++b)
            EXPECT_FALSE(texts[a].rect.intersects(texts[b].rect))
                << describe(texts[a]) << " / " << describe(texts[b]);
    }

    // The start time, the serial number and every input's number are written in full.
    const auto find = [&texts](GraphTextKind kind, const QString& text) {
        for (const PlacedText& t : texts)
            if (t.kind == kind && t.text == text)
                return true;
        return false;
    };
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const PlacedText& t) {
                                return t.kind == GraphTextKind::Start && t.text.size() == 25
                                    && t.text.startsWith(QStringLiteral("Start : 12/03/01 14:2"));
                            }),
              1);
    const QString serial = QString::fromLatin1(c.serial);
    // The simulated logger's recording says so, as its window title does.
    const QString mark =
        serial.startsWith(QStringLiteral("SIM")) ? QStringLiteral(" (Simulated logger)") : QString();
    EXPECT_TRUE(find(GraphTextKind::Serial, QStringLiteral("S/N : ") + serial + mark));
    for (int i = 0; i < c.inputs; ++i)
        EXPECT_TRUE(find(GraphTextKind::InputNumber, QString::number(i + 1))) << i + 1;
    // The plot keeps most of the height.
    EXPECT_GT(result.layout.height(), c.size.height() / 2);
    // At least two time labels stand under the axis.
    EXPECT_GE(std::count_if(texts.begin(), texts.end(),
                            [](const PlacedText& t) { return t.kind == GraphTextKind::TimeLabel; }),
              2);
}

const PlacesCase kCases[] = {
    {"one_input_small_window", 1, 57, 60, QSize(400, 300)},
    {"eight_inputs_small_window", 8, 57, 60, QSize(400, 300)},
    {"eight_inputs_default_window", 8, 500, 60, QSize(560, 400)},
    {"eight_inputs_wide_window", 8, 500, 60, QSize(1000, 600)},
    {"eight_inputs_simulated_logger", 8, 500, 60, QSize(560, 400), false, "SIM1"},
    {"days_and_hours_crowd", 2, 700, 420, QSize(560, 400)},
    {"hours_on_a_narrow_window", 3, 300, 60, QSize(300, 260)},
    {"seconds", 2, 200, 1, QSize(560, 400)},
    {"eight_inputs_on_paper", 8, 500, 60, QSize(3508, 2480), true},
};

INSTANTIATE_TEST_SUITE_P(Views, TextPlacesTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PlacesCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(FooterPlan, KeepsOneRowWhenEverythingFitsAndStacksOtherwise)
{
    setUpFontSubstitutions();
    const QImage canvas = newCanvas(QSize(1, 1));
    const GraphMetrics metrics(0, &canvas);
    FooterTexts texts;
    texts.start = QStringLiteral("Start : 12/03/01 14:20:00");
    texts.serial = QStringLiteral("S/N : 4711");
    texts.numbers.push_back({0, Qt::red});
    EXPECT_EQ(planFooter(screenTarget(QSize(800, 400)), texts, metrics).rows, 1);
    for (int i = 1; i < 8; ++i)
        texts.numbers.push_back({i, Qt::red});
    const FooterPlan narrow = planFooter(screenTarget(QSize(400, 300)), texts, metrics);
    EXPECT_GT(narrow.rows, 1);
    EXPECT_EQ(narrow.extraHeight, (narrow.rows - 1) * metrics.metrics(GraphTextKind::Serial).height());
}

} // namespace
} // namespace qz::test
