// The protocol against the emulator: the bytes of every frame on the wire, echo faults,
// checksums, a port that does not open, and the transactions that change the logger.
#include "emulator_rig.h"
#include "link/device_line.h"
#include "link/logger_frames.h"
#include "model/memory_image.h"
#include "support/link_teller.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace qz::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Keeps every byte the program puts on the line.
class TapLine final : public LineBackend {
public:
    TapLine(std::unique_ptr<LineBackend> inner, Bytes& tap) : inner_(std::move(inner)), tap_(tap) {}
    bool open(const QString& n) override { return inner_->open(n); }
    int openError() const override { return inner_->openError(); }
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

Bytes prefix(char letter)
{
    return {'$', '#', '$', std::uint8_t(letter)};
}
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
        std::function<LinkStatus(LoggerProtocol&)> run;
        Bytes frame;
    } cases[] = {
        {"ping", [&](LoggerProtocol& q) { return q.ping(); }, prefix('E')},
        {"ident", [&](LoggerProtocol& q) { return q.readIdent(buf); }, read(0, 8)},
        {"calibration", [&](LoggerProtocol& q) { return q.readCalibration(buf); }, read(8, 32)},
        {"program", [&](LoggerProtocol& q) { return q.readProgram(buf); }, read(40, 88)},
        {"input table", [&](LoggerProtocol& q) { return q.readInputTable(buf); }, read(128, 0)},
        {"clock", [&](LoggerProtocol& q) { return q.readClock(buf); }, prefix('E')},
        {"AC", [&](LoggerProtocol& q) { return q.readReadingsAC(buf); }, prefix('F')},
        {"DC", [&](LoggerProtocol& q) { return q.readReadingsDC(buf); }, prefix('G')},
        {"battery", [&](LoggerProtocol& q) { return q.readBattery(buf[0]); }, prefix('G')},
        {"block 0", [&](LoggerProtocol& q) { return q.readDataBlock(0, buf); }, read(384, 128)},
        {"block 507", [&](LoggerProtocol& q) { return q.readDataBlock(507, buf); }, read(65280, 128)},
        {"hex", [&](LoggerProtocol& q) { return q.readMemory(0x1234, buf); }, read(0x1234, 128)},
        {"write program", [&](LoggerProtocol& q) { return q.writeProgram(program.data()); },
         write(40, 88, program)},
        {"write table", [&](LoggerProtocol& q) { return q.writeInputTable(table.data()); },
         write(128, 0, table)},
        {"write block", [&](LoggerProtocol& q) { return q.writeDataBlock(5, block.data()); },
         write(384 + 5 * 128, 128, block)},
        {"write clock", [&](LoggerProtocol& q) { return q.writeClock(clock.data()); },
         [&] {
             Bytes f = prefix('C');
             f.insert(f.end(), clock.begin(), clock.end());
             return f;
         }()},
        {"reset", [&](LoggerProtocol& q) { return q.resetLogger(); }, prefix('A')},
    };
    for (const auto& c : cases) {
        EmulatorRig r;
        Bytes tap;
        LoggerProtocol q(
            LinkSettings{"sim", false},
            std::make_unique<TapLine>(std::make_unique<sim::EmulatorLine>(r.emulator, r.clock), tap),
            r.clock);
        EXPECT_EQ(c.run(q), LinkStatus::Ok) << c.name;
        EXPECT_EQ(tap, c.frame) << c.name;
        EXPECT_EQ(r.emulator.commands(), 1) << c.name;
    }
}

TEST(EmulatorProtocol, WritesReachTheLoggerMemory)
{
    EmulatorRig r;
    auto q = r.make();
    const Bytes program = pattern(88, 9);
    ASSERT_EQ(q->writeProgram(program.data()), LinkStatus::Ok);
    EXPECT_TRUE(std::equal(program.begin(), program.end(), r.memory() + mem::kProgram));
}

