// The modem dialer against the emulator's telephone modem, on the virtual clock: the bytes
// of each command and the pauses between them, the echo check and its attempts, every
// result word, the time-out, the hang-up, and the modem timings.
#include "link/modem_init.h"
#include "link_rig.h"
#include "model/memory_image.h"
#include "modem_rig.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

namespace qz::test {
namespace {

using sim::DialResult;

// ---- Commands and their echoes ------------------------------------------------------

struct EchoCase {
    const char* name;
    int slowEchoes; // the first N echoes come late (-1: all)
    int delayMs; // how late
    QByteArray command;
    LinkStatus status;
    QByteArray written; // everything the modem was sent
};

void PrintTo(const EchoCase& c, std::ostream* os)
{
    *os << c.name;
}

class SendCommand : public ::testing::TestWithParam<EchoCase> {};

TEST_P(SendCommand, EachByteEchoedWithinTwoSecondsUpToFourAttempts)
{
    const EchoCase& c = GetParam();
    ModemRig r({.echoDelayUs = c.delayMs * 1000, .slowEchoes = c.slowEchoes});
    auto port = r.make();
    ASSERT_EQ(port->openPort(), LinkStatus::Ok);
    EXPECT_EQ(ModemDialer(*port).sendCommand(c.command), c.status);
    // An attempt that ran out of time stops where it was; the next one starts over.
    EXPECT_EQ(r.tap.text(), c.written);
}

const EchoCase kEchoCases[] = {
    {"prompt_echo", 0, 0, "AT\r", LinkStatus::Ok, "AT\r"},
    {"every_echo_just_within_the_limit", -1, 2000, "AT\r", LinkStatus::Ok, "AT\r"},
    {"first_echo_late_second_attempt", 1, 2500, "AT\r", LinkStatus::Ok, "AAT\r"},
    {"three_late_fourth_attempt", 3, 2500, "AT\r", LinkStatus::Ok, "AAAAT\r"},
    {"four_late_gives_up", 4, 2500, "AT\r", LinkStatus::NoEcho, "AAAA"},
    // 1.9 s a byte passes each byte, but twelve bytes do not fit into 10 s.
    {"too_slow_for_an_attempt", -1, 1900, "ATDT5551234\r", LinkStatus::NoEcho, "ATDT55ATDT55ATDT55ATDT55"},
};

INSTANTIATE_TEST_SUITE_P(Echoes, SendCommand, ::testing::ValuesIn(kEchoCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SendCommandLimits, AnAttemptGivesUpTwoSecondsAfterAByteWithoutEcho)
{
    ModemRig r({.echoDelayUs = 2500000, .slowEchoes = 4});
    auto port = r.make();
    ASSERT_EQ(port->openPort(), LinkStatus::Ok);
    EXPECT_EQ(ModemDialer(*port).sendCommand("AT\r"), LinkStatus::NoEcho);
    ASSERT_EQ(r.tap.writes.size(), 4u);
    // Each attempt: 2 s for the echo; between attempts the late echo comes (0.5 s later)
    // and is let pass, then 2 s of quiet.
    const std::int64_t expected[] = {0, 4500, 9000, 13500};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(r.tap.writes[i].atMs, expected[i]) << "attempt " << i;
    EXPECT_EQ(r.clock.tickMs(), 15500);
}

TEST(SendCommandLimits, AWrongEchoIsNotRetriedAndTheCommandIsNotFinished)
{
    ModemRig r;
    r.emulator.setByteErrors(1.0, 7); // every byte from the modem damaged
    auto port = r.make();
    ASSERT_EQ(port->openPort(), LinkStatus::Ok);
    EXPECT_EQ(ModemDialer(*port).sendCommand("ATDT0123\r"), LinkStatus::BadEcho);
    EXPECT_EQ(r.tap.text(), "A") << "no carriage return: the modem never dials a damaged number";
}

TEST(SendCommandLimits, AClosedPortSendsNothing)
{
    ModemRig r;
    auto port = r.make();
    EXPECT_EQ(ModemDialer(*port).sendCommand("AT\r"), LinkStatus::PortClosed);
    EXPECT_TRUE(r.tap.writes.empty());
}

// ---- Initialisation and dialing -----------------------------------------------------

TEST(ModemCall, InitialisationSendsEachLineWithHalfASecondAfterIt)
{
    ModemRig r({.result = DialResult::Connect});
    const QList<QByteArray> commands = modemInitCommands("; office modem\r\nat&f\r\n\r\nATE1V1Q0\r\n");
    EXPECT_EQ(r.dialAndWait(commands, "0123"), DialOutcome::Connected);
    EXPECT_EQ(r.tap.text(), "at&f\rATE1V1Q0\rATDT0123\r");
    EXPECT_EQ(r.tap.timeOf("ATE1V1Q0"), r.tap.timeOf("at&f") + 500);
    EXPECT_EQ(r.tap.timeOf("ATDT"), r.tap.timeOf("ATE1V1Q0") + 500);
}

TEST(ModemCall, ToneOrPulseAndTheNumberWithoutItsBlanks)
{
    struct Case {
        QString number;
        bool pulse;
        QByteArray command;
    };
    const Case cases[] = {
        {"0123", false, "ATDT0123\r"},
        {"0123", true, "ATDP0123\r"},
        {"  0123 ", true, "ATDP0123\r"},
        {"\t555 1234  ", false, "ATDT555 1234\r"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dialCommand(c.number, c.pulse), c.command) << c.number.toStdString();
        ModemRig r;
        auto port = r.make();
        EXPECT_EQ(ModemDialer(*port).dial(c.number, c.pulse), LinkStatus::Ok);
        EXPECT_EQ(r.tap.text(), c.command) << c.number.toStdString();
    }
}

TEST(ModemCall, ARefusedCommandEndsTheCallBeforeTheDial)
{
    struct Case {
        const char* name;
        QList<QByteArray> commands;
        QString number;
        DialOutcome outcome;
    };
    const Case cases[] = {
        {"init_not_echoed", {"AT&F"}, "0123", DialOutcome::InitFailed},
        {"dial_not_echoed", {}, "0123", DialOutcome::DialFailed},
        {"number_with_a_control_character", {}, "0123\rATZ", DialOutcome::DialFailed},
    };
    for (const Case& c : cases) {
        const bool deaf = c.number == "0123";
        ModemRig r({.echoDelayUs = deaf ? 3000000 : 0, .slowEchoes = deaf ? -1 : 0});
        EXPECT_EQ(r.dialAndWait(c.commands, c.number), c.outcome) << c.name;
        EXPECT_FALSE(r.tap.text().contains("ATDT0123\r")) << c.name;
        if (!deaf) {
            EXPECT_TRUE(r.tap.text().isEmpty()) << c.name;
        }
    }
}

TEST(ModemCall, APortThatDoesNotOpenIsToldOnce)
{
    ModemRig r;
    auto port = std::make_unique<LoggerProtocol>(
        LinkSettings{"", true}, std::make_unique<sim::EmulatorLine>(r.emulator, r.clock), r.clock);
    LinkTeller report(*port, r.prompt);
    ModemDialer dialer(*port);
    EXPECT_EQ(dialer.call({"AT&F"}, "0123", false), DialOutcome::CannotOpen);
    ASSERT_EQ(r.prompt.texts().size(), 1);
    EXPECT_TRUE(r.prompt.texts().front().startsWith("Unable to open com port"))
        << r.prompt.texts().front().toStdString();
}

// ---- The modem's answer -------------------------------------------------------------

struct AnswerCase {
    const char* name;
    sim::ModemOptions modem;
    DialOutcome outcome;
    QString message;
};

void PrintTo(const AnswerCase& c, std::ostream* os)
{
    *os << c.name;
}

class ModemAnswer : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(ModemAnswer, EachResultWordAndItsMessage)
{
    const AnswerCase& c = GetParam();
    ModemRig r(c.modem);
    const DialOutcome outcome = r.dialAndWait();
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(dialOutcomeText(outcome), c.message);
}

const AnswerCase kAnswerCases[] = {
    {"connect", {.result = DialResult::Connect}, DialOutcome::Connected, "Connected"},
    {"busy", {.result = DialResult::Busy}, DialOutcome::Busy, "The line is busy"},
    {"no_carrier", {.result = DialResult::NoCarrier}, DialOutcome::NoCarrier, "No carrier"},
    {"no_dialtone", {.result = DialResult::NoDialTone}, DialOutcome::NoDialTone, "No dial tone"},
    {"silence", {.result = DialResult::NoAnswer}, DialOutcome::TimedOut, "Connection time out"},
    {"ring_ring_connect", {.result = DialResult::Connect, .rings = 2}, DialOutcome::Connected, "Connected"},
    {"connect_in_pieces_a_second_apart",
     {.result = DialResult::Connect, .pieceGapUs = 1000000},
     DialOutcome::Connected,
     "Connected"},
    {"busy_in_pieces",
     {.result = DialResult::Busy, .pieceGapUs = 300000},
     DialOutcome::Busy,
     "The line is busy"},
    {"short_answer", {.result = DialResult::Connect, .lineEnd = "\r"}, DialOutcome::Connected, "Connected"},
};

INSTANTIATE_TEST_SUITE_P(Results, ModemAnswer, ::testing::ValuesIn(kAnswerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ModemWait, TimesOutAfterSixtySilentTicksTicksWithDataDoNotCount)
{
    struct Case {
        int rings;
        int ticks; // polls until the time-out
    };
    for (const Case c : {Case{0, 60}, Case{5, 65}}) {
        ModemRig r({.result = DialResult::NoAnswer, .rings = c.rings, .dialUs = 10000000});
        auto port = r.make();
        ModemDialer dialer(*port);
        ASSERT_EQ(dialer.call({}, "0123", false), DialOutcome::Waiting);
        int polls = 0;
        DialOutcome outcome = DialOutcome::Waiting;
        while (outcome == DialOutcome::Waiting && polls < 100) {
            r.clock.advance(1000);
            outcome = dialer.poll();
            ++polls;
        }
        EXPECT_EQ(outcome, DialOutcome::TimedOut) << c.rings << " rings";
        EXPECT_EQ(polls, c.ticks) << c.rings << " rings";
        EXPECT_FALSE(dialer.isWaiting());
        EXPECT_FALSE(port->port().isOpen()) << "the wait closes the port";
    }
}

TEST(ModemWait, WithoutATimerTheWaitSleepsOnTheLine)
{
    ModemRig r({.result = DialResult::NoAnswer});
    EXPECT_EQ(r.dialAndWait(), DialOutcome::TimedOut);
    EXPECT_EQ(r.clock.tickMs() - r.tap.timeOf("ATDT"), 60000);

    ModemRig quick({.result = DialResult::Busy, .dialUs = 2500000});
    EXPECT_EQ(quick.dialAndWait(), DialOutcome::Busy);
    EXPECT_EQ(quick.clock.tickMs() - quick.tap.timeOf("ATDT"), 2500) << "the answer ends the sleep";
}

TEST(ModemWait, CancelStopsTheWaitAndTheHangUpAbortsTheCall)
{
    ModemRig r({.result = DialResult::Connect, .dialUs = 20000000});
    auto port = r.make();
    ModemDialer dialer(*port);
    ASSERT_EQ(dialer.call({}, "0123", false), DialOutcome::Waiting);
    int asked = 0;
    EXPECT_EQ(dialer.waitForAnswer([&] { return ++asked > 3; }), DialOutcome::Cancelled);
    EXPECT_TRUE(dialer.isWaiting()) << "the caller hangs up";
    EXPECT_EQ(dialer.hangUp(), LinkStatus::Ok);
    EXPECT_FALSE(dialer.isWaiting());
    EXPECT_EQ(r.tap.text(), "ATDT0123\r+++ATH0\rAT\r");
    // The call never comes up: a frame meets the modem, not the logger.
    r.clock.advance(30000);
    auto logger = r.make(false);
    EXPECT_NE(logger->ping(), LinkStatus::Ok);
    EXPECT_EQ(r.emulator.commands(), 0);
}

// ---- Hanging up ---------------------------------------------------------------------

TEST(ModemHangUp, EscapeAndHangUpWithTheirPausesThenAT)
{
    ModemRig r({.result = DialResult::Connect});
    ASSERT_EQ(r.dialAndWait(), DialOutcome::Connected);
    {
        auto logger = r.make();
        ASSERT_EQ(logger->ping(), LinkStatus::Ok) << "online: the logger answers";
    }
    r.tap.clear();
    const std::int64_t start = r.clock.tickMs();
    EXPECT_EQ(r.hangUp(), LinkStatus::Ok);
    EXPECT_EQ(r.tap.text(), "+++ATH0\rAT\r");
    EXPECT_EQ(r.tap.timeOf("+++"), start + 1200) << "guard time before";
    EXPECT_EQ(r.tap.timeOf("ATH0"), start + 3600) << "guard time after, and a pause before";
    EXPECT_EQ(r.tap.timeOf("AT\r"), start + 4800);

    const std::int64_t frames = r.emulator.commands();
    auto logger = r.make();
    EXPECT_NE(logger->ping(), LinkStatus::Ok) << "on-hook: the logger is out of reach";
    EXPECT_EQ(r.emulator.commands(), frames);
}

TEST(ModemHangUp, AModemThatDoesNotAnswerTheATIsReported)
{
    ModemRig r({.echoDelayUs = 5000000, .slowEchoes = -1});
    EXPECT_NE(r.hangUp(), LinkStatus::Ok);
    EXPECT_TRUE(r.tap.text().startsWith("+++ATH0\r"));
}

// ---- Logger commands through the modem ----------------------------------------------

TEST(ThroughTheModem, TheModemTimingsCarryALineTooSlowForACable)
{
    // 200 ms each way: an echo takes 400 ms, beyond a cable's 300 ms echo limit. The
    // logger at the far end waits a second before it drops a half-received frame.
    sim::EmulatorOptions logger;
    logger.parserPauseUs = 1000000;
    for (const bool modemLink : {true, false}) {
        ModemRig r({.result = DialResult::Connect, .latencyUs = 200000}, {}, logger);
        ASSERT_EQ(r.dialAndWait(), DialOutcome::Connected);
        auto link = r.make(modemLink);
        EXPECT_EQ(link->ping() == LinkStatus::Ok, modemLink) << "modem link " << modemLink;
    }
}

} // namespace
} // namespace qz::test
