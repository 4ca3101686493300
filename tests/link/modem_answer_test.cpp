// The modem's initialisation files and its answers while a call is set up: which lines of
// a file are commands, and which pieces of modem output decide a call.
#include "link/dial_outcome.h"
#include "link/modem_answer.h"
#include "link/modem_init.h"
#include "support/print_link.h"
#include "support/print_qt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace qz::test {
namespace {

struct InitCase {
    const char* name;
    QByteArray content;
    QList<QByteArray> commands;
};

void PrintTo(const InitCase& c, std::ostream* os)
{
    *os << c.name;
}

class ModemInitLines : public ::testing::TestWithParam<InitCase> {};

TEST_P(ModemInitLines, OnlyLinesBeginningWithATAreCommands)
{
    EXPECT_EQ(modemInitCommands(GetParam().content), GetParam().commands);
}

const InitCase kInitCases[] = {
    {"comment_command_blank", "; reset the modem\r\nat&f\r\n\r\n", {"at&f"}},
    {"either_case", "At&F\nAt\naT\n", {"At&F", "At", "aT"}},
    {"blanks_kept_after_not_before", "AT&F  \r\n  ATZ\r\n", {"AT&F  "}},
    {"cr_only_line_ends", "AT&F\rATE1V1\r", {"AT&F", "ATE1V1"}},
    {"no_line_end_at_the_end", "ATZ", {"ATZ"}},
    {"too_short_or_not_at", "A\nT\nXAT\nTA\n", {}},
    {"shipped_file_style",
     "; comment\r\nAT&F\r\nATE1V1Q0\r\n;\r\nAT%C0\\N0\r\nATS7=60\r\n",
     {"AT&F", "ATE1V1Q0", "AT%C0\\N0", "ATS7=60"}},
    {"empty", "", {}},
};

INSTANTIATE_TEST_SUITE_P(Files, ModemInitLines, ::testing::ValuesIn(kInitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ModemInitFile, AFileThatCannotBeReadIsRefusedWithItsReason)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("Default.mdm");
    QFile f(good);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("; set-up\r\nAT&F\r\n");
    f.close();
    const QString huge = dir.filePath("huge.mdm");
    QFile h(huge);
    ASSERT_TRUE(h.open(QIODevice::WriteOnly));
    h.write(QByteArray(70000, 'A'));
    h.close();

    const ModemInit read = readModemInit(good);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.commands, QList<QByteArray>{"AT&F"});

    const ModemInit none = readModemInit(QString());
    EXPECT_TRUE(none.ok) << "no file chosen: nothing to send";
    EXPECT_TRUE(none.commands.isEmpty());

