#include "app/ui/options_dialog.h"
#include "link/comm_settings.h"
#include "link/line_registry.h"
#include "model/ini_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace qz {

namespace {

// Ports of a made-up machine: the platform lists some, some of them open.
PortProbe machine(QStringList listed, QStringList opening, QStringList named = {"sim"})
{
    PortProbe probe;
    probe.platformPorts = [listed] { return listed; };
    probe.opens = [opening, named](const QString& name) {
        return opening.contains(name) || named.contains(name);
    };
    probe.namedLines = named;
    return probe;
}

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString ini() const { return dir_.filePath("QUORZK.INI"); }
    void writeIni(const QByteArray& text)
    {
        QFile f(ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QString key(const char* section, const char* key) const
    {
        return IniFile::readValue(ini(), section, key, "?");
    }

    QTemporaryDir dir_;
};

QStringList texts(const CommSettings& s)
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
        writeIni(c.ini);
    CommSettings s(ini(), machine(c.listed, c.opening, c.named), false);
    s.settleAtStart();
    EXPECT_EQ(texts(s), c.shown);
    EXPECT_EQ(s.currentPort(), c.chosen);
    EXPECT_EQ(key("Communication", "Comport"), c.chosen);
    EXPECT_EQ(key("Modem", "ModemPresent"), "0");
}

INSTANTIATE_TEST_SUITE_P(
    Machines, StartTest,
    ::testing::Values(StartCase{"first start, one port",
                                QByteArray(),
                                {"/dev/ttyUSB3"},
                                {"/dev/ttyUSB3"},
                                {"sim"},
                                {"/dev/ttyUSB3", "Simulated logger"},
                                "/dev/ttyUSB3"},
                      // Another port, or the simulated logger, would answer in the saved port's place:
                      // it stays chosen, and a download says that it does not open.
                      StartCase{"saved port gone",
                                "[Communication]\r\nComport=/dev/ttyUSB9\r\n",
                                {"/dev/ttyUSB1", "/dev/ttyUSB4"},
                                {"/dev/ttyUSB1", "/dev/ttyUSB4"},
                                {"sim"},
                                {"/dev/ttyUSB1", "/dev/ttyUSB4", "/dev/ttyUSB9", "Simulated logger"},
                                "/dev/ttyUSB9"},
                      StartCase{"saved port gone and no other port",
                                "[Communication]\r\nComport=/dev/ttyUSB0\r\n",
                                {},
                                {},
                                {"sim"},
                                {"/dev/ttyUSB0", "Simulated logger"},
                                "/dev/ttyUSB0"},
                      StartCase{"saved port kept",
                                "[Communication]\r\nComport=/dev/ttyUSB4\r\n",
                                {"/dev/ttyUSB1", "/dev/ttyUSB4"},
                                {"/dev/ttyUSB1", "/dev/ttyUSB4"},
                                {"sim"},
                                {"/dev/ttyUSB1", "/dev/ttyUSB4", "Simulated logger"},
                                "/dev/ttyUSB4"},
                      StartCase{"listed port that does not open",
                                QByteArray(),
                                {"/dev/ttyS0", "/dev/ttyUSB0"},
                                {"/dev/ttyUSB0"},
                                {"sim"},
                                {"/dev/ttyUSB0", "Simulated logger"},
                                "/dev/ttyUSB0"},
                      StartCase{"saved link the platform does not list",
                                "[Communication]\r\nComport=/dev/serial/by-id/usb-logger\r\n",
                                {"/dev/ttyS0"},
                                {"/dev/ttyS0", "/dev/serial/by-id/usb-logger"},
                                {"sim"},
                                {"/dev/ttyS0", "/dev/serial/by-id/usb-logger", "Simulated logger"},
                                "/dev/serial/by-id/usb-logger"},
                      StartCase{"no port at all: the simulated logger",
                                QByteArray(),
                                {},
                                {},
                                {"sim"},
                                {"Simulated logger"},
                                "sim"},
                      StartCase{"simulated logger chosen before",
                                "[Communication]\r\nComport=sim\r\n",
                                {"/dev/ttyUSB0"},
                                {"/dev/ttyUSB0"},
                                {"sim"},
                                {"/dev/ttyUSB0", "Simulated logger"},
                                "sim"},
                      StartCase{"nothing to open", QByteArray(), {}, {}, {}, {}, ""}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.what);
        name.replace(QRegularExpression("[^A-Za-z0-9]"), "_");
        return name.toStdString();
    });

