// quorzk-cli's logger commands through quorzk-sim's telephone modem on a pseudo-terminal:
// the same recording as over the cable, each failed call told with no file left, usage
// errors, and Ctrl-C during the call still hanging up.
#include "cli_rig.h"

#include <QDir>
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
    // There, but not a file that can be read.
    const QString folder = dir.filePath("folder.mdm");
    ASSERT_TRUE(QDir().mkpath(folder));
    const CliRun r = cli({"stop", "--port", "sim", "--dial", "1", "--init", folder});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("Error during modem initialization\n" + folder + ": "))
        << r.err.toStdString();
}

TEST(CliModem, AMissingInitialisationFileIsSaidOnceAndTheModemDialledWithoutIt)
{
    SimProcess modem(kMemory + kModem);
    ASSERT_FALSE(modem.path().isEmpty());
    QTemporaryDir dir;
    const QString missing = dir.filePath("moved.mdm");
    const CliRun r = cli({"ping", "--port", modem.path(), "--dial", "5551234", "--init", missing});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err,
              "Modem initialisation file not found: " + missing
                  + "\nDialing without initialisation commands\nConnected\n");
}

// Runs quorzk-cli with args until "Connected" is on its standard error (what came so far
// is in err); false when it never came.
bool startConnected(QProcess& p, const QStringList& args, QString& err)
{
    p.setReadChannel(QProcess::StandardError); // what waitForReadyRead waits for
    p.start(kBin + "/quorzk-cli", args);
    if (!p.waitForStarted(10000))
        return false;
    while (!err.contains("Connected\n")) {
        if (!p.waitForReadyRead(20000))
            return false;
        err += QString::fromUtf8(p.readAllStandardError());
    }
    return true;
}

TEST(CliModem, AModemLeftOnTheLineByAKilledCommandIsHungUpBeforeTheNextDial)
{
    SimProcess modem(kMemory + kModem);
    ASSERT_FALSE(modem.path().isEmpty());
    QTemporaryDir dir;
    QProcess killed;
    QString err;
    ASSERT_TRUE(startConnected(
        killed,
        {"download", "--port", modem.path(), "--dial", "5551234", "--output", dir.filePath("killed.qrv")},
        err));
    killed.kill(); // no hang-up: the modem stays on the call
    ASSERT_TRUE(killed.waitForFinished(10000));
    const CliRun r = cli({"status", "--port", modem.path(), "--dial", "5551234"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, "Connected\n");
    EXPECT_TRUE(r.out.contains("Run state:")) << r.out.toStdString();
}

TEST(CliModem, CtrlCDuringAModemDownloadHangsUpAndSaysNothingWasSaved)
{
    // A slower line, so that the download is still on when Ctrl-C comes.
    SimProcess modem(kMemory + QStringList{"--modem", "--dial-ms", "200", "--modem-latency-ms", "40"});
    ASSERT_FALSE(modem.path().isEmpty());
    QTemporaryDir dir;
    const QString file = dir.filePath("logger.qrv");
    const QString trace = dir.filePath("wire.trace");
    QProcess p;
    QString err;
    ASSERT_TRUE(startConnected(
        p, {"download", "--port", modem.path(), "--dial", "5551234", "--output", file, "--trace", trace},
        err));
    ::kill(pid_t(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(30000));
    err += QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(err.endsWith("quorzk-cli download: interrupted; the line was hung up; nothing saved\n"))
        << err.toStdString();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(readFile(trace).contains("41 54 48 30 0D")) << "ATH0 on the wire";
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
