#include "app/ui/options_dialog.h"
#include "link/comm_settings.h"
#include "model/ini_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

namespace qz {

namespace {

// Ports of a made-up machine: the platform lists some, some of them open.
PortProbe Machine(QStringList listed, QStringList opening, QStringList named = {"sim"})
{
    PortProbe probe;
    probe.platformPorts = [listed] { return listed; };
    probe.opens = [opening, named](const QString& name) { return opening.contains(name) || named.contains(name); };
    probe.namedLines = named;
    return probe;
}

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString Ini() const { return dir_.filePath("QUORZK.INI"); }
    void WriteIni(const QByteArray& text)
    {
        QFile f(Ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QString Key(const char* section, const char* key) const { return IniFile::readValue(Ini(), section, key, "?"); }

    QTemporaryDir dir_;
};

QStringList Texts(const CommSettings& s)
{
    QStringList out;
    for (const PortChoice& c : s.ports())
        out << c.text;
    return out;
}

} // namespace

struct StartCase {
    const char* what;
    QByteArray ini;
    QStringList listed;
    QStringList opening;
    QStringList named;
    QStringList shown;
    QString chosen;
};

void PrintTo(const StartCase& c, std::ostream* os)
{
    *os << c.what;
}

class StartTest : public OptionsTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartTest, SettlesAPortThatOpensAndWritesIt)
{
    const StartCase& c = GetParam();
    if (!c.ini.isNull())
        WriteIni(c.ini);
    CommSettings s(Ini(), Machine(c.listed, c.opening, c.named), false);
    s.settleAtStart();
    EXPECT_EQ(Texts(s), c.shown);
    EXPECT_EQ(s.currentPort(), c.chosen);
    EXPECT_EQ(Key("Communication", "Comport"), c.chosen);
    EXPECT_EQ(Key("Modem", "ModemPresent"), "0");
}

INSTANTIATE_TEST_SUITE_P(
    Machines, StartTest,
    ::testing::Values(
        StartCase{"first start, one port", QByteArray(), {"/dev/ttyUSB3"}, {"/dev/ttyUSB3"}, {"sim"},
                  {"/dev/ttyUSB3", "Simulated logger"}, "/dev/ttyUSB3"},
        StartCase{"saved port gone", "[Communication]\r\nComport=/dev/ttyUSB9\r\n",
                  {"/dev/ttyUSB1", "/dev/ttyUSB4"}, {"/dev/ttyUSB1", "/dev/ttyUSB4"}, {"sim"},
                  {"/dev/ttyUSB1", "/dev/ttyUSB4", "Simulated logger"}, "/dev/ttyUSB1"},
        StartCase{"saved port kept", "[Communication]\r\nComport=/dev/ttyUSB4\r\n",
                  {"/dev/ttyUSB1", "/dev/ttyUSB4"}, {"/dev/ttyUSB1", "/dev/ttyUSB4"}, {"sim"},
                  {"/dev/ttyUSB1", "/dev/ttyUSB4", "Simulated logger"}, "/dev/ttyUSB4"},
        StartCase{"listed port that does not open", QByteArray(), {"/dev/ttyS0", "/dev/ttyUSB0"},
                  {"/dev/ttyUSB0"}, {"sim"}, {"/dev/ttyUSB0", "Simulated logger"}, "/dev/ttyUSB0"},
        StartCase{"saved link the platform does not list",
                  "[Communication]\r\nComport=/dev/serial/by-id/usb-logger\r\n", {"/dev/ttyS0"},
                  {"/dev/ttyS0", "/dev/serial/by-id/usb-logger"}, {"sim"},
                  {"/dev/ttyS0", "/dev/serial/by-id/usb-logger", "Simulated logger"},
                  "/dev/serial/by-id/usb-logger"},
        StartCase{"no port at all: the simulated logger", QByteArray(), {}, {}, {"sim"},
                  {"Simulated logger"}, "sim"},
        StartCase{"simulated logger chosen before", "[Communication]\r\nComport=sim\r\n", {"/dev/ttyUSB0"},
                  {"/dev/ttyUSB0"}, {"sim"}, {"/dev/ttyUSB0", "Simulated logger"}, "sim"},
        StartCase{"nothing to open", QByteArray(), {}, {}, {}, {}, ""}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.what);
        name.replace(QRegularExpression("[^A-Za-z0-9]"), "_");
        return name.toStdString();
    });

