// The dialer and the dialing dialog against the emulator's modem: the settings they show
// and keep, the choice of the initialisation file, each outcome's message, and Cancel
// hanging up. The dialing dialog's one-second timer is run without delay, each tick
// moving the virtual clock on by a second.
#include "link/dialer_settings.h"
#include "link/modem_rig.h"
#include "link/ui/dialer_dialog.h"
#include "link/ui/dialing_dialog.h"
#include "link/ui/hang_up.h"
#include "support/print_qt.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace qz::test {
namespace {

using sim::DialResult;

// The dialer over the modem rig, with its settings file in a folder of its own.
class DialerRig {
public:
    explicit DialerRig(const sim::ModemOptions& modem = {}) : rig_(modem) { EXPECT_TRUE(folder_.isValid()); }

    QString iniPath() const { return folder_.filePath("QUORZK.INI"); }
    void writeIni(const QByteArray& text)
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QByteArray readIni() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(folder_.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    // The dialer on the modem rig's port; chosen answers the file chooser.
    DialerDialog& dialer()
    {
        if (!dialer_) {
            dialer_ = std::make_unique<DialerDialog>(DialerServices{rig_.prompt, iniPath(),
                                                                    [this] { return rig_.make(); },
                                                                    [this](QWidget*) { return chosen_; }});
            QTimer* timer = dialer_->dialingDialog()->pollTimer();
            timer->setInterval(0);
            QObject::connect(timer, &QTimer::timeout, [this] {
                ++ticks_;
                if (onTick_)
                    onTick_(ticks_);
                rig_.clock.advance(1000);
            });
        }
        return *dialer_;
    }
    // Shows the dialer, lets check look at it, and closes it with Cancel.
    void showThenCancel(const std::function<void()>& check)
    {
        QTimer::singleShot(0, [&] {
            check();
            dialer().reject();
        });
        EXPECT_EQ(dialer().run(), DialOutcome::Cancelled);
    }
    // Shows the dialer and presses OK on it: the outcome of the call.
    DialOutcome showThenDial()
    {
        QTimer::singleShot(0, [&] { dialer().dial(); });
        return dialer().run();
    }

    ModemRig rig_;
    QString chosen_;
    int ticks_ = 0;
    std::function<void(int tick)> onTick_;

private:
    QTemporaryDir folder_;
    std::unique_ptr<DialerDialog> dialer_;
};

// The single-case tests: one dialer on a modem that connects.
class DialerTest : public ::testing::Test, protected DialerRig {};

// ---- Settings --------------------------------------------------------------------

struct ShownCase {
    const char* name;
    QByteArray ini;
    QString mode;
    QString number;
    QString initShown;
};

void PrintTo(const ShownCase& c, std::ostream* os)
{
    *os << c.name;
}

class DialerShows : public ::testing::TestWithParam<ShownCase> {};

TEST_P(DialerShows, TheSettingsWhenShown)
{
    const ShownCase& c = GetParam();
    DialerRig t;
    t.writeIni(c.ini);
    t.showThenCancel([&] {
        EXPECT_EQ(t.dialer().modeBox()->currentText(), c.mode);
        EXPECT_EQ(t.dialer().numberEdit()->text(), c.number);
        EXPECT_EQ(t.dialer().initEdit()->text(), c.initShown);
    });
    EXPECT_TRUE(t.rig_.tap.writes.empty()) << "Cancel dials nothing";
}

const ShownCase kShownCases[] = {
    {"nothing_stored", "", "Tone", "", ""},
    {"pulse", "[Modem]\r\nDialMethod=1\r\nLastNumberCalled=0123\r\n", "Pulse", "0123", ""},
    {"no_item_minus_one", "[Modem]\r\nDialMethod=-1\r\n", "Tone", "", ""},
    {"no_item_minus_two", "[Modem]\r\nDialMethod=-2\r\n", "Tone", "", ""},
    {"above_the_items", "[Modem]\r\nDialMethod=5\r\n", "Tone", "", ""},
    {"init_file_cut_at_its_first_dot", "[Modem]\r\nInitStringFile=/opt/modems/Office.v34.mdm\r\n", "Tone", "",
     "Office"},
    {"init_file_without_a_dot", "[Modem]\r\nInitStringFile=/opt/modems/office\r\n", "Tone", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Settings, DialerShows, ::testing::ValuesIn(kShownCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialerTest, OkKeepsTheSettingsAndDialsTheNumberTrimmed)
{
    writeIni("[Communication]\r\nComport=sim\r\n");
    QTimer::singleShot(0, [&] {
        dialer().numberEdit()->setText("  0123 ");
        dialer().modeBox()->setCurrentIndex(1);
        dialer().dial();
    });
    EXPECT_EQ(dialer().run(), DialOutcome::Connected);
    EXPECT_EQ(dialer().result(), QDialog::Accepted);
    EXPECT_EQ(rig_.tap.text(), "AT\rATDP0123\r");
    const QByteArray ini = readIni();
    EXPECT_TRUE(ini.contains("Comport=sim")) << "the rest of the file is kept";
    EXPECT_TRUE(ini.contains("DialMethod=1")) << ini.toStdString();
    // Blanks around a value do not survive the settings file's rules.
    EXPECT_EQ(DialerSettings::load(iniPath()).lastNumber, "0123");
}

TEST_F(DialerTest, TheInitialisationFileIsChosenByADoubleClickAndMustEndInMdm)
{
    const QString office = writeFile("Office.mdm", "; office modem\r\nat&f\r\n\r\nATE1\r\n");
    chosen_ = writeFile("notes.txt", "AT&F\r\n");
    QTimer::singleShot(0, [&] {
        dialer().chooseInitFile();
        EXPECT_EQ(rig_.prompt.texts(), QStringList{"Not a file with the mdm extension"});
        EXPECT_EQ(rig_.prompt.records().back().symbol, PromptSymbol::Error);
        EXPECT_TRUE(dialer().initFile().isEmpty()) << "nothing changes";
        chosen_.clear();
        dialer().chooseInitFile();
        EXPECT_TRUE(dialer().initFile().isEmpty()) << "no file chosen";
        chosen_ = office;
        QTest::mouseDClick(dialer().initEdit(), Qt::LeftButton);
        EXPECT_EQ(dialer().initFile(), office);
        EXPECT_EQ(dialer().initEdit()->text(), "Office");
        rig_.prompt.clear();
        dialer().numberEdit()->setText("5551234");
        dialer().dial();
    });
    EXPECT_EQ(dialer().run(), DialOutcome::Connected);
    EXPECT_EQ(rig_.tap.text(), "AT\rat&f\rATE1\rATDT5551234\r");
    EXPECT_TRUE(readIni().contains("InitStringFile=" + office.toUtf8()));
}

TEST_F(DialerTest, AnInitialisationFileThatCannotBeReadStopsTheCall)
{
    // There, but no file to read: a folder with the name.
    const QString folder = QFileInfo(writeFile("notes.txt", "")).absolutePath() + "/Office.mdm";
    ASSERT_TRUE(QDir().mkpath(folder));
    writeIni("[Modem]\r\nInitStringFile=" + folder.toUtf8() + "\r\nLastNumberCalled=0123\r\n");
    EXPECT_EQ(showThenDial(), DialOutcome::InitFailed);
    ASSERT_EQ(rig_.prompt.records().size(), 1u);
    EXPECT_TRUE(rig_.prompt.texts().front().startsWith("Error during modem initialization\n" + folder))
        << rig_.prompt.texts().front().toStdString();
    EXPECT_EQ(rig_.prompt.records().front().symbol, PromptSymbol::Error);
    EXPECT_TRUE(rig_.tap.writes.empty());
}

// A missing file is said once, in the dialing dialog; an empty one is nothing to say.
// Either way the modem is dialled without commands.
struct MissingInitCase {
    const char* name;
    bool missing;
    QString note;
};

void PrintTo(const MissingInitCase& c, std::ostream* os)
{
    *os << c.name;
}

class DialerInitFile : public ::testing::TestWithParam<MissingInitCase>, protected DialerRig {};

TEST_P(DialerInitFile, AMissingOrEmptyFileDialsWithoutCommands)
{
    const MissingInitCase& c = GetParam();
    const QString file = c.missing ? QStringLiteral("/nonexistent/Office.mdm") : writeFile("Empty.mdm", "");
    writeIni("[Modem]\r\nInitStringFile=" + file.toUtf8() + "\r\nLastNumberCalled=0123\r\n");
    QString shown;
    onTick_ = [&](int) { shown = dialer().dialingDialog()->note(); };
    EXPECT_EQ(showThenDial(), DialOutcome::Connected);
    EXPECT_EQ(shown, c.note);
    EXPECT_EQ(rig_.tap.text(), "AT\rATDT0123\r");
    EXPECT_EQ(rig_.prompt.texts(), QStringList{"Connected"});
}

INSTANTIATE_TEST_SUITE_P(
    Files, DialerInitFile,
    ::testing::Values(MissingInitCase{"missing", true,
                                      "Modem initialisation file not found: /nonexistent/Office.mdm\n"
                                      "Dialing without initialisation commands"},
                      MissingInitCase{"empty", false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Outcomes --------------------------------------------------------------------

struct OutcomeCase {
    const char* name;
    sim::ModemOptions modem;
    DialOutcome outcome;
    QString message;
    PromptSymbol symbol;
};

void PrintTo(const OutcomeCase& c, std::ostream* os)
{
    *os << c.name;
}

class DialerOutcome : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(DialerOutcome, EachIsToldOnceWithItsSymbol)
{
    const OutcomeCase& c = GetParam();
    DialerRig t(c.modem);
    t.writeIni("[Modem]\r\nLastNumberCalled=0123\r\n");
    EXPECT_EQ(t.showThenDial(), c.outcome);
    EXPECT_EQ(t.rig_.prompt.texts(), QStringList{c.message});
    if (!t.rig_.prompt.records().empty()) {
        EXPECT_EQ(t.rig_.prompt.records().front().symbol, c.symbol);
    }
}

const OutcomeCase kOutcomes[] = {
    {"connect",
     {.result = DialResult::Connect},
     DialOutcome::Connected,
     "Connected",
     PromptSymbol::Information},
    {"busy", {.result = DialResult::Busy}, DialOutcome::Busy, "The line is busy", PromptSymbol::Information},
    {"no_carrier",
     {.result = DialResult::NoCarrier},
     DialOutcome::NoCarrier,
     "No carrier",
     PromptSymbol::Information},
    {"no_dialtone",
     {.result = DialResult::NoDialTone},
     DialOutcome::NoDialTone,
     "No dial tone",
     PromptSymbol::Information},
    {"silence",
     {.result = DialResult::NoAnswer},
     DialOutcome::TimedOut,
     "Connection time out",
     PromptSymbol::Information},
    {"rings_then_connect_in_pieces",
     {.result = DialResult::Connect, .rings = 3, .pieceGapUs = 700000},
     DialOutcome::Connected,
     "Connected",
     PromptSymbol::Information},
    {"dial_not_echoed",
     {.echoDelayUs = 3000000, .slowEchoes = -1},
     DialOutcome::DialFailed,
     "Cannot dial phone number",
     PromptSymbol::Error},
};

INSTANTIATE_TEST_SUITE_P(Results, DialerOutcome, ::testing::ValuesIn(kOutcomes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DialerWait, SilenceTimesOutAfterSixtyTicks)
{
    DialerRig quiet({.result = DialResult::NoAnswer});
    quiet.writeIni("[Modem]\r\nLastNumberCalled=0123\r\n");
    EXPECT_EQ(quiet.showThenDial(), DialOutcome::TimedOut);
    EXPECT_EQ(quiet.ticks_, 60);
}

// ---- Cancel and hang-up -------------------------------------------------------------

TEST(DialerWait, CancelWhileDialingHangsUpAndClosesTheDialer)
{
    DialerRig slow({.result = DialResult::Connect, .dialUs = 30000000});
    slow.writeIni("[Modem]\r\nLastNumberCalled=0123\r\n");
    slow.onTick_ = [&](int tick) {
        if (tick == 5)
            slow.dialer().dialingDialog()->cancel();
    };
    EXPECT_EQ(slow.showThenDial(), DialOutcome::Cancelled);
    EXPECT_EQ(slow.dialer().result(), QDialog::Rejected);
    EXPECT_EQ(slow.rig_.tap.text(), "AT\rATDT0123\r+++ATH0\rAT\r");
    EXPECT_TRUE(slow.rig_.prompt.records().empty()) << "nothing is told";
    // The call never comes up.
    slow.rig_.clock.advance(60000);
    auto link = slow.rig_.make();
    EXPECT_NE(link->ping(), LinkStatus::Ok);
}

TEST_F(DialerTest, HangUpTellsAPortThatDoesNotOpen)
{
    auto port = std::make_unique<LoggerProtocol>(
        LinkSettings{"", true}, std::make_unique<sim::EmulatorLine>(rig_.emulator, rig_.clock), rig_.clock);
    EXPECT_EQ(hangUpModem(*port, rig_.prompt), LinkStatus::CannotOpen);
    ASSERT_EQ(rig_.prompt.texts().size(), 1);
    EXPECT_TRUE(rig_.prompt.texts().front().startsWith("Unable to open com port"));
}

} // namespace
} // namespace qz::test
