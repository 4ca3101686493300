// The protocol against the emulator: the bytes of every frame on the wire, echo faults,
// checksums, a port that does not open, and the transactions that change the logger.
#include "emulator_rig.h"
#include "link/device_line.h"

#include <gtest/gtest.h>

#include <functional>

namespace qz::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Keeps every byte the program puts on the line.
class TapLine final : public LineBackend {
public:
    TapLine(std::unique_ptr<LineBackend> inner, Bytes& tap) : inner_(std::move(inner)), tap_(tap) {}
    bool open(const QString& n) override { return inner_->open(n); }
    void close() override { inner_->close(); }
    bool isOpen() const override { return inner_->isOpen(); }
    bool raiseDtr() override { return inner_->raiseDtr(); }
    std::int64_t write(const std::uint8_t* d, std::int64_t n) override
    {
        tap_.insert(tap_.end(), d, d + n);
        return inner_->write(d, n);
    }
    std::int64_t bytesWaiting() override { return inner_->bytesWaiting(); }
    std::int64_t waitForBytes(std::int64_t c, std::int64_t t) override { return inner_->waitForBytes(c, t); }
    std::int64_t read(std::uint8_t* d, std::int64_t n) override { return inner_->read(d, n); }
    void purge() override { inner_->purge(); }

private:
    std::unique_ptr<LineBackend> inner_;
    Bytes& tap_;
};

Bytes prefix(char letter) { return {'$', '#', '$', std::uint8_t(letter)}; }
Bytes read(std::uint16_t address, std::uint8_t count)
{
    return {'$', '#', '$', 'D', std::uint8_t(address & 0xFF), std::uint8_t(address >> 8), count};
}
Bytes write(std::uint16_t address, std::uint8_t count, const Bytes& data)
{
    Bytes f{'$', '#', '$', 'H', std::uint8_t(address & 0xFF), std::uint8_t(address >> 8), count};
    f.insert(f.end(), data.begin(), data.end());
    return f;
}
Bytes pattern(int n, int seed)
{
    Bytes b(n);
    for (int i = 0; i < n; ++i)
        b[i] = std::uint8_t(seed + 13 * i);
    return b;
}

TEST(EmulatorProtocol, EveryTransactionPutsItsFrameOnTheWire)
{
    const Bytes program = pattern(88, 1), table = pattern(256, 2), block = pattern(128, 3),
                clock = pattern(16, 4);
    std::uint8_t buf[256];
    struct Case {
        const char* name;
        std::function<bool(LoggerProtocol&)> run;
        Bytes frame;
    } cases[] = {
        {"ping", [&](LoggerProtocol& q) { return q.Ping(); }, prefix('E')},
        {"ident", [&](LoggerProtocol& q) { return q.ReadIdent(buf); }, read(0, 8)},
        {"calibration", [&](LoggerProtocol& q) { return q.ReadCalibration(buf); }, read(8, 32)},
        {"program", [&](LoggerProtocol& q) { return q.ReadProgram(buf); }, read(40, 88)},
        {"input table", [&](LoggerProtocol& q) { return q.ReadInputTable(buf); }, read(128, 0)},
        {"clock", [&](LoggerProtocol& q) { return q.ReadClock(buf); }, prefix('E')},
        {"AC", [&](LoggerProtocol& q) { return q.ReadRealTimeAC(buf); }, prefix('F')},
        {"DC", [&](LoggerProtocol& q) { return q.ReadRealTimeDC(buf); }, prefix('G')},
        {"battery", [&](LoggerProtocol& q) { return q.ReadBatteryCount() >= 0; }, prefix('G')},
        {"block 0", [&](LoggerProtocol& q) { return q.GetDataBloc(0, buf); }, read(384, 128)},
        {"block 507", [&](LoggerProtocol& q) { return q.GetDataBloc(507, buf); }, read(65280, 128)},
        {"hex", [&](LoggerProtocol& q) { return q.DataHex(0x1234, buf); }, read(0x1234, 128)},
        {"write program", [&](LoggerProtocol& q) { return q.WriteProgram(program.data()); },
         write(40, 88, program)},
        {"write table", [&](LoggerProtocol& q) { return q.WriteInputTable(table.data()); },
         write(128, 0, table)},
        {"write block", [&](LoggerProtocol& q) { return q.SetDataBloc(5, block.data()); },
         write(384 + 5 * 128, 128, block)},
        {"write clock", [&](LoggerProtocol& q) { return q.WriteClock(clock.data()); },
         [&] { Bytes f = prefix('C'); f.insert(f.end(), clock.begin(), clock.end()); return f; }()},
        {"reset", [&](LoggerProtocol& q) { return q.ResetLogger(); }, prefix('A')},
    };
    for (const auto& c : cases) {
        EmulatorRig r;
        Bytes tap;
        LoggerProtocol q(LinkSettings{"sim", false},
                    std::make_unique<TapLine>(std::make_unique<sim::EmulatorLine>(r.emulator, r.clock), tap),
                    r.clock, r.prompt);
        EXPECT_TRUE(c.run(q)) << c.name;
        EXPECT_EQ(tap, c.frame) << c.name;
        EXPECT_EQ(r.emulator.commands(), 1) << c.name;
        EXPECT_TRUE(r.prompt.records().empty()) << c.name;
    }
}

