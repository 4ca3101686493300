// quorzk-cli's logger commands end to end: quorzk-sim serves an emulated logger on a
// pseudo-terminal, and the tool talks to it through the real serial code.
#include "cli_rig.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "model/values.h"
#include "sim/emulator.h"
#include "sim/presets.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace qz::test;

const QByteArray kSignature = "QUORVANT";

qz::ByteView bytesOf(QByteArray& bytes)
{
    return {reinterpret_cast<std::uint8_t*>(bytes.data()), std::size_t(bytes.size())};
}

// What Save writes for a downloaded image: signature, header, used blocks.
QByteArray expectedFile(QByteArray memory, int blocksUsed, int firstBlock)
{
    const qz::ByteView view = bytesOf(memory);
    view.setU16(qz::mem::kBlocksUsed, std::uint16_t(blocksUsed));
    view.setU16(qz::mem::kFirstBlock, std::uint16_t(firstBlock));
    return kSignature + memory.left(qsizetype(qz::mem::blockAddress(blocksUsed)));
}

TEST(CliDownload, ThroughAPseudoTerminalTheFileHoldsTheLoggersMemory)
{
    struct Case {
        const char* name;
        QStringList simArgs;
        qz::sim::MemoryPreset preset;
        bool ring;
    };
    qz::sim::MemoryPreset linear;
    linear.deviceCode = 101;
    linear.content = qz::sim::Content::Linear;
    linear.blocks = 30;
    qz::sim::MemoryPreset wrapped;
    wrapped.deviceCode = 0x01;
    wrapped.content = qz::sim::Content::Wrapped;
    wrapped.blocks = 20;
    const Case cases[] = {
        {"linear", {"--model", "101", "--memory", "linear", "--blocks", "30"}, linear, false},
        {"wrapped", {"--model", "1", "--memory", "wrapped", "--blocks", "20"}, wrapped, true},
    };
    for (const auto& c : cases) {
        SimProcess sim(c.simArgs);
        ASSERT_FALSE(sim.path().isEmpty()) << c.name;
        QTemporaryDir dir;
        const QString file = dir.filePath("logger.qrv");
        const CliRun r = cli({"download", "--port", sim.path(), "--output", file});
        EXPECT_EQ(r.exitCode, 0) << c.name << " " << r.err.toStdString();

        const QByteArray memory = loggerMemory(c.preset);
        const int blocks = qz::memoryBlocks(std::uint16_t(c.preset.deviceCode));
        const int used = c.ring ? blocks : c.preset.blocks;
        QByteArray copy = memory;
        const int first = c.ring ? bytesOf(copy).u16(qz::mem::kFirstBlock) : 0;
        if (c.ring) {
            EXPECT_GT(first, 0) << c.name;
        }
        const QByteArray got = readFile(file);
        const QByteArray want = expectedFile(memory, used, first);
        EXPECT_EQ(got.size(), want.size()) << c.name;
        EXPECT_TRUE(got == want) << c.name;
    }
}

TEST(CliDownload, ALoggerThatDoesNotAnswerWritesNoFile)
{
    struct Case {
        QStringList extra;
        QStringList lines; // standard error, line by line
    } cases[] = {
        {{}, {"Please Connect The Quorvant"}},
        // A logger that does not answer is no logger of another kind.
        {{"--yes"}, {"Please Connect The Quorvant", "Device Not Responding"}},
    };
    for (const auto& c : cases) {
        SimProcess sim({"--silent"});
        ASSERT_FALSE(sim.path().isEmpty());
        QTemporaryDir dir;
        const QString file = dir.filePath("none.qrv");
        const CliRun r = cli(QStringList{"download", "--port", sim.path(), "--output", file} + c.extra);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.split('\n', Qt::SkipEmptyParts), c.lines);
        EXPECT_FALSE(QFile::exists(file));
    }
}

TEST(CliDownload, ByteErrorsGiveTheExactFileOrNone)
{
    qz::sim::MemoryPreset preset;
    preset.deviceCode = 101;
    preset.content = qz::sim::Content::Linear;
    preset.blocks = 25;
    for (const QStringList& extra : {QStringList(), QStringList{"--verify"}}) {
        SimProcess sim(
            {"--model", "101", "--memory", "linear", "--blocks", "25", "--byte-errors", "0.01,seed=7"});
        ASSERT_FALSE(sim.path().isEmpty());
        QTemporaryDir dir;
        const QString file = dir.filePath("noisy.qrv");
        const CliRun r = cli(QStringList{"download", "--port", sim.path(), "--output", file} + extra);
        if (r.exitCode == 0) {
            EXPECT_TRUE(readFile(file) == expectedFile(loggerMemory(preset), 25, 0))
                << extra.join(' ').toStdString();
        } else {
            EXPECT_FALSE(QFile::exists(file));
            EXPECT_FALSE(r.err.contains("This device is not a QuorvantZK")) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains("Device Not Responding")) << r.err.toStdString();
        }
    }
}