TEST_F(OptionsTest, KeepsTheOtherLinesOfTheSettingsFile)
{
    writeIni(
        "; field office\r\n[Device 101]\r\nPrimUnit1=kPa\r\n[Communication]\r\nComport=/dev/ttyUSB0\r\n");
    CommSettings s(ini(), machine({"/dev/ttyUSB0"}, {"/dev/ttyUSB0"}), false);
    s.settleAtStart();
    QFile f(ini());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("; field office\r\n[Device 101]\r\nPrimUnit1=kPa\r\n")) << text.toStdString();
    EXPECT_EQ(key("Communication", "Comport"), "/dev/ttyUSB0");
}

TEST_F(OptionsTest, WithoutAModemFileTheModemBoxIsHiddenAndTheLinkIsDirect)
{
    writeIni("[Modem]\r\nModemPresent=1\r\n");
    OptionsDialog dialog(CommSettings(ini(), machine({}, {}), false));
    EXPECT_EQ(key("Modem", "ModemPresent"), "0");
    dialog.showOptions();
    EXPECT_FALSE(dialog.modemCheckBox()->isVisible());
    EXPECT_FALSE(dialog.modemCheckBox()->isChecked());
    EXPECT_FALSE(dialog.settings().modemLink());
    EXPECT_EQ(dialog.windowTitle(), "Quorvant Options");
    EXPECT_EQ(dialog.modemCheckBox()->text(), "   Modem");
}

TEST_F(OptionsTest, WithAModemFileShowingSetsTheModemLinkAndOkFollowsTheBox)
{
    OptionsDialog dialog(CommSettings(ini(), machine({}, {}), true));
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
    EXPECT_EQ(key("Modem", "ModemPresent"), "1");
    EXPECT_TRUE(CommSettings::readModemPresent(ini()));
}

TEST_F(OptionsTest, TypingIntoThePortListChangesNothing)
{
    OptionsDialog dialog(
        CommSettings(ini(), machine({"/dev/ttyS0", "/dev/ttyUSB0"}, {"/dev/ttyS0", "/dev/ttyUSB0"}), false));
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
    OptionsDialog dialog(CommSettings(ini(), machine({"/dev/ttyUSB0"}, {"/dev/ttyUSB0"}), false));
    dialog.showOptions();
    dialog.portComboBox()->setCurrentIndex(1);
    emit dialog.portComboBox()->activated(1);
    EXPECT_EQ(dialog.currentPort(), "sim");
    dialog.discardOptions();
    EXPECT_EQ(dialog.currentPort(), "sim");
    EXPECT_EQ(key("Communication", "Comport"), "/dev/ttyUSB0");

    dialog.showOptions();
    EXPECT_EQ(dialog.currentPort(), "/dev/ttyUSB0") << "showing reads the settings again";
    emit dialog.portComboBox()->activated(1);
    dialog.acceptOptions();
    EXPECT_EQ(key("Communication", "Comport"), "sim");
}

TEST_F(OptionsTest, ClosingByTheFrameSaves)
{
    OptionsDialog dialog(CommSettings(ini(), machine({"/dev/ttyUSB0"}, {"/dev/ttyUSB0"}), false));
    dialog.showOptions();
    emit dialog.portComboBox()->activated(1);
    dialog.close();
    EXPECT_EQ(key("Communication", "Comport"), "sim");
}

