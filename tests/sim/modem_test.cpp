#include "sim_driver.h"

#include "sim/presets.h"

#include <gtest/gtest.h>

#include <string>

namespace qz::sim {
namespace {

using test::Bytes;
using test::Driver;
using test::frame;

constexpr std::int64_t kSec = 1000000;

Bytes b(const std::string& s)
{
    return {s.begin(), s.end()};
}
std::string s(const Bytes& b)
{
    return {b.begin(), b.end()};
}

struct ModemRig {
    explicit ModemRig(ModemOptions m = {})
        : emulator([&] {
              m.enabled = true;
              EmulatorOptions o;
              o.modem = m;
              return o;
          }())
    {
        loadMemory(emulator.logger(), {.deviceCode = 1});
    }
    // Sends text as the dialer does, then waits.
    std::string say(const std::string& text, std::int64_t waitUs = 10000)
    {
        return s(pc.exchange(b(text), waitUs));
    }
    void dialAndConnect()
    {
        say("ATDT0123\r", 4 * kSec);
        ASSERT_TRUE(emulator.commands() == 0);
    }
    Emulator emulator;
    Driver pc{emulator};
};

TEST(ModemTest, CommandsAreEchoedAndAnsweredOk)
{
    ModemRig m;
    EXPECT_EQ(m.say("AT&F\r"), "AT&F\r\r\nOK\r\n");
    EXPECT_EQ(m.say("junk at e0\r"), "junk at e0\r\r\nOK\r\n") << "from the first AT on";
    EXPECT_EQ(m.say("hello\r"), "hello\r") << "no AT: no answer";
    EXPECT_EQ(m.say("$#$E"), "$#$E") << "on-hook: the logger hears nothing";
    EXPECT_EQ(m.emulator.commands(), 0);
}

TEST(ModemTest, DialResults)
{
    struct Case {
        DialResult result;
        int rings;
        std::string answer;
    };
    const Case cases[] = {
        {DialResult::Connect, 0, "\r\nCONNECT 19200\r\n"},
        {DialResult::Connect, 2, "\r\nRING\r\n\r\nRING\r\n\r\nCONNECT 19200\r\n"},
        {DialResult::Busy, 0, "\r\nBUSY\r\n"},
        {DialResult::NoCarrier, 0, "\r\nNO CARRIER\r\n"},
        {DialResult::NoDialTone, 0, "\r\nNO DIALTONE\r\n"},
        {DialResult::NoAnswer, 0, ""},
    };
    for (const Case& c : cases) {
        ModemRig m({.result = c.result, .rings = c.rings});
        EXPECT_EQ(m.say("ATDP0123\r", 10000), "ATDP0123\r") << "nothing before the dial time";
        EXPECT_EQ(s(m.pc.collect(3 * kSec)), c.answer);
        const bool online = c.result == DialResult::Connect;
        const std::string reply = m.say("$#$E", 200000);
        EXPECT_EQ(reply.size(), online ? 22u : 4u) << int(c.result);
    }
}

TEST(ModemTest, AKeyAbortsACallBeingSetUpAndItsResultNeverComes)
{
    ModemRig m({.result = DialResult::Connect, .rings = 2, .dialUs = 5 * kSec});
    m.say("ATDT0123\r", 3500000);
    EXPECT_EQ(s(m.pc.collect(0)), "") << "the first ring was read with the echo";
    EXPECT_EQ(m.say("+"), "+\r\nNO CARRIER\r\n");
    EXPECT_EQ(s(m.pc.collect(5 * kSec)), "") << "no second ring, no CONNECT";
    EXPECT_EQ(m.say("AT\r"), "AT\r\r\nOK\r\n") << "on-hook, in command mode";
    EXPECT_EQ(m.say("$#$E", 200000), "$#$E") << "the logger is out of reach";
    EXPECT_EQ(m.emulator.commands(), 0);
}

TEST(ModemTest, ResultsInPiecesComeAsTheirLineEndsAndWord)
{
    ModemRig m({.result = DialResult::Busy, .dialUs = kSec, .pieceGapUs = 300000});
    m.say("ATDT1\r", 10000);
    EXPECT_EQ(s(m.pc.collect(kSec - 10000)), "\r\n") << "the leading line end first";
    EXPECT_EQ(s(m.pc.collect(300000)), "BUSY");
    EXPECT_EQ(s(m.pc.collect(300000)), "\r\n");
}

TEST(ModemTest, SlowEchoesInCommandMode)
{
    // The first two echoes come 2.5 s late; later bytes queue behind them, in order.
    ModemRig m({.echoDelayUs = 2500000, .slowEchoes = 2});
    EXPECT_EQ(m.say("AT", 2000000), "") << "nothing within 2 s";
    EXPECT_EQ(s(m.pc.collect(kSec)), "AT");
    EXPECT_EQ(m.say("\r"), "\r\r\nOK\r\n") << "from the third byte on at once";

    ModemRig all({.echoDelayUs = 2500000, .slowEchoes = -1});
    EXPECT_EQ(all.say("AT\r", 2400000), "");
    EXPECT_EQ(s(all.pc.collect(200000)), "AT\r\r\nOK\r\n");
}

TEST(ModemTest, DataModeCarriesFramesWithTheLineLatency)
{
    ModemRig m({.latencyUs = 40000});
    m.dialAndConnect();
    m.emulator.receive('$', m.pc.nowUs);
    EXPECT_EQ(m.emulator.arrivalOf(1), m.pc.nowUs + 80000) << "40 ms each way";
    m.pc.nowUs += 1000;
    const Bytes rest = m.pc.exchange(b("#$E"), kSec);
    EXPECT_EQ(rest.size(), 1u + 3u + 18u);
    EXPECT_EQ(m.emulator.commands('E'), 1);
}

TEST(ModemTest, EscapeWithGuardTimesThenHangUp)
{
    ModemRig m;
    m.dialAndConnect();
    m.pc.collect(kSec);
    EXPECT_EQ(m.say("+++", kSec), "\r\nOK\r\n") << "no echo: the logger never saw them";
    EXPECT_EQ(m.say("ATH0\r"), "ATH0\r\r\nOK\r\n");
    EXPECT_EQ(m.say("$#$E", kSec), "$#$E");
    EXPECT_EQ(m.emulator.commands(), 0);
}

TEST(ModemTest, PlusesWithoutTheGuardTimeAreData)
{
    ModemRig m;
    m.dialAndConnect();
    m.pc.collect(kSec);
    // A byte inside the guard time after "+++" cancels the escape.
    EXPECT_EQ(m.say("+++x", kSec), "+++x") << "the logger echoes all four";
    // Pluses right after other data are data too.
    EXPECT_EQ(m.say("a+++", kSec), "a+++");
    EXPECT_EQ(m.say("$#$E", kSec).size(), 22u) << "still online";
}

TEST(ModemTest, HangUpAsTheProgramDoesIt)
{
    ModemRig m;
    m.dialAndConnect();
    m.pc.collect(kSec);
    std::string heard = m.say("+++", kSec);
    heard += m.say("ATH0\r", kSec);
    heard += m.say("AT\r", 10000);
    EXPECT_EQ(heard, "\r\nOK\r\nATH0\r\r\nOK\r\nAT\r\r\nOK\r\n");
}

} // namespace
} // namespace qz::sim
