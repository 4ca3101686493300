// The serial port: opening, the closed-port rule, the deadline timer and the read rule.
#include "fake_logger.h"
#include "link/serial_port.h"
#include "link/device_line.h"
#include "link/line_registry.h"
#include "link/port_list.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

struct PortRig {
    VirtualClock clock;
    FakeLoggerState logger;
    SerialPort port{std::make_unique<FakeLoggerLine>(logger, clock), clock};
};

TEST(ComPort, WithoutANameNothingIsOpened)
{
    PortRig r;
    EXPECT_EQ(r.port.Open(), -1);
    EXPECT_EQ(r.port.Status(), SerialPort::StatusNoPort);
    EXPECT_EQ(r.logger.opens, 0);
    EXPECT_FALSE(r.port.IsOpen());
}

TEST(ComPort, ARefusedOpenReportsTheOpenStatus)
{
    PortRig r;
    r.logger.refuseOpen = true;
    r.port.PortName = "fake";
    EXPECT_EQ(r.port.Open(), -1);
    EXPECT_EQ(r.port.Status(), SerialPort::StatusOpenFailed);
    EXPECT_FALSE(r.port.IsOpen());
}

TEST(ComPort, ALineWithoutModemLinesStillOpens)
{
    PortRig r; // the fake line refuses DTR, as a pseudo-terminal does
    r.port.PortName = "fake";
    EXPECT_EQ(r.port.Open(), 0);
    EXPECT_TRUE(r.port.IsOpen());
    EXPECT_EQ(r.port.Status(), SerialPort::StatusOk);
    EXPECT_TRUE(r.port.Close());
    EXPECT_FALSE(r.port.IsOpen());
}

TEST(ComPort, EveryOperationOnAClosedPortDoesNothing)
{
    PortRig r;
    std::uint8_t buf[4] = {1, 2, 3, 4};
    EXPECT_EQ(r.port.Read(buf, 4), 0);
    EXPECT_EQ(r.port.Write(buf, 4), 0);
    EXPECT_EQ(r.port.BytesWaiting(), 0);
    EXPECT_EQ(r.port.WaitForBytes(1, 1000), 0);
    r.port.PurgeInput();
    r.port.PurgeOutput();
    r.port.TransmitChar('$');
    EXPECT_FALSE(r.port.SetDtr());
    EXPECT_FALSE(r.port.Close());
    EXPECT_EQ(r.logger.framesBegun, 0);
    EXPECT_EQ(r.clock.tickMs(), 0); // and waits for nothing
}

TEST(ComPort, DeadlineTimerCountsDownAndStaysAtZero)
{
    PortRig r;
    r.port.StartTimer(-1);
    EXPECT_EQ(r.port.TimeLeft(), 0);
    r.port.StartTimer(1);
    EXPECT_EQ(r.port.TimeLeft(), 1000);
    r.clock.advance(400);
    EXPECT_EQ(r.port.TimeLeft(), 600);
    r.clock.advance(600);
    EXPECT_EQ(r.port.TimeLeft(), 0);
    r.clock.advance(5000);
    EXPECT_EQ(r.port.TimeLeft(), 0);
}

TEST(ComPort, ReadGivesUpAfterItsTotalTime)
{
    PortRig r;
    r.port.PortName = "fake";
    r.port.Open();
    std::uint8_t buf[10];
    EXPECT_EQ(r.port.Read(buf, 10), 0);
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
    EXPECT_FALSE(PortExists("", lines));
    EXPECT_FALSE(PortExists("/nonexistent/ttyQZ0", lines));
    EXPECT_FALSE(PortExists("/dev/null", lines)); // opens, but is no terminal
    const QString first = FirstAvailablePort(lines);
    EXPECT_TRUE(first.isEmpty() || AvailablePorts().contains(first));
}

} // namespace
} // namespace qz::test
