// quorzk-cli dump and hexdump end to end, on quorzk-sim's pseudo-terminal and on the
// in-process simulated logger.
#include "cli_rig.h"
#include "model/memory_image.h"
#include "model/values.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

const QByteArray kSignature = "QUORVANT";

QStringList lines(const QString& text)
{
    return text.split('\n', Qt::SkipEmptyParts);
}

QString hexLine(const QByteArray& memory, int address)
{
    QString line = QString::asprintf(" %04X ", address);
    for (int i = 0; i < 16; ++i)
        line += QString::asprintf(" %02X", std::uint8_t(memory[(address + i) % 65536]));
    return line;
}

bool writeFile(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

TEST(CliDump, ThroughAPseudoTerminalTheFileIsTheSignatureAndEveryByteServed)
{
    struct Case {
        const char* name;
        QStringList simArgs;
        sim::MemoryPreset preset;
        int fileSize;
    };
    const Case cases[] = {
        {"60 blocks, linear",
         {"--model", "0", "--memory", "linear", "--blocks", "12"},
         {.deviceCode = 0, .content = sim::Content::Linear, .blocks = 12},
         8072},
        {"124 blocks, wrapped",
         {"--model", "1", "--memory", "wrapped", "--blocks", "20"},
         {.deviceCode = 1, .content = sim::Content::Wrapped, .blocks = 20},
         8 + 384 + 124 * 128},
    };
    for (const Case& c : cases) {
        SimProcess sim(c.simArgs);
        ASSERT_FALSE(sim.path().isEmpty()) << c.name;
        QTemporaryDir dir;
        const QString file = dir.filePath("debug.qrv");
        const CliRun r = cli({"dump", "--port", sim.path(), "--output", file});
        EXPECT_EQ(r.exitCode, 0) << c.name << " " << r.err.toStdString();
        const QByteArray got = readFile(file);
        ASSERT_EQ(got.size(), c.fileSize) << c.name;
        EXPECT_TRUE(got == kSignature + loggerMemory(c.preset).left(c.fileSize - 8)) << c.name;
        const int blocks = memoryBlocks(c.preset.deviceCode);
        EXPECT_EQ(lines(r.err).last(), QString("saved %1 (%2 blocks)").arg(file).arg(blocks)) << c.name;
    }
}

TEST(CliDump, TheDumpOfAWrappedMemoryOpensWithInfoAndExport)
{
    SimProcess sim({"--model", "1", "--memory", "wrapped", "--blocks", "20"});
    ASSERT_FALSE(sim.path().isEmpty());
    QTemporaryDir dir;
    const QString file = dir.filePath("debug.qrv");
    ASSERT_EQ(cli({"dump", "--port", sim.path(), "--output", file}).exitCode, 0);
    const CliRun info = cli({"info", file});
    EXPECT_EQ(info.exitCode, 0) << info.err.toStdString();
    EXPECT_TRUE(info.out.startsWith("Record Name        : ")) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains("Recording Interval : 10 Min")) << info.out.toStdString();
    const CliRun exported = cli({"export", file, "--kind", "text"});
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_GT(lines(exported.out).size(), 124 * 60) << "every record of the full ring";
}

TEST(CliDump, AnExistingOutputIsReplacedOnlyWithForce)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("debug.qrv");
    ASSERT_TRUE(writeFile(file, "old"));
    const CliRun refused = cli({"dump", "--port", "sim", "--output", file});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "quorzk-cli dump: " + file + " exists; --force replaces it\n");
    EXPECT_EQ(readFile(file), "old");

    const CliRun forced = cli({"dump", "--port", "sim", "--output", file, "--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_EQ(readFile(file).size(), 8 + 384 + 252 * 128) << "the simulated logger's 252 blocks (a ZK-101)";
}

TEST(CliDump, ALoggerThatDoesNotAnswerWritesNoFile)
{
    SimProcess sim({"--silent"});
    ASSERT_FALSE(sim.path().isEmpty());
    QTemporaryDir dir;
    const QString file = dir.filePath("debug.qrv");
    const CliRun r = cli({"dump", "--port", sim.path(), "--output", file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(lines(r.err), QStringList{"Device Not Responding"});
    EXPECT_FALSE(QFile::exists(file));
}

TEST(CliDump, AFileThatCannotBeWrittenSaysWhy)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("no-such-folder/debug.qrv");
    const CliRun r = cli({"dump", "--port", "sim", "--output", file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("quorzk-cli dump: cannot write " + file + ": ")) << r.err.toStdString();
}

TEST(CliServiceArguments, UsageErrorsExitWithTwo)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("x.qrv");
    const QStringList cases[] = {
        {"dump", "--output", out},
        {"dump", "--port", "sim"},
        {"dump", "--port", "sim", "--output", out, "--bogus"},
        {"dump", "--port", "sim", "--output", out, "--trace", out},
        {"hexdump"},
        {"hexdump", out, "--port", "sim"},
        {"hexdump", "--port", "sim", "--address", "zz"},
        {"hexdump", "--port", "sim", "--address", "10000"},
        {"hexdump", "--port", "sim", "--length", "-1"},
        {"hexdump", "--port", "sim", "--length", "65537"},
        {"hexdump", out, "--clock"},
        {"hexdump", out, "--trace", dir.filePath("t.txt")},
        {"hexdump", out, "--bogus"},
    };
    for (const QStringList& args : cases) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("quorzk-cli " + args[0] + ": ")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out));
}

class CliHexdumpFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        QByteArray image;
        for (int i = 0; i < 300; ++i)
            image.append(char(i & 0xFF));
        ASSERT_TRUE(writeFile(file(), kSignature + image));
    }
    QString file() const { return dir_.filePath("memory.qrv"); }

    QTemporaryDir dir_;
};

TEST_F(CliHexdumpFile, PrintsThePanelsLinesAtImageAddresses)
{
    const struct {
        QStringList options;
        QStringList out;
        QString err;
    } cases[] = {
        {{"--address", "0080", "--length", "20"},
         {" 0080  80 81 82 83 84 85 86 87 88 89 8A 8B 8C 8D 8E 8F", " 0090  90 91 92 93"},
         ""},
        {{"--address", "120"}, // 300 bytes: 12 left at 120
         {" 0120  20 21 22 23 24 25 26 27 28 29 2A 2B"},
         "End of file after 12 bytes\n"},
        {{"--address", "10000"}, {}, "End of file after 0 bytes\n"},
        {{"--length", "0"}, {}, ""},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(QStringList{"hexdump", file()} + c.options);
        EXPECT_EQ(r.exitCode, 0) << c.options.join(' ').toStdString();
        EXPECT_EQ(lines(r.out), c.out) << c.options.join(' ').toStdString();
        EXPECT_EQ(r.err, c.err) << c.options.join(' ').toStdString();
    }
    EXPECT_EQ(lines(cli({"hexdump", file()}).out).size(), 8) << "128 bytes by default";
}

TEST_F(CliHexdumpFile, AFileThatDoesNotOpenSaysWhy)
{
    const QString gone = dir_.filePath("gone.qrv");
    const CliRun r = cli({"hexdump", gone});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("quorzk-cli hexdump: cannot read " + gone + ": ")) << r.err.toStdString();
}

TEST(CliHexdumpLogger, LinesWrapAtTheTopOfMemoryAndTheClockLineFollows)
{
    const sim::MemoryPreset preset{.deviceCode = 0, .content = sim::Content::Linear, .blocks = 12};
    SimProcess sim({"--model", "0", "--memory", "linear", "--blocks", "12"});
    ASSERT_FALSE(sim.path().isEmpty());
    const QByteArray memory = loggerMemory(preset);

    const CliRun r = cli({"hexdump", "--port", sim.path(), "--address", "ffe0", "--length", "64", "--clock"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList out = lines(r.out);
    ASSERT_EQ(out.size(), 5);
    EXPECT_EQ(out[0], hexLine(memory, 0xFFE0));
    EXPECT_EQ(out[1], hexLine(memory, 0xFFF0));
    EXPECT_EQ(out[2], hexLine(memory, 0x0000));
    EXPECT_EQ(out[3], hexLine(memory, 0x0010));
    EXPECT_TRUE(out[4].startsWith("RTC->  04 ")) << out[4].toStdString();
    EXPECT_EQ(out[4].size(), 6 + 16 * 3);

    const CliRun clockOnly = cli({"hexdump", "--port", sim.path(), "--length", "0", "--clock"});
    EXPECT_EQ(clockOnly.exitCode, 0);
    ASSERT_EQ(lines(clockOnly.out).size(), 1);
    EXPECT_TRUE(clockOnly.out.startsWith("RTC-> "));
}

TEST(CliHexdumpLogger, ALoggerThatDoesNotAnswerIsSaidOnce)
{
    SimProcess sim({"--silent"});
    ASSERT_FALSE(sim.path().isEmpty());
    const CliRun r = cli({"hexdump", "--port", sim.path(), "--address", "0180", "--clock"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(lines(r.err), QStringList{"Device Not Responding: no bytes at 0180"});
}

} // namespace
} // namespace qz::test
