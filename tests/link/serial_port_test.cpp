// The serial port: opening, the closed-port rule, the deadline timer and the read rule.
#include "fake_logger.h"
#include "link/deadline.h"
#include "link/device_line.h"
#include "link/line_registry.h"
#include "link/port_list.h"
#include "link/serial_port.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

struct PortRig {
    VirtualClock clock;
    FakeLoggerState logger;
    SerialPort port{std::make_unique<FakeLoggerLine>(logger, clock), clock};
};

TEST(SerialPort, WithoutANameNothingIsOpened)
{
    PortRig r;
    const OpenResult result = r.port.open("");
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(result.osError, 0);
    EXPECT_EQ(r.logger.opens, 0);
    EXPECT_FALSE(r.port.isOpen());
}

TEST(SerialPort, ARefusedOpenLeavesThePortClosed)
{
    PortRig r;
    r.logger.refuseOpen = true;
    EXPECT_FALSE(r.port.open("fake").opened);
    EXPECT_EQ(r.logger.opens, 1);
    EXPECT_FALSE(r.port.isOpen());
}

TEST(SerialPort, ALineWithoutModemLinesStillOpens)
{
    PortRig r; // the fake line refuses DTR, as a pseudo-terminal does
    EXPECT_TRUE(r.port.open("fake").opened);
    EXPECT_TRUE(r.port.isOpen());
    EXPECT_TRUE(r.port.close());
    EXPECT_FALSE(r.port.isOpen());
}

TEST(SerialPort, EveryOperationOnAClosedPortDoesNothing)
{
    PortRig r;
    std::uint8_t buf[4] = {1, 2, 3, 4};
    EXPECT_EQ(r.port.read(buf, 4), 0);
    EXPECT_EQ(r.port.write(buf, 4), 0);
    EXPECT_EQ(r.port.bytesWaiting(), 0);
    EXPECT_EQ(r.port.waitForBytes(1, 1000), 0);
    r.port.purge();
    r.port.transmit('$');
    EXPECT_FALSE(r.port.raiseDtr());
    EXPECT_FALSE(r.port.close());
    EXPECT_EQ(r.logger.framesBegun, 0);
    EXPECT_EQ(r.clock.tickMs(), 0); // and waits for nothing
}

TEST(Deadline, CountsDownAndStaysAtZero)
{
    VirtualClock clock;
    EXPECT_EQ(Deadline(clock, -1000).leftMs(), 0);
    const Deadline second(clock, 1000);
    EXPECT_EQ(second.leftMs(), 1000);
    clock.advance(400);
    EXPECT_EQ(second.leftMs(), 600);
    EXPECT_FALSE(second.passed());
    clock.advance(600);
    EXPECT_EQ(second.leftMs(), 0);
    EXPECT_TRUE(second.passed());
    clock.advance(5000);
    EXPECT_EQ(second.leftMs(), 0);
}

TEST(SerialPort, ReadGivesUpAfterItsTotalTime)
{
    PortRig r;
    r.port.open("fake");
    std::uint8_t buf[10];
    EXPECT_EQ(r.port.read(buf, 10), 0);
    EXPECT_EQ(r.clock.tickMs(), 100 + 5 * 10);
}

TEST(LineRegistry, NamedLinesComeFirstAndEverythingElseIsADevice)
{
    VirtualClock clock;
    FakeLoggerState logger;
    LineRegistry lines;
    lines.addNamed(LineRegistry::simulatedPortName(),
                   [&] { return std::make_unique<FakeLoggerLine>(logger, clock); });
    EXPECT_TRUE(lines.isNamed("sim"));
    EXPECT_EQ(lines.namedLines(), QStringList{"sim"});
    EXPECT_NE(dynamic_cast<FakeLoggerLine*>(lines.make("sim").get()), nullptr);
    EXPECT_NE(dynamic_cast<DeviceLine*>(lines.make("/dev/ttyUSB9").get()), nullptr);
}

TEST(PortList, MissingAndNonSerialPathsDoNotExist)
{
    LineRegistry lines;
    EXPECT_FALSE(portExists("", lines));
    EXPECT_FALSE(portExists("/nonexistent/ttyQZ0", lines));
    EXPECT_FALSE(portExists("/dev/null", lines)); // opens, but is no terminal
    const QString first = firstAvailablePort(lines);
    EXPECT_TRUE(first.isEmpty() || availablePorts().contains(first));
}

} // namespace
} // namespace qz::test