// The Fleet window's fleet file and store: shown as kept, kept by OK only, and told only
// when they changed; the other lines of the settings file stay.
TEST_F(OptionsTest, TheFleetFileAndStoreAreKeptByOkAndToldWhenChanged)
{
    writeIni("[Communication]\r\nComport=/dev/ttyUSB0\r\n[Fleet]\r\nFleetFile=/etc/quorzk/fleet.ini\r\n");
    OptionsDialog dialog(CommSettings(ini(), machine({"/dev/ttyUSB0"}, {"/dev/ttyUSB0"}), false));
    dialog.setFleetSettingsFile(ini());
    std::vector<FleetSettings> told;
    QObject::connect(&dialog, &OptionsDialog::fleetChanged,
                     [&told](const FleetSettings& fleet) { told.push_back(fleet); });
    dialog.showOptions();
    EXPECT_EQ(dialog.fleetFileEdit()->text(), "/etc/quorzk/fleet.ini");
    EXPECT_EQ(dialog.fleetStoreEdit()->text(), "");

    dialog.fleetStoreEdit()->setText("postgresql://quorzk@db:5432/fleet");
    dialog.discardOptions();
    EXPECT_EQ(key("Fleet", "Store"), "?");
    dialog.showOptions();
    EXPECT_EQ(dialog.fleetStoreEdit()->text(), "") << "showing reads the settings again";

    dialog.acceptOptions();
    EXPECT_TRUE(told.empty()) << "nothing changed";
    dialog.showOptions();
    dialog.fleetFileEdit()->setText("  /srv/north.ini ");
    dialog.fleetStoreEdit()->setText("postgresql://quorzk@db:5432/fleet");
    dialog.acceptOptions();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].fleetFile, "/srv/north.ini");
    EXPECT_EQ(told[0].store, "postgresql://quorzk@db:5432/fleet");
    EXPECT_EQ(key("Fleet", "FleetFile"), "/srv/north.ini");
    EXPECT_EQ(key("Fleet", "Store"), "postgresql://quorzk@db:5432/fleet");
    EXPECT_EQ(key("Communication", "Comport"), "/dev/ttyUSB0");

    // A password is refused with the URL without it; the dialog stays, nothing is kept.
    QStringList refused;
    QObject::connect(&dialog, &OptionsDialog::storeRefused,
                     [&refused](const QString& message) { refused << message; });
    dialog.showOptions();
    dialog.fleetStoreEdit()->setText("postgresql://quorzk:hunter2@db:5432/fleet");
    dialog.acceptOptions();
    ASSERT_EQ(refused.size(), 1);
    EXPECT_EQ(refused[0],
              "The options keep no password: give the store as postgresql://quorzk@db:5432/fleet "
              "and its password in ~/.pgpass or PGPASSWORD");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(told.size(), 1u);
    EXPECT_EQ(key("Fleet", "Store"), "postgresql://quorzk@db:5432/fleet");
}

} // namespace qz