TEST(EmulatorProtocol, WritesReachTheLoggerMemory)
{
    EmulatorRig r;
    auto q = r.make();
    const Bytes program = pattern(88, 9);
    ASSERT_TRUE(q->WriteProgram(program.data()));
    EXPECT_TRUE(std::equal(program.begin(), program.end(), r.memory() + 40));
}

TEST(EmulatorProtocol, EchoFaults)
{
    struct Case {
        const char* name;
        sim::FaultKind kind;
        int byte;
        bool modem;
        std::int64_t minMs, maxMs; // time the failing Send takes
    } cases[] = {
        {"no echo", sim::FaultKind::NoEcho, 0, false, 301, 305},
        {"no echo over a modem", sim::FaultKind::NoEcho, 0, true, 2001, 2005},
        {"no echo from byte 3", sim::FaultKind::NoEcho, 3, false, 301, 310},
        {"wrong echo of byte 0", sim::FaultKind::WrongEcho, 0, false, 0, 10},
        {"wrong echo of byte 1", sim::FaultKind::WrongEcho, 1, false, 0, 10},
        {"wrong echo of byte 2", sim::FaultKind::WrongEcho, 2, false, 1000, 1010},
        {"wrong echo of byte 5", sim::FaultKind::WrongEcho, 5, false, 1000, 1010},
    };
    for (const auto& c : cases) {
        EmulatorRig r;
        auto q = r.make(c.modem);
        q->DeviceIsOpen();
        sim::Fault f;
        f.kind = c.kind;
        f.byte = c.byte;
        r.emulator.addFault(f);
        std::uint8_t frame[7];
        const std::int64_t start = r.clock.tickMs();
        EXPECT_FALSE(q->Send(frame, LoggerProtocol::GetBlocMsg(frame, 384, 128))) << c.name;
        const std::int64_t took = r.clock.tickMs() - start;
        EXPECT_GE(took, c.minMs) << c.name;
        EXPECT_LE(took, c.maxMs) << c.name;
        // The next frame goes through: the logger's parser has started afresh.
        std::uint8_t ident[8];
        EXPECT_TRUE(q->ReadIdent(ident)) << c.name;
        // A wrong echo of byte 0 or 1 is found only after the whole frame went out, so
        // the logger carried that frame out too.
        EXPECT_EQ(r.emulator.commands('D'), c.byte < 2 && c.kind == sim::FaultKind::WrongEcho ? 2 : 1)
            << c.name;
    }
}