TEST(CliDownload, TwoBitErrorsThatCancelOutPassOnlyAPlainDownload)
{
    qz::sim::MemoryPreset preset;
    preset.deviceCode = 1;
    preset.content = qz::sim::Content::Linear;
    preset.blocks = 10;
    const QByteArray memory = loggerMemory(preset);
    // Two neighbouring bytes of block 7 that differ: the fault exchanges a bit between
    // them in the reply to the first read of the block.
    const qsizetype block7 = qsizetype(qz::mem::blockAddress(7));
    int at = int(qz::mem::kSamples);
    while (memory[block7 + at] == memory[block7 + at + 1])
        ++at;
    struct Case {
        const char* name;
        QStringList extra;
        int frame; // ping, 4 header reads (twice when verified), then the block reads
        bool exact;
    } cases[] = {
        {"plain", {}, 5 + 7, false},
        {"verified", {"--verify"}, 1 + 2 * 4 + 2 * 7, true},
    };
    for (const auto& c : cases) {
        SimProcess sim({"--model", "1", "--memory", "linear", "--blocks", "10", "--fault",
                        QString("paired-bit-errors,frame=%1,byte=%2").arg(c.frame).arg(at)});
        ASSERT_FALSE(sim.path().isEmpty());
        QTemporaryDir dir;
        const QString file = dir.filePath("paired.qrv");
        const CliRun r = cli(QStringList{"download", "--port", sim.path(), "--output", file} + c.extra);
        EXPECT_EQ(r.exitCode, 0) << c.name << " " << r.err.toStdString();
        EXPECT_EQ(readFile(file) == expectedFile(memory, 10, 0), c.exact) << c.name;
    }
}

TEST(CliDownload, ADamagedBlockIsSavedOnlyWithKeepPartial)
{
    qz::sim::MemoryPreset preset;
    preset.deviceCode = 1;
    preset.content = qz::sim::Content::Linear;
    preset.blocks = 10;
    preset.damagedBlock = 5;
    const QString damaged = "Block 5 of the logger's memory is damaged; the recording ends before it";
    struct Case {
        QStringList extra;
        int exitCode;
        QStringList lines;
    } cases[] = {
        {{},
         1,
         {damaged, "quorzk-cli download: nothing saved; --keep-partial keeps the blocks read before it"}},
        {{"--keep-partial"}, 0, {damaged, "saved FILE"}},
    };
    for (const auto& c : cases) {
        SimProcess sim({"--model", "1", "--memory", "linear", "--blocks", "10", "--damage", "5"});
        ASSERT_FALSE(sim.path().isEmpty());
        QTemporaryDir dir;
        const QString file = dir.filePath("damaged.qrv");
        const CliRun r = cli(QStringList{"download", "--port", sim.path(), "--output", file} + c.extra);
        EXPECT_EQ(r.exitCode, c.exitCode);
        QStringList lines = c.lines;
        lines.replaceInStrings("FILE", file);
        EXPECT_EQ(r.err.split('\n', Qt::SkipEmptyParts), lines);
        if (c.exitCode == 0) {
            EXPECT_TRUE(readFile(file) == expectedFile(loggerMemory(preset), 5, 0));
        } else {
            EXPECT_FALSE(QFile::exists(file));
        }
    }
}

TEST(CliDownload, BlocksWithImpossibleDatesAreToldOnceWithTheirCount)
{
    SimProcess sim({"--model", "101", "--memory", "linear", "--blocks", "60", "--impossible-dates", "3,38"});
    ASSERT_FALSE(sim.path().isEmpty());
    QTemporaryDir dir;
    const QString file = dir.filePath("dates.qrv");
    const CliRun r = cli({"download", "--port", sim.path(), "--output", file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.split('\n', Qt::SkipEmptyParts),
              (QStringList{"Measurements date error: 38 blocks, the first is block 3", "saved " + file}));
}

TEST(CliLoggerCommands, APortThatDoesNotOpenIsToldOnceAndNothingFollows)
{
    QTemporaryDir dir;
    const QString port = dir.filePath("ttyUSB7");
    const QStringList told{"Unable to open com port " + port + ": No such file or directory"};
    const QList<QStringList> commands = {
        {"download", "--output", dir.filePath("x.qrv"), "--yes"},
        {"configure", "--interval", "60", "--stop", "full", "--yes"},
        {"readings", "--count", "1"},
        {"stop", "--yes"},
        {"status"},
        {"ping"},
        {"dump", "--output", dir.filePath("y.qrv")},
        {"hexdump"},
    };
    for (const QStringList& c : commands) {
        QStringList args = c;
        args.insert(1, "--port");
        args.insert(2, port);
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, 1) << c.front().toStdString();
        EXPECT_EQ(r.err.split('\n', Qt::SkipEmptyParts), told) << c.front().toStdString();
        EXPECT_EQ(r.out, "") << c.front().toStdString();
    }
}

