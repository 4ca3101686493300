// What the panel and the hexdump command read: logger memory through the emulator, and
// bytes of a recording file at an image address.
#include "link/emulator_rig.h"
#include "support_tools/memory_reads.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

namespace qz::test {
namespace {

sim::MemoryPreset linear(int blocks)
{
    sim::MemoryPreset s;
    s.deviceCode = 485;
    s.content = sim::Content::Linear;
    s.blocks = blocks;
    return s;
}

// What the logger serves at address for length bytes, wrapping at 65536.
std::vector<std::uint8_t> served(EmulatorRig& r, std::uint32_t address, int length)
{
    std::vector<std::uint8_t> out;
    for (int i = 0; i < length; ++i)
        out.push_back(r.memory()[(address + std::uint32_t(i)) % mem::kLoggerMemorySize]);
    return out;
}

TEST(ReadLoggerBytes, ReadsWhatTheLoggerHoldsInStepsOf128)
{
    const struct {
        std::uint16_t address;
        int length;
        int frames;
    } cases[] = {
        {0x0180, 128, 1}, {0x0000, 16, 1}, {0x1234, 300, 3}, {0xFFC0, 192, 2}, {0x0040, 0, 0},
    };
    for (const auto& c : cases) {
        EmulatorRig r(linear(6));
        auto q = r.make();
        const LoggerBytes got = readLoggerBytes(*q, c.address, c.length);
        EXPECT_EQ(got.status, LinkStatus::Ok);
        EXPECT_EQ(got.bytes, served(r, c.address, c.length)) << std::hex << c.address;
        EXPECT_EQ(r.emulator.commands('D'), c.frames) << std::hex << c.address;
    }
}

TEST(ReadLoggerBytes, KeepsWhatCameBeforeAFailure)
{
    EmulatorRig r(linear(6));
    sim::Fault silent;
    silent.kind = sim::FaultKind::Silence;
    silent.frame = 1;
    silent.frames = 0;
    r.emulator.addFault(silent);
    auto q = r.make();
    const LoggerBytes got = readLoggerBytes(*q, 0x0180, 256);
    EXPECT_EQ(got.status, LinkStatus::NoEcho);
    EXPECT_EQ(got.bytes, served(r, 0x0180, 128));
    EXPECT_EQ(failedReadLine(got.status, 0x0200), "Device Not Responding: no bytes at 0200");
}

class ReadFileBytesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QByteArray bytes = "QUORVANT";
        for (int i = 0; i < 300; ++i)
            bytes.append(char(i & 0xFF));
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString path() const { return dir_.filePath("dump.qrv"); }

    QTemporaryDir dir_;
};

TEST_F(ReadFileBytesTest, AnImageAddressIsEightBytesIntoTheFile)
{
    const struct {
        std::uint32_t address;
        int length;
        int count;
        int first;
    } cases[] = {
        {0x0000, 128, 128, 0x00}, {0x0080, 128, 128, 0x80}, {0x0100, 128, 44, 0x00},
        {300, 128, 0, 0},         {0x10000, 128, 0, 0},     {0x0010, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const FileBytes got = readFileBytes(path(), c.address, c.length);
        EXPECT_TRUE(got.ok) << c.address;
        ASSERT_EQ(int(got.bytes.size()), c.count) << c.address;
        if (c.count > 0) {
            EXPECT_EQ(got.bytes.front(), c.first) << c.address;
            EXPECT_EQ(got.bytes.back(), std::uint8_t(c.first + c.count - 1)) << c.address;
        }
    }
    EXPECT_EQ(endOfFileLine(44), "End of file after 44 bytes");
}

TEST_F(ReadFileBytesTest, AFileThatDoesNotOpenSaysWhy)
{
    const FileBytes got = readFileBytes(dir_.filePath("gone.qrv"), 0, 128);
    EXPECT_FALSE(got.ok);
    EXPECT_TRUE(got.bytes.empty());
    EXPECT_FALSE(got.reason.isEmpty());
}

} // namespace
} // namespace qz::test