namespace qz {

// Whether downloads are verified: the user's choice once made, until then the modem's.
struct VerifyCase {
    const char* what;
    QByteArray ini;
    bool modemFile; // a modem description file exists
    bool verifiesAfterStart; // what a download does after the program starts
    bool shownChecked; // what the dialog shows
};

void PrintTo(const VerifyCase& c, std::ostream* os)
{
    *os << c.what;
}

class VerifyDownloadsTest : public OptionsTest, public ::testing::WithParamInterface<VerifyCase> {};

TEST_P(VerifyDownloadsTest, FollowsTheChoiceOrTheModem)
{
    const VerifyCase& c = GetParam();
    writeIni(c.ini);
    OptionsDialog dialog(CommSettings(ini(), machine({}, {}), c.modemFile));
    EXPECT_EQ(dialog.settings().verifyDownloads(), c.verifiesAfterStart);
    dialog.showOptions();
    EXPECT_EQ(dialog.verifyCheckBox()->isChecked(), c.shownChecked);
    EXPECT_EQ(dialog.verifyCheckBox()->text(), "Verify downloads (slower)");
    EXPECT_TRUE(dialog.verifyCheckBox()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Settings, VerifyDownloadsTest,
    ::testing::Values(
        VerifyCase{"no choice, direct cable", "[Communication]\r\nComport=sim\r\n", false, false, false},
        VerifyCase{"no choice, modem", "[Modem]\r\nModemPresent=1\r\n", true, true, true},
        VerifyCase{"chosen", "[Communication]\r\nVerifyDownloads=1\r\n", false, true, true},
        VerifyCase{"refused over a modem",
                   "[Communication]\r\nVerifyDownloads=0\r\n[Modem]\r\nModemPresent=1\r\n", true, false,
                   false},
        VerifyCase{"not a number", "[Communication]\r\nVerifyDownloads=yes\r\n", false, false, false}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.what);
        name.replace(QRegularExpression("[^A-Za-z0-9]"), "_");
        return name.toStdString();
    });

TEST_F(OptionsTest, TheVerifyChoiceIsSavedWithTheOtherLinesKept)
{
    writeIni(
        "; field office\r\n[Communication]\r\nComport=/dev/ttyUSB0\r\n[Device 101]\r\nPrimUnit1=kPa\r\n");
    OptionsDialog dialog(CommSettings(ini(), machine({"/dev/ttyUSB0"}, {"/dev/ttyUSB0"}), true));
    EXPECT_EQ(key("Communication", "VerifyDownloads"), "?") << "not written before the user chooses";
    dialog.showOptions();
    // Until the user chooses, the box follows the modem box.
    dialog.modemCheckBox()->click();
    EXPECT_TRUE(dialog.verifyCheckBox()->isChecked());
    dialog.modemCheckBox()->click();
    EXPECT_FALSE(dialog.verifyCheckBox()->isChecked());
    dialog.verifyCheckBox()->click();
    dialog.acceptOptions();
    EXPECT_EQ(key("Communication", "VerifyDownloads"), "1");
    EXPECT_TRUE(dialog.settings().verifyDownloads());
    QFile f(ini());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("; field office\r\n[Communication]\r\nComport=/dev/ttyUSB0\r\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("[Device 101]\r\nPrimUnit1=kPa\r\n")) << text.toStdString();

    // Chosen, it no longer follows the modem.
    dialog.showOptions();
    dialog.modemCheckBox()->click();
    dialog.modemCheckBox()->click();
    EXPECT_TRUE(dialog.verifyCheckBox()->isChecked());
}

} // namespace qz

namespace qz {
namespace {

class TypedPortTest : public OptionsTest {};

TEST_F(TypedPortTest, APortTypedByHandIsTriedAndRefusedWithTheSystemsReason)
{
    LineRegistry lines;
    // A pseudo-terminal, as the simulator offers: the platform does not list it.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const QString pty = QString::fromLocal8Bit(::ptsname(master));

    OptionsDialog dialog(CommSettings(ini(), PortProbe::forRegistry(lines), false));
    QStringList told;
    QObject::connect(&dialog, &OptionsDialog::portRefused, [&told](const QString& m) { told << m; });
    dialog.showOptions();
    const QString before = dialog.currentPort();

    const struct {
        QString typed;
        QString message;
    } refused[] = {
        {"/nonexistent/port", "Unable to open com port /nonexistent/port: No such file or directory"},
        {"/dev/null", "Unable to open com port /dev/null: Not a serial port"},
    };
    for (const auto& c : refused) {
        told.clear();
        dialog.portPathEdit()->setText(c.typed);
        dialog.acceptOptions();
        EXPECT_EQ(told, QStringList{c.message});
        EXPECT_TRUE(dialog.isVisible()) << "stays open to correct the name";
        EXPECT_EQ(dialog.currentPort(), before);
    }

    told.clear();
    dialog.portPathEdit()->setText(" " + pty + " ");
    dialog.acceptOptions();
    EXPECT_TRUE(told.isEmpty()) << told.join('|').toStdString();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.currentPort(), pty);
    EXPECT_EQ(key("Communication", "Comport"), pty);
    EXPECT_EQ(dialog.portComboBox()->currentData().toString(), pty);
    EXPECT_TRUE(dialog.portPathEdit()->text().isEmpty());
    ::close(master);
}

} // namespace
} // namespace qz