TEST(CliDownload, AnUnknownModelIsSavedAsItWasReadWithAFailingStatus)
{
    // Code 77 is no model of the catalogue; the logger's memory is not thrown away.
    qz::sim::MemoryPreset preset;
    preset.deviceCode = 77;
    preset.content = qz::sim::Content::Linear;
    preset.blocks = 6;
    SimProcess sim({"--model", "77", "--memory", "linear", "--blocks", "6"});
    ASSERT_FALSE(sim.path().isEmpty());
    QTemporaryDir dir;
    const QString file = dir.filePath("unknown.qrv");
    const CliRun r = cli({"download", "--port", sim.path(), "--output", file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("This device is not a QuorvantZK\n"
                                 "The logger catalogue does not know device code 77.\n"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("saved " + file)) << r.err.toStdString();
    EXPECT_TRUE(readFile(file) == expectedFile(loggerMemory(preset), 6, 0));
}

TEST(CliDownload, AFileThatCannotBeWrittenIsSaidOnceWithItsReason)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("no-such-folder/x.qrv");
    const CliRun r = cli({"download", "--port", "sim", "--output", file});
    EXPECT_EQ(r.exitCode, 1);
    const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << r.err.toStdString();
    EXPECT_TRUE(lines[0].startsWith("quorzk-cli download: cannot write " + file + ": "))
        << r.err.toStdString();
    EXPECT_EQ(lines[0].count(file), 1) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(file));
}

TEST(CliDownload, AnExistingOutputIsReplacedOnlyWithForce)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("kept.qrv");
    const QString trace = dir.filePath("trace.txt");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("precious");
    }
    const CliRun refused = cli({"download", "--port", "sim", "--output", file, "--trace", trace});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "quorzk-cli download: " + file + " exists; --force replaces it\n");
    EXPECT_EQ(readFile(file), QByteArray("precious"));
    EXPECT_FALSE(QFile::exists(trace)) << "the logger was not asked";

    const CliRun forced = cli({"download", "--port", "sim", "--output", file, "--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_TRUE(readFile(file).startsWith(kSignature));
}

TEST(CliDownload, BadArgumentsAndPortsThatDoNotOpen)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("x.qrv");
    EXPECT_EQ(cli({"download", "--output", file}).exitCode, 2);
    EXPECT_EQ(cli({"download", "--port", "sim"}).exitCode, 2);
    EXPECT_EQ(cli({"download", "--port", "sim", "--output", file, "--bogus"}).exitCode, 2);

    // One message that names the port and the reason, and nothing more.
    const struct {
        QString port;
        QString reason;
    } ports[] = {
        {dir.filePath("no-such-tty"), "No such file or directory"},
        {"/dev/null", "Not a serial port"},
        {dir.path(), "Is a directory"},
    };
    for (const auto& p : ports) {
        const CliRun r = cli({"download", "--port", p.port, "--output", file});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.split('\n', Qt::SkipEmptyParts),
                  QStringList{"Unable to open com port " + p.port + ": " + p.reason});
        EXPECT_FALSE(QFile::exists(file));
    }
}