TEST_F(OptionsTest, KeepsTheOtherLinesOfTheSettingsFile)
{
    WriteIni("; field office\r\n[Device 101]\r\nPrimUnit1=kPa\r\n[Communication]\r\nComport=/dev/ttyUSB0\r\n");
    CommSettings s(Ini(), Machine({"/dev/ttyUSB0"}, {"/dev/ttyUSB0"}), false);
    s.settleAtStart();
    QFile f(Ini());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("; field office\r\n[Device 101]\r\nPrimUnit1=kPa\r\n")) << text.toStdString();
    EXPECT_EQ(Key("Communication", "Comport"), "/dev/ttyUSB0");
}

TEST_F(OptionsTest, WithoutAModemFileTheModemBoxIsHiddenAndTheLinkIsDirect)
{
    WriteIni("[Modem]\r\nModemPresent=1\r\n");
    OptionsDialog dialog(CommSettings(Ini(), Machine({}, {}), false));
    EXPECT_EQ(Key("Modem", "ModemPresent"), "0");
    dialog.showOptions();
    EXPECT_FALSE(dialog.modemCheckBox()->isVisible());
    EXPECT_FALSE(dialog.modemCheckBox()->isChecked());
    EXPECT_FALSE(dialog.settings().modemLink());
    EXPECT_EQ(dialog.windowTitle(), "Quorvant Options");
    EXPECT_EQ(dialog.modemCheckBox()->text(), "   Modem");
}

TEST_F(OptionsTest, WithAModemFileShowingSetsTheModemLinkAndOkFollowsTheBox)
{
    OptionsDialog dialog(CommSettings(Ini(), Machine({}, {}), true));
    dialog.showOptions();
    EXPECT_TRUE(dialog.modemCheckBox()->isVisible());
    EXPECT_FALSE(dialog.modemCheckBox()->isChecked());
    EXPECT_TRUE(dialog.settings().modemLink());
    EXPECT_TRUE(dialog.link().modemLink);
    dialog.acceptOptions();
    EXPECT_FALSE(dialog.settings().modemLink());
    EXPECT_FALSE(dialog.isVisible());

    dialog.showOptions();
    dialog.modemCheckBox()->click();
    dialog.acceptOptions();
    EXPECT_TRUE(dialog.settings().modemLink());
    EXPECT_EQ(Key("Modem", "ModemPresent"), "1");
    EXPECT_TRUE(CommSettings::readModemPresent(Ini()));
}

TEST_F(OptionsTest, TypingIntoThePortListChangesNothing)
{
    OptionsDialog dialog(CommSettings(Ini(), Machine({"/dev/ttyS0", "/dev/ttyUSB0"}, {"/dev/ttyS0", "/dev/ttyUSB0"}), false));
    dialog.showOptions();
    QComboBox* list = dialog.portComboBox();
    ASSERT_EQ(list->count(), 3);
    const int before = list->currentIndex();
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_End, Qt::Key_S, Qt::Key_Up, Qt::Key_PageDown})
        QTest::keyClick(list, key);
    QTest::keyClicks(list, "Sim");
    EXPECT_EQ(list->currentIndex(), before);
    EXPECT_EQ(dialog.currentPort(), "/dev/ttyS0");
}

TEST_F(OptionsTest, AChoiceCountsAtOnceAndOnlyOkWritesIt)
{
    OptionsDialog dialog(CommSettings(Ini(), Machine({"/dev/ttyUSB0"}, {"/dev/ttyUSB0"}), false));
    dialog.showOptions();
    dialog.portComboBox()->setCurrentIndex(1);
    emit dialog.portComboBox()->activated(1);
    EXPECT_EQ(dialog.currentPort(), "sim");
    dialog.discardOptions();
    EXPECT_EQ(dialog.currentPort(), "sim");
    EXPECT_EQ(Key("Communication", "Comport"), "/dev/ttyUSB0");

    dialog.showOptions();
    EXPECT_EQ(dialog.currentPort(), "/dev/ttyUSB0") << "showing reads the settings again";
    emit dialog.portComboBox()->activated(1);
    dialog.acceptOptions();
    EXPECT_EQ(Key("Communication", "Comport"), "sim");
}

TEST_F(OptionsTest, ClosingByTheFrameSaves)
{
    OptionsDialog dialog(CommSettings(Ini(), Machine({"/dev/ttyUSB0"}, {"/dev/ttyUSB0"}), false));
    dialog.showOptions();
    emit dialog.portComboBox()->activated(1);
    dialog.close();
    EXPECT_EQ(Key("Communication", "Comport"), "sim");
}

} // namespace qz