    // A file moved or deleted since it was chosen, or an empty one: no commands, and the
    // modem is dialled; only the missing one is said.
    const QString empty = dir.filePath("empty.mdm");
    {
        QFile f(empty);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    for (const QString& path : {dir.filePath("gone.mdm"), empty}) {
        const ModemInit init = readModemInit(path);
        EXPECT_TRUE(init.ok) << path.toStdString();
        EXPECT_TRUE(init.commands.isEmpty()) << path.toStdString();
        EXPECT_EQ(init.notFound, path != empty) << path.toStdString();
    }
    EXPECT_EQ(modemInitNotFoundMessage(dir.filePath("gone.mdm")),
              "Modem initialisation file not found: " + dir.filePath("gone.mdm")
                  + "\nDialing without initialisation commands");

    struct Case {
        const char* name;
        QString path;
        QString reason;
    };
    const Case refused[] = {
        {"folder", dir.path(), "Is a directory"},
        {"huge", huge, "File too large for a modem initialisation file"},
    };
    for (const Case& c : refused) {
        const ModemInit init = readModemInit(c.path);
        EXPECT_FALSE(init.ok) << c.name;
        EXPECT_EQ(init.reason, c.reason) << c.name;
        EXPECT_EQ(modemInitMessage(c.path, init),
                  "Error during modem initialization\n" + c.path + ": " + c.reason)
            << c.name;
    }
    EXPECT_EQ(modemInitMessage(good, read), "Error during modem initialization");
}

TEST(ModemInitFile, ShownNameAndExtension)
{
    struct Case {
        QString path;
        QString shown;
        bool mdm;
    };
    const Case cases[] = {
        {"/opt/modems/Default.mdm", "Default", true},
        {"/opt/modems/office.v2.MDM", "office", true},
        {"/opt/modems/noext", "", false},
        {"/opt/modems/notes.txt", "notes", false},
        {"/opt/mdm", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(modemInitShownName(c.path), c.shown) << c.path.toStdString();
        EXPECT_EQ(isModemInitFile(c.path), c.mdm) << c.path.toStdString();
    }
}

// Modem output in the pieces a driver hands over, and the outcome after each piece.
struct AnswerCase {
    const char* name;
    std::vector<QByteArray> pieces;
    std::vector<DialOutcome> after;
};

void PrintTo(const AnswerCase& c, std::ostream* os)
{
    *os << c.name;
}

class ModemAnswers : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(ModemAnswers, AWordCountsOnceItsLineHasEnded)
{
    ModemAnswerReader reader;
    const AnswerCase& c = GetParam();
    ASSERT_EQ(c.pieces.size(), c.after.size());
    for (std::size_t i = 0; i < c.pieces.size(); ++i)
        EXPECT_EQ(reader.feed(c.pieces[i]), c.after[i]) << "after piece " << i;
}

constexpr DialOutcome W = DialOutcome::Waiting;

const AnswerCase kAnswerCases[] = {
    {"verbose_at_once", {"\r\nCONNECT 19200\r\n"}, {DialOutcome::Connected}},
    {"verbose_in_three_pieces", {"\r\n", "CONNECT 19200", "\r\n"}, {W, W, DialOutcome::Connected}},
    {"word_cut_in_two", {"\r\nCONN", "ECT\r"}, {W, DialOutcome::Connected}},
    {"line_feed_alone_ends_a_line", {"BUSY", "\n"}, {W, DialOutcome::Busy}},
    {"no_line_end_no_decision", {"\r\nBUSY"}, {W}},
    {"no_carrier", {"\r\nNO CARRIER\r\n"}, {DialOutcome::NoCarrier}},
    {"no_dialtone", {"\r\nNO DIALTONE\r\n"}, {DialOutcome::NoDialTone}},
    {"no_dial_tone", {"NO DIAL TONE\r"}, {DialOutcome::NoDialTone}},
    {"ring_then_connect",
     {"\r\nRING\r\n", "\r\nRING\r\n", "\r\nCONNECT\r\n"},
     {W, W, DialOutcome::Connected}},
    {"ring_and_connect_in_one_piece", {"\r\nRING\r\n\r\nCONNECT 2400\r\n"}, {DialOutcome::Connected}},
    {"reports_before_connect",
     {"CARRIER 28800\r\nPROTOCOL: LAPM\r\n", "CONNECT 115200\r\n"},
     {W, DialOutcome::Connected}},
    {"first_finished_line_decides", {"\r\nBUSY\r\n\r\nCONNECT\r\n"}, {DialOutcome::Busy}},
    {"echo_and_ok_pass", {"ATDT5551234\r", "\r\nOK\r\n"}, {W, W}},
    {"zero_bytes_dropped", {QByteArray("CON\0NECT\r", 9)}, {DialOutcome::Connected}},
};

INSTANTIATE_TEST_SUITE_P(Pieces, ModemAnswers, ::testing::ValuesIn(kAnswerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ModemAnswers, ALineTooLongForAResultIsDroppedNotKept)
{
    ModemAnswerReader reader;
    EXPECT_EQ(reader.feed(QByteArray(300, 'x') + "CONNECT"), W);
    EXPECT_EQ(reader.feed("\r"), DialOutcome::Connected) << "the word after the overflow still counts";
    EXPECT_EQ(reader.feed(QByteArray(255, 'x') + "BUSY\r"), W) << "cut inside the word";
}

TEST(DialOutcomeTexts, EachOutcomeHasItsMessage)
{
    const std::pair<DialOutcome, QString> cases[] = {
        {DialOutcome::Connected, "Connected"},
        {DialOutcome::TimedOut, "Connection time out"},
        {DialOutcome::Busy, "The line is busy"},
        {DialOutcome::NoCarrier, "No carrier"},
        {DialOutcome::NoDialTone, "No dial tone"},
        {DialOutcome::InitFailed, "Error during modem initialization"},
        {DialOutcome::DialFailed, "Cannot dial phone number"},
        {DialOutcome::Waiting, ""},
        {DialOutcome::CannotOpen, ""},
        {DialOutcome::Cancelled, ""},
    };
    for (const auto& [outcome, text] : cases)
        EXPECT_EQ(dialOutcomeText(outcome), text) << dialOutcomeName(outcome);
}

} // namespace
} // namespace qz::test
