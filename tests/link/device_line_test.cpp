// The device line on a pseudo-terminal: the real serial code path without hardware.
#include "link/device_line.h"
#include "link/serial_port.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

namespace qz {
namespace {

// A pseudo-terminal pair; the test plays the logger on the master side.
struct Pty {
    Pty()
    {
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) == 0)
            path = QString::fromLocal8Bit(name);
    }
    ~Pty()
    {
        if (master >= 0)
            ::close(master);
        if (slave >= 0)
            ::close(slave);
    }
    std::string readMaster()
    {
        char buf[64];
        const ssize_t n = ::read(master, buf, sizeof buf);
        return n > 0 ? std::string(buf, std::size_t(n)) : std::string();
    }
    int master = -1;
    int slave = -1;
    QString path;
};

TEST(DeviceLine, APseudoTerminalOpensWithoutModemLines)
{
    Pty pty;
    ASSERT_FALSE(pty.path.isEmpty());
    test::VirtualClock clock;
    SerialPort port(std::make_unique<DeviceLine>(), clock);
    const OpenResult result = port.open(pty.path);
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.osError, 0);
    EXPECT_TRUE(port.isOpen());
    EXPECT_FALSE(port.raiseDtr()); // no modem lines on a pseudo-terminal
    EXPECT_TRUE(port.isOpen());
}

TEST(DeviceLine, BytesTravelBothWaysAndPurgeDropsWhatWaits)
{
    Pty pty;
    ASSERT_FALSE(pty.path.isEmpty());
    DeviceLine line;
    ASSERT_TRUE(line.open(pty.path));
    const std::uint8_t out[] = {'$', '#', '$', 'E'};
    EXPECT_EQ(line.write(out, 4), 4);
    EXPECT_EQ(pty.readMaster(), "$#$E");

    // Raw mode: bytes that a terminal would treat specially come through unchanged.
    const char in[] = {'\r', '\n', 0x03, 0x11, 0x13, char(0xFF)};
    ASSERT_EQ(::write(pty.master, in, sizeof in), ssize_t(sizeof in));
    EXPECT_EQ(line.waitForBytes(6, 5000), 6);
    std::uint8_t got[8] = {};
    EXPECT_EQ(line.read(got, 8), 6);
    EXPECT_EQ(std::memcmp(got, in, 6), 0);

    ASSERT_EQ(::write(pty.master, "abc", 3), 3);
    EXPECT_EQ(line.waitForBytes(3, 5000), 3);
    line.purge();
    EXPECT_EQ(line.bytesWaiting(), 0);
}

TEST(DeviceLine, OnePortOneUser)
{
    Pty pty;
    ASSERT_FALSE(pty.path.isEmpty());
    DeviceLine first, second;
    ASSERT_TRUE(first.open(pty.path));
    EXPECT_FALSE(second.open(pty.path));
    EXPECT_NE(second.openError(), 0) << "held by the first";
    first.close();
    EXPECT_TRUE(second.open(pty.path));
}

TEST(DeviceLine, PathsThatAreNoSerialLine)
{
    struct Case {
        const char* path;
        int reason; // the system's, as the port reports it
    } cases[] = {{"", ENOENT}, {"/nonexistent/ttyQZ0", ENOENT}, {"/dev/null", ENOTTY}};
    for (const auto& [path, reason] : cases) {
        DeviceLine line;
        EXPECT_FALSE(line.open(path)) << path;
        EXPECT_EQ(line.openError(), reason) << path;
        EXPECT_FALSE(line.isOpen()) << path;
        std::uint8_t b = 0;
        EXPECT_EQ(line.write(&b, 1), -1) << path;
        EXPECT_EQ(line.bytesWaiting(), 0) << path;
        EXPECT_EQ(line.waitForBytes(1, 0), 0) << path;
    }
}

} // namespace
} // namespace qz