TEST(EmulatorProtocol, ASilentLoggerGetsFiveAttemptsThenOneMessage)
{
    EmulatorRig r;
    r.emulator.setSilent(true);
    auto q = r.make();
    std::uint8_t clock[16];
    EXPECT_FALSE(q->ReadClock(clock));
    // 500 ms to settle the port, then five echo limits.
    EXPECT_GE(r.clock.tickMs(), 500 + 5 * 300);
    EXPECT_LE(r.clock.tickMs(), 500 + 5 * 305);
    EXPECT_EQ(r.prompt.texts(), QStringList{"Device Not Responding"});
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Warning);
    EXPECT_EQ(r.prompt.records()[0].buttons, PromptButtons::Ok);
}

TEST(EmulatorProtocol, BadChecksumsAndShortRepliesAreRetried)
{
    struct Case {
        sim::FaultKind kind;
        int frames;
        bool ok;
    } cases[] = {{sim::FaultKind::BadChecksum, 1, true},
                 {sim::FaultKind::BadChecksum, 4, true},
                 {sim::FaultKind::BadChecksum, 5, false},
                 {sim::FaultKind::ShortReply, 2, true},
                 {sim::FaultKind::ShortReply, 5, false}};
    for (const auto& c : cases) {
        EmulatorRig r;
        auto q = r.make();
        sim::Fault f;
        f.kind = c.kind;
        f.frames = c.frames;
        r.emulator.addFault(f);
        std::uint8_t ident[8] = {0xEE};
        EXPECT_EQ(q->ReadIdent(ident), c.ok) << int(c.kind) << " " << c.frames;
        EXPECT_EQ(r.emulator.commands('D'), std::min(c.frames + 1, 5));
        if (c.ok) {
            EXPECT_TRUE(std::equal(ident, ident + 8, r.memory()));
            EXPECT_TRUE(r.prompt.records().empty());
        } else {
            EXPECT_EQ(ident[0], 0xEE);
            EXPECT_EQ(r.prompt.texts(), QStringList{"Device Not Responding"});
        }
    }
}

TEST(EmulatorProtocol, APortThatCannotBeOpenedIsToldAtEveryAttempt)
{
    VirtualClock clock;
    RecordingPrompt prompt;
    LoggerProtocol q(LinkSettings{"/nonexistent/ttyQZ9", false}, std::make_unique<DeviceLine>(), clock,
                prompt);
    EXPECT_FALSE(q.Ping());
    EXPECT_EQ(prompt.texts(), QStringList(5, "Unable to open com port"));
    EXPECT_EQ(prompt.records()[0].symbol, PromptSymbol::Error);
    prompt.clear();
    std::uint8_t ident[8];
    EXPECT_FALSE(q.ReadIdent(ident));
    QStringList expected(5, "Unable to open com port");
    expected << "Device Not Responding";
    EXPECT_EQ(prompt.texts(), expected);
    EXPECT_EQ(clock.tickMs(), 10 * 500);
}

TEST(EmulatorProtocol, VerifyProgramStopAndRunState)
{
    sim::MemoryPreset preset;
    preset.running = true;
    EmulatorRig r(preset);
    auto q = r.make();
    EXPECT_TRUE(q->IsRecording());
    EXPECT_EQ(q->ReadRunState(), 1);

    Bytes held(r.memory() + 40, r.memory() + 128);
    EXPECT_TRUE(q->VerifyProgram(held.data()));
    EXPECT_EQ(r.emulator.commands('H'), 0);

    Bytes program = held;
    program[0] = 'X'; // a new comment
    EXPECT_TRUE(q->VerifyProgram(program.data()));
    EXPECT_EQ(r.emulator.commands('H'), 1);
    EXPECT_EQ(r.emulator.commands('C'), 1); // stopped before the write
    EXPECT_EQ(r.memory()[40], 'X');
    EXPECT_EQ(q->ReadRunState(), 0);
    EXPECT_FALSE(q->IsRecording());
    EXPECT_TRUE(r.prompt.records().empty());
}

} // namespace
} // namespace qz::test