TEST(CliDownload, TheSimulatedPortNeedsNoProcess)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("sim.qrv");
    const CliRun r = cli({"download", "--port", "sim", "--output", file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray got = readFile(file);
    ASSERT_GT(got.size(), kSignature.size() + qsizetype(qz::mem::kHeaderSize));
    EXPECT_TRUE(got.startsWith(kSignature));
    QByteArray image = got.mid(kSignature.size());
    const int used = bytesOf(image).u16(qz::mem::kBlocksUsed);
    EXPECT_EQ(image.size(), qsizetype(qz::mem::blockAddress(used)));
    // The simulated logger says so, also in the file.
    EXPECT_TRUE(cli({"info", file}).out.contains("Serial Number      : SIM1 (Simulated logger)\n"));
    EXPECT_TRUE(cli({"status", "--port", "sim"}).out.contains("Serial number: SIM1 (Simulated logger)\n"));
}

TEST(CliPingStatus, AnswerThroughAPseudoTerminal)
{
    SimProcess sim({"--model", "485", "--battery", "183", "--running"});
    ASSERT_FALSE(sim.path().isEmpty());
    const CliRun ping = cli({"ping", "--port", sim.path()});
    EXPECT_EQ(ping.exitCode, 0);
    const CliRun status = cli({"status", "--port", sim.path()});
    EXPECT_EQ(status.exitCode, 0) << status.err.toStdString();
    EXPECT_TRUE(status.out.contains("Device code:   485")) << status.out.toStdString();
    EXPECT_TRUE(status.out.contains("Run state:     recording")) << status.out.toStdString();
    EXPECT_TRUE(status.out.contains("Battery:       3.60 V")) << status.out.toStdString();

    SimProcess silent({"--silent"});
    EXPECT_EQ(cli({"ping", "--port", silent.path()}).exitCode, 1);
    EXPECT_EQ(cli({"status", "--port", silent.path()}).exitCode, 1);
}

// The lines of a trace file that begin with the given direction and bytes (after the time
// stamp, which varies).
int traceLines(const QByteArray& trace, const QByteArray& line)
{
    int n = 0;
    for (const QByteArray& l : trace.split('\n'))
        n += l.mid(10).startsWith(line);
    return n;
}

TEST(CliTrace, EveryLoggerCommandWritesTheFramesBothWays)
{
    SimProcess sim({"--model", "485", "--memory", "linear", "--blocks", "3"});
    ASSERT_FALSE(sim.path().isEmpty());
    QTemporaryDir dir;
    struct Case {
        const char* name;
        QStringList args; // before --trace FILE
        QByteArray sentFrame; // one frame the command sends
    } cases[] = {
        {"download",
         {"download", "--port", "sim", "--output", dir.filePath("x.qrv")},
         "> 24 23 24 44 80 01 80"}, // data block 0: 128 bytes at 384
        {"ping", {"ping", "--port", "sim"}, "> 24 23 24 45"},
        {"status", {"status", "--port", "sim"}, "> 24 23 24 47"},
        {"dump",
         {"dump", "--port", "sim", "--output", dir.filePath("d.qrv")},
         "> 24 23 24 44 00 7F 80"}, // the last of its 252 data blocks: 128 bytes at 7F00
        {"hexdump", {"hexdump", "--port", "sim", "--address", "1234"}, "> 24 23 24 44 34 12 80"},
        {"ping through a pseudo-terminal", {"ping", "--port", sim.path()}, "> 24 23 24 45"},
    };
    for (const auto& c : cases) {
        const QString trace = dir.filePath(QString("%1.txt").arg(c.name));
        const CliRun r = cli(c.args + QStringList{"--trace", trace});
        EXPECT_EQ(r.exitCode, 0) << c.name << " " << r.err.toStdString();
        const QByteArray text = readFile(trace);
        EXPECT_TRUE(text.startsWith("# quorzk wire trace")) << c.name;
        EXPECT_EQ(traceLines(text, "* open "), 1) << c.name;
        EXPECT_GE(traceLines(text, c.sentFrame), 1) << c.name << "\n" << text.toStdString();
        // The logger echoes the frame: the same bytes come back.
        EXPECT_GE(traceLines(text, "<" + c.sentFrame.mid(1)), 1) << c.name;
        EXPECT_EQ(traceLines(text, "* close"), 1) << c.name;
    }
}

TEST(CliTrace, APortThatDoesNotOpenIsInTheTraceWithItsReason)
{
    QTemporaryDir dir;
    const QString port = dir.filePath("no-such-tty");
    const CliRun r = cli({"ping", "--port", port, "--trace", dir.filePath("t.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.split('\n', Qt::SkipEmptyParts),
              QStringList{"Unable to open com port " + port + ": No such file or directory"});
    const QByteArray line = "* open " + port.toUtf8() + " failed: No such file or directory";
    EXPECT_EQ(traceLines(readFile(dir.filePath("t.txt")), line), 1);
}

TEST(CliTrace, AFailedExchangeShowsWhatBecameOfIt)
{
    SimProcess silent({"--silent"});
    ASSERT_FALSE(silent.path().isEmpty());
    QTemporaryDir dir;
    const QString trace = dir.filePath("t.txt");
    EXPECT_EQ(cli({"ping", "--port", silent.path(), "--trace", trace}).exitCode, 1);
    const QByteArray text = readFile(trace);
    // Five attempts of the clock read, each frame without its echo.
    EXPECT_EQ(traceLines(text, "> 24"), 5) << text.toStdString();
    EXPECT_EQ(traceLines(text, "* no echo"), 5) << text.toStdString();
}

TEST(CliTrace, ATraceThatCannotBeWrittenFailsTheCommand)
{
    QTemporaryDir dir;
    const QString trace = dir.filePath("no-such-folder/t.txt");
    const CliRun r = cli({"ping", "--port", "sim", "--trace", trace});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("logger answers on sim")) << "the command itself ran";
    EXPECT_EQ(r.err, "quorzk-cli ping: cannot write " + trace + ": No such file or directory\n")
        << "told once, with the system's reason";
    EXPECT_EQ(cli({"ping", "--port", "sim", "--trace"}).exitCode, 2) << "a file is required";
}

} // namespace
