// quorzk-cli's logger commands through quorzk-sim's telephone modem on a pseudo-terminal:
// the same recording as over the cable, each failed call told with no file left, usage
// errors, and Ctrl-C during the call still hanging up.
#include "cli_rig.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <ostream>

namespace qz::test {
namespace {

const QStringList kMemory = {"--model", "101", "--memory", "linear", "--blocks", "12"};
// A quick modem: the call is set up in a fifth of a second, and the line adds little.
const QStringList kModem = {"--modem", "--dial-ms", "200", "--modem-latency-ms", "2"};

TEST(CliModem, ADownloadThroughTheModemIsTheCableDownload)
{
    QTemporaryDir dir;
    const QString cableFile = dir.filePath("cable.qrv");
    const QString modemFile = dir.filePath("modem.qrv");
    {
        SimProcess cable(kMemory);
        ASSERT_FALSE(cable.path().isEmpty());
        const CliRun r = cli({"download", "--port", cable.path(), "--output", cableFile});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    SimProcess modem(kMemory + kModem);
    ASSERT_FALSE(modem.path().isEmpty());
    const CliRun r = cli({"download", "--port", modem.path(), "--dial", "5551234", "--output", modemFile});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "Connected\nsaved " + modemFile + "\n");
    const QByteArray cable = readFile(cableFile);
    EXPECT_GT(cable.size(), 1000);
    EXPECT_TRUE(readFile(modemFile) == cable);

    // Hung up at the end: the logger is out of reach until the next call.
    EXPECT_EQ(cli({"ping", "--port", modem.path()}).exitCode, 1);
    const CliRun again = cli({"ping", "--port", modem.path(), "--dial", "5551234", "--pulse", "--init",
                              QStringLiteral(QUORZK_SOURCE_DIR "/data/Default.mdm")});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(again.err, "Connected\n");
}

struct RefusedCall {
    const char* name;
    QStringList modem;
    QString message;
};

void PrintTo(const RefusedCall& c, std::ostream* os)
{
    *os << c.name;
}

class CliModemRefused : public ::testing::TestWithParam<RefusedCall> {};

TEST_P(CliModemRefused, TheDialersMessageANonZeroExitAndNoFile)
{
    const RefusedCall& c = GetParam();
    SimProcess modem(kMemory + kModem + c.modem);
    ASSERT_FALSE(modem.path().isEmpty());
    QTemporaryDir dir;
    const QString file = dir.filePath("logger.qrv");
    const CliRun r = cli({"download", "--port", modem.path(), "--dial", "5551234", "--output", file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, c.message + "\n");
    EXPECT_FALSE(QFile::exists(file));
}

const RefusedCall kRefused[] = {
    {"busy", {"--dial-result", "busy"}, "The line is busy"},
    {"no_carrier", {"--dial-result", "no-carrier"}, "No carrier"},
    {"no_dialtone", {"--dial-result", "no-dialtone"}, "No dial tone"},
    {"deaf_modem", {"--slow-echoes", "-1,delay-ms=2500"}, "Cannot dial phone number"},
};

INSTANTIATE_TEST_SUITE_P(Results, CliModemRefused, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CliModem, UsageErrorsAndAnInitialisationFileThatCannotBeRead)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("logger.qrv");
    for (const QStringList& args :
         {QStringList{"ping", "--port", "sim", "--pulse"}, QStringList{"ping", "--port", "sim", "--dial"},
          QStringList{"ping", "--port", "sim", "--dial", "  "},
          QStringList{"status", "--port", "sim", "--init", "Default.mdm"},
          QStringList{"dump", "--port", "sim", "--output", file, "--dial", "1", "--init", "modem.txt"},
          QStringList{"hexdump", file, "--dial", "1"}}) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("quorzk-cli " + args[0] + ": ")) << r.err.toStdString();
    }
    EXPECT_TRUE(cli({"help"}).out.contains("--dial NUMBER [--pulse] [--init FILE.mdm]"));
    const CliRun r = cli({"stop", "--port", "sim", "--dial", "1", "--init", dir.filePath("missing.mdm")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("Error during modem initialization\n" + dir.filePath("missing.mdm") + ": "))
        << r.err.toStdString();
}

TEST(CliModem, CtrlCWhileTheModemDialsStillHangsUp)
{
    SimProcess modem(kMemory + QStringList{"--modem", "--dial-ms", "30000"});
    ASSERT_FALSE(modem.path().isEmpty());
    QTemporaryDir dir;
    const QString trace = dir.filePath("wire.trace");
    QProcess p;
    p.start(kBin + "/quorzk-cli", {"status", "--port", modem.path(), "--dial", "5551234", "--trace", trace});
    ASSERT_TRUE(p.waitForStarted(10000));
    // Long enough for the dial command to be echoed; the call takes 30 s.
    p.waitForFinished(1500);
    ASSERT_EQ(p.state(), QProcess::Running);
    ::kill(pid_t(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "the command ends itself";
    EXPECT_EQ(p.exitCode(), 1);
    const QByteArray wire = readFile(trace);
    // The trace shows bytes in hexadecimal: "+++", then "ATH0" and its carriage return.
    EXPECT_TRUE(wire.contains("2B 2B 2B")) << wire.toStdString();
    EXPECT_TRUE(wire.contains("41 54 48 30 0D")) << wire.toStdString();
}

} // namespace
} // namespace qz::test