TEST(EmulatorProtocol, EchoFaults)
{
    struct Case {
        const char* name;
        sim::FaultKind kind;
        int byte;
        bool modem;
        std::int64_t minMs, maxMs; // time the failing send takes
        LinkStatus status;
    } cases[] = {
        {"no echo", sim::FaultKind::NoEcho, 0, false, 301, 305, LinkStatus::NoEcho},
        {"no echo over a modem", sim::FaultKind::NoEcho, 0, true, 2001, 2005, LinkStatus::NoEcho},
        {"no echo from byte 3", sim::FaultKind::NoEcho, 3, false, 301, 310, LinkStatus::NoEcho},
        {"wrong echo of byte 0", sim::FaultKind::WrongEcho, 0, false, 0, 10, LinkStatus::BadEcho},
        {"wrong echo of byte 1", sim::FaultKind::WrongEcho, 1, false, 0, 10, LinkStatus::BadEcho},
        {"wrong echo of byte 2", sim::FaultKind::WrongEcho, 2, false, 1000, 1010, LinkStatus::BadEcho},
        {"wrong echo of byte 5", sim::FaultKind::WrongEcho, 5, false, 1000, 1010, LinkStatus::BadEcho},
    };
    for (const auto& c : cases) {
        EmulatorRig r;
        auto q = r.make(c.modem);
        q->ensureOpen();
        sim::Fault f;
        f.kind = c.kind;
        f.byte = c.byte;
        r.emulator.addFault(f);
        std::uint8_t frame[frames::kMemoryHeader];
        const std::int64_t start = r.clock.tickMs();
        EXPECT_EQ(q->send(frame, frames::readMemory(frame, mem::loggerBlockAddress(0), mem::kBlockSize)),
                  c.status)
            << c.name;
        const std::int64_t took = r.clock.tickMs() - start;
        EXPECT_GE(took, c.minMs) << c.name;
        EXPECT_LE(took, c.maxMs) << c.name;
        // The next frame goes through: the logger's parser has started afresh.
        std::uint8_t ident[mem::kIdentificationSize];
        EXPECT_EQ(q->readIdent(ident), LinkStatus::Ok) << c.name;
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
    auto s = r.open();
    std::uint8_t clock[mem::kClockRecordSize];
    EXPECT_FALSE(s.report.ok(s->readClock(clock)));
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
        LinkStatus status;
    } cases[] = {{sim::FaultKind::BadChecksum, 1, LinkStatus::Ok},
                 {sim::FaultKind::BadChecksum, 4, LinkStatus::Ok},
                 {sim::FaultKind::BadChecksum, 5, LinkStatus::BadChecksum},
                 {sim::FaultKind::ShortReply, 2, LinkStatus::Ok},
                 {sim::FaultKind::ShortReply, 5, LinkStatus::ShortReply}};
    for (const auto& c : cases) {
        EmulatorRig r;
        auto s = r.open();
        sim::Fault f;
        f.kind = c.kind;
        f.frames = c.frames;
        r.emulator.addFault(f);
        std::uint8_t ident[mem::kIdentificationSize] = {0xEE};
        const LinkStatus status = s->readIdent(ident);
        EXPECT_EQ(status, c.status) << int(c.kind) << " " << c.frames;
        EXPECT_EQ(s.report.ok(status), c.status == LinkStatus::Ok);
        EXPECT_EQ(r.emulator.commands('D'), std::min(c.frames + 1, 5));
        if (c.status == LinkStatus::Ok) {
            EXPECT_TRUE(std::equal(std::begin(ident), std::end(ident), r.memory() + mem::kIdentification));
            EXPECT_TRUE(r.prompt.records().empty());
        } else {
            EXPECT_EQ(ident[0], 0xEE);
            EXPECT_EQ(r.prompt.texts(), QStringList{"Device Not Responding"});
        }
    }
}

TEST(EmulatorProtocol, APortThatCannotBeOpenedIsToldOnceWithItsReason)
{
    // What a user may have chosen or typed as the port, none of which is a serial port.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile regular(dir.filePath("notes.txt"));
    ASSERT_TRUE(regular.open(QIODevice::WriteOnly));
    regular.close();
    struct Case {
        const char* name;
        QString port;
        QString reason;
    } cases[] = {
        {"missing path", dir.filePath("ttyUSB0"), "No such file or directory"},
        {"regular file", regular.fileName(), "Not a serial port"},
        {"directory", dir.path(), "Is a directory"},
        {"not a terminal", "/dev/null", "Not a serial port"},
        {"no port chosen", "", "no port is chosen"},
    };
    for (const auto& c : cases) {
        VirtualClock clock;
        RecordingPrompt prompt;
        LoggerProtocol q(LinkSettings{c.port, false}, std::make_unique<DeviceLine>(), clock);
        const QString told = c.port.isEmpty() ? "Unable to open com port: " + c.reason
                                              : "Unable to open com port " + c.port + ": " + c.reason;
        {
            LinkTeller report(q, prompt);
            EXPECT_EQ(q.ping(), LinkStatus::CannotOpen) << c.name;
            std::uint8_t ident[mem::kIdentificationSize];
            EXPECT_FALSE(report.ok(q.readIdent(ident))) << c.name;
        }
        EXPECT_EQ(prompt.texts(), QStringList{told}) << c.name;
        EXPECT_EQ(prompt.records()[0].symbol, PromptSymbol::Error) << c.name;
        EXPECT_EQ(clock.tickMs(), 0) << c.name << ": no attempt waits for a port that is not there";
    }
}

TEST(EmulatorProtocol, VerifyProgramStopAndRunState)
{
    sim::MemoryPreset preset;
    preset.running = true;
    EmulatorRig r(preset);
    auto q = r.make();
    bool recording = false;
    RunState state = RunState::NotAnswering;
    EXPECT_EQ(q->isRecording(recording), LinkStatus::Ok);
    EXPECT_TRUE(recording);
    EXPECT_EQ(q->readRunState(state), LinkStatus::Ok);
    EXPECT_EQ(state, RunState::Running);

    Bytes held(r.memory() + mem::kProgram, r.memory() + mem::kProgram + mem::kProgramSize);
    EXPECT_EQ(q->verifyProgram(held.data()), LinkStatus::Ok);
    EXPECT_EQ(r.emulator.commands('H'), 0);

    Bytes program = held;
    program[mem::kRecordName - mem::kProgram] = 'X'; // a new comment
    EXPECT_EQ(q->verifyProgram(program.data()), LinkStatus::Ok);
    EXPECT_EQ(r.emulator.commands('H'), 1);
    EXPECT_EQ(r.emulator.commands('C'), 1); // stopped before the write
    EXPECT_EQ(r.memory()[mem::kRecordName], 'X');
    EXPECT_EQ(q->readRunState(state), LinkStatus::Ok);
    EXPECT_EQ(state, RunState::Stopped);
    EXPECT_EQ(q->isRecording(recording), LinkStatus::Ok);
    EXPECT_FALSE(recording);
}

} // namespace
} // namespace qz::test
