// The wire trace: how bytes are grouped into lines, the file it writes, and a traced line
// that leaves the exchange itself as it was.
#include "emulator_rig.h"
#include "link/line_registry.h"
#include "link/raw_download.h"
#include "link/traced_line.h"
#include "link/wire_trace.h"
#include "link_rig.h"
#include "support/print_qt.h"
#include "support/scoped_env.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

namespace qz::test {
namespace {

// The header line of a trace begun on the virtual clock's start.
const QByteArray kHeader =
    "# quorzk wire trace from 2026-03-05 14:07:09: seconds from then, > to the logger, < "
    "from it\n";

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A trace file in a folder of its own.
struct ScratchTrace {
    explicit ScratchTrace(Clock& clock, std::int64_t rotationBytes = WireTrace::kRotationBytes)
        : trace(dir.filePath("trace.txt"), clock, rotationBytes)
    {}
    QByteArray file() const { return fileBytes(trace.path()); }
    QTemporaryDir dir;
    WireTrace trace;
};

// The file after the header line, with the exchange still open written out.
QByteArray body(WireTrace& trace)
{
    trace.endExchange();
    const QByteArray text = fileBytes(trace.path());
    return text.startsWith(kHeader) ? text.mid(kHeader.size()) : "(no header) " + text;
}

// One step of a scripted line: bytes one way, time passing, or the program dropping what
// waits unread.
struct Step {
    enum Kind {
        Send,
        Receive,
        Drop,
        Wait
    } kind;
    std::vector<std::uint8_t> bytes;
    int ms = 0;
};
Step out(std::vector<std::uint8_t> b)
{
    return {Step::Send, std::move(b)};
}
Step in(std::vector<std::uint8_t> b)
{
    return {Step::Receive, std::move(b)};
}
Step drop(std::vector<std::uint8_t> b)
{
    return {Step::Drop, std::move(b)};
}
Step wait(int ms)
{
    return {Step::Wait, {}, ms};
}

std::vector<std::uint8_t> run(std::uint8_t first, int n)
{
    std::vector<std::uint8_t> b(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        b[std::size_t(i)] = std::uint8_t(first + i);
    return b;
}

struct GroupingCase {
    const char* name;
    std::vector<Step> steps;
    QByteArray expected;
};

void PrintTo(const GroupingCase& c, std::ostream* os)
{
    *os << c.name;
}

class TraceGrouping : public ::testing::TestWithParam<GroupingCase> {};

TEST_P(TraceGrouping, LinesShowTheExchange)
{
    VirtualClock clock;
    ScratchTrace scratch(clock);
    WireTrace& trace = scratch.trace;
    for (const Step& s : GetParam().steps) {
        switch (s.kind) {
        case Step::Send:
            trace.sent(s.bytes.data(), std::int64_t(s.bytes.size()));
            break;
        case Step::Receive:
            trace.received(s.bytes.data(), std::int64_t(s.bytes.size()));
            break;
        case Step::Drop:
            trace.dropped(s.bytes.data(), std::int64_t(s.bytes.size()));
            break;
        case Step::Wait:
            clock.advance(s.ms);
            break;
        }
    }
    EXPECT_EQ(body(trace), GetParam().expected);
}

// Echo pacing puts each byte out and its echo back before the next byte goes.
std::vector<Step> echoed(const std::vector<std::uint8_t>& frame)
{
    std::vector<Step> steps;
    for (std::uint8_t b : frame) {
        steps.push_back(out({b}));
        steps.push_back(in({b}));
    }
    return steps;
}

std::vector<Step> operator+(std::vector<Step> a, const std::vector<Step>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Exchanges, TraceGrouping,
    ::testing::Values(GroupingCase{"FrameEchoesAndReply",
                                   echoed({0x24, 0x23, 0x24, 0x44, 0x00, 0x00, 0x08})
                                       + std::vector<Step>{wait(3), in(run(0x41, 8)), in({0x24, 0x02})},
                                   "    0.000 > 24 23 24 44 00 00 08\n"
                                   "    0.000 < 24 23 24 44 00 00 08\n"
                                   "    0.003 < 41 42 43 44 45 46 47 48 24 02\n"},
                      GroupingCase{"LongRunsWrapAtSixteenBytes",
                                   {wait(12345), out(run(0, 20))},
                                   "   12.345 > 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\n"
                                   "          > 10 11 12 13\n"},
                      GroupingCase{"APauseEndsTheLines",
                                   {out({0x24}), in({0x24}), wait(101), out({0x23}), in({0x23})},
                                   "    0.000 > 24\n"
                                   "    0.000 < 24\n"
                                   "    0.101 > 23\n"
                                   "    0.101 < 23\n"},
                      GroupingCase{"SendingAfterAReplyBeginsANewExchange",
                                   {out({0x41, 0x54, 0x0D}), in({0x41, 0x54, 0x0D, 0x4F, 0x4B}), wait(5),
                                    out({0x41, 0x54, 0x0D})},
                                   "    0.000 > 41 54 0D\n"
                                   "    0.000 < 41 54 0D\n"
                                   "    0.000 < 4F 4B\n"
                                   "    0.005 > 41 54 0D\n"},
                      GroupingCase{
                          "AMissingEchoLeavesTheFrameAlone", {out({0x24}), wait(301)}, "    0.000 > 24\n"},
                      GroupingCase{"BytesDroppedUnreadAreShown",
                                   {out({0x24}), in({0x24}), wait(50), drop({0x99, 0x98})},
                                   "    0.000 > 24\n"
                                   "    0.000 < 24\n"
                                   "    0.050 < 99 98   (dropped unread)\n"},
                      GroupingCase{"BytesThatCameFirstAreWrittenFirst",
                                   {in({0x55}), out({0x24})},
                                   "    0.000 < 55\n"
                                   "    0.000 > 24\n"}),
    [](const ::testing::TestParamInfo<GroupingCase>& info) { return std::string(info.param.name); });

TEST(WireTrace, ATransactionShowsItsFrameBothWays)
{
    LinkRig r;
    for (int i = 0; i < 8; ++i)
        r.logger.memory[std::size_t(i)] = std::uint8_t(0x41 + i);
    ScratchTrace scratch(r.clock);
    WireTrace& trace = scratch.trace;
    LoggerProtocol q(LinkSettings{"fake", false},
                     std::make_unique<TracedLine>(std::make_unique<FakeLoggerLine>(r.logger, r.clock), trace),
                     r.clock);
    std::uint8_t ident[8];
    ASSERT_EQ(q.readIdent(ident), LinkStatus::Ok);
    EXPECT_EQ(body(trace),
              "    0.000 * open fake\n"
              "    0.500 > 24 23 24 44 00 00 08\n"
              "    0.500 < 24 23 24 44 00 00 08\n"
              "    0.500 < 41 42 43 44 45 46 47 48 24 02\n");
}

TEST(WireTrace, APortThatDoesNotOpenIsTracedWithTheReason)
{
    VirtualClock clock;
    ScratchTrace scratch(clock);
    WireTrace& trace = scratch.trace;
    LineRegistry lines;
    lines.setTrace(&trace);
    auto line = lines.make("/nonexistent/ttyQZ7");
    EXPECT_FALSE(line->open("/nonexistent/ttyQZ7"));
    EXPECT_EQ(body(trace), "    0.000 * open /nonexistent/ttyQZ7 failed: No such file or directory\n");
}

TEST(WireTrace, ATracedDownloadIsTheSameDownload)
{
    struct Result {
        std::vector<std::uint8_t> image;
        std::int64_t ms = 0;
        QStringList messages;
    };
    const auto download = [](bool traced) {
        EmulatorRig r({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12});
        ScratchTrace scratch(r.clock);
        LineRegistry lines;
        lines.addNamed("sim", [&] { return std::make_unique<sim::EmulatorLine>(r.emulator, r.clock); });
        if (traced)
            lines.setTrace(&scratch.trace);
        Result result;
        {
            LoggerProtocol q(LinkSettings{"sim", false}, lines.make("sim"), r.clock);
            LinkTeller report(q, r.prompt);
            const RawDownload d = rawDownload(q, r.progress);
            report.ok(d.link);
            result.image = d.image;
        }
        result.ms = r.clock.tickMs();
        result.messages = r.prompt.texts();
        return result;
    };
    const Result plain = download(false);
    const Result traced = download(true);
    ASSERT_FALSE(plain.image.empty());
    EXPECT_EQ(traced.image, plain.image);
    EXPECT_EQ(traced.ms, plain.ms) << "the trace takes no line time";
    EXPECT_EQ(traced.messages, plain.messages);
}

TEST(WireTrace, AFailedExchangeShowsItsStatusAfterItsBytes)
{
    const struct {
        const char* status;
        void (*fault)(FakeLoggerState&);
    } cases[] = {
        {"no echo", [](FakeLoggerState& s) { s.silentFrames = 1; }},
        {"bad echo",
         [](FakeLoggerState& s) {
             s.wrongEchoIndex = 4;
             s.wrongEchoFrames = 1;
         }},
        {"short reply", [](FakeLoggerState& s) { s.silentReplies = 1; }},
        {"bad checksum", [](FakeLoggerState& s) { s.badChecksumReplies = 1; }},
    };
    for (const auto& c : cases) {
        LinkRig r;
        c.fault(r.logger);
        ScratchTrace scratch(r.clock);
        LoggerProtocol q(
            LinkSettings{"fake", false},
            std::make_unique<TracedLine>(std::make_unique<FakeLoggerLine>(r.logger, r.clock), scratch.trace),
            r.clock);
        std::uint8_t ident[8];
        ASSERT_EQ(q.readIdent(ident), LinkStatus::Ok) << c.status << ": the second attempt is answered";
        const QList<QByteArray> lines = body(scratch.trace).split('\n');
        // The events, and where the failure stands.
        QList<QByteArray> events;
        qsizetype at = -1;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].mid(10, 1) != "*")
                continue;
            events << lines[i].mid(12);
            if (events.constLast() == c.status)
                at = i;
        }
        EXPECT_EQ(events, (QList<QByteArray>{"open fake", c.status})) << c.status;
        ASSERT_GT(at, 1) << c.status;
        ASSERT_LT(at + 1, lines.size()) << c.status;
        // After the bytes of the failed attempt, before the frame of the next.
        EXPECT_NE(lines[at - 1].mid(10, 1), "*") << c.status;
        EXPECT_TRUE(lines[at + 1].mid(10).startsWith("> 24 23 24 44")) << c.status << "\n"
                                                                       << lines.join('\n').toStdString();
    }
}

TEST(WireTrace, EachExchangeIsInTheFileOnceItEnds)
{
    VirtualClock clock;
    ScratchTrace scratch(clock);
    const std::uint8_t frame[] = {0x24, 0x23, 0x24, 0x45};
    scratch.trace.event("open fake");
    EXPECT_EQ(scratch.file(), kHeader + "    0.000 * open fake\n") << "an event is written at once";
    scratch.trace.sent(frame, 4);
    scratch.trace.received(frame, 4);
    EXPECT_EQ(scratch.file(), kHeader + "    0.000 * open fake\n") << "the exchange has not ended";
    clock.advance(150);
    scratch.trace.sent(frame, 4); // after a pause: the first exchange ended
    EXPECT_EQ(scratch.file(),
              kHeader
                  + "    0.000 * open fake\n"
                    "    0.000 > 24 23 24 45\n"
                    "    0.000 < 24 23 24 45\n");
}

TEST(WireTrace, ANewTraceIsAppendedToTheFileThere)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.txt");
    {
        VirtualClock clock;
        WireTrace first(path, clock);
        first.event("open a");
    }
    {
        VirtualClock clock(QDateTime(QDate(2026, 3, 6), QTime(8, 0, 0)));
        WireTrace second(path, clock);
        clock.advance(1250);
        second.event("open b");
    }
    EXPECT_EQ(
        fileBytes(path),
        kHeader
            + "    0.000 * open a\n"
              "# quorzk wire trace from 2026-03-06 08:00:00: seconds from then, > to the logger, < from it\n"
              "    1.250 * open b\n");
}

TEST(WireTrace, AFileThatCannotBeWrittenIsToldOnceAndTheTraceGoesOn)
{
    QTemporaryDir dir;
    VirtualClock clock;
    WireTrace nowhere(dir.filePath("no-such-folder/t.txt"), clock);
    QStringList told;
    nowhere.onWriteFailed([&](const QString& reason) { told << reason; });
    const std::uint8_t frame[] = {0x24, 0x23, 0x24, 0x45};
    for (int i = 0; i < 3; ++i) {
        nowhere.event("open fake");
        nowhere.sent(frame, 4);
        nowhere.endExchange();
    }
    EXPECT_EQ(told, QStringList{"No such file or directory"});
    EXPECT_EQ(nowhere.failure(), "No such file or directory");
}

TEST(WireTrace, AFullFileBecomesTheOldOneAndANewOneBegins)
{
    VirtualClock clock;
    // Room for the header and four lines of 24 bytes.
    const std::int64_t bound = kHeader.size() + 4 * 24;
    ScratchTrace scratch(clock, bound);
    WireTrace& trace = scratch.trace;
    const QString older = trace.previousPath();
    ASSERT_TRUE(QFile(older).open(QIODevice::WriteOnly)) << "an older file, to be replaced";
    const std::uint8_t frame[] = {0x24, 0x23, 0x24, 0x45};
    const auto exchange = [&](int ms) {
        clock.advance(ms);
        trace.sent(frame, 4);
        trace.received(frame, 4);
        trace.endExchange(); // two lines of 24 bytes
    };
    exchange(0);
    exchange(1000);
    EXPECT_FALSE(QFile(older).size() > 0) << "not full yet";
    exchange(1000);
    EXPECT_EQ(fileBytes(older),
              kHeader
                  + "    0.000 > 24 23 24 45\n"
                    "    0.000 < 24 23 24 45\n"
                    "    1.000 > 24 23 24 45\n"
                    "    1.000 < 24 23 24 45\n");
    EXPECT_EQ(scratch.file(),
              kHeader
                  + "    2.000 > 24 23 24 45\n"
                    "    2.000 < 24 23 24 45\n")
        << "the exchange that did not fit begins the new file, which counts from the same start";
    EXPECT_TRUE(trace.failure().isEmpty());
}

TEST(WireTrace, AFileLeftFullIsSetAsideBeforeANewTraceWrites)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.txt");
    const QByteArray full(200, 'x');
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(full);
    }
    VirtualClock clock;
    WireTrace trace(path, clock, full.size());
    trace.event("open fake");
    EXPECT_EQ(fileBytes(path), kHeader + "    0.000 * open fake\n");
    EXPECT_EQ(fileBytes(trace.previousPath()), full);
}

TEST(WireTrace, TheProgramTracesWhenTheEnvironmentNamesAFile)
{
    QTemporaryDir dir;
    LinkRig r;
    {
        ScopedEnv unset("QUORZK_TRACE", QString());
        EXPECT_EQ(WireTrace::fromEnvironment(r.clock), nullptr);
    }
    ScopedEnv named("QUORZK_TRACE", dir.filePath("program.trace"));
    const auto trace = WireTrace::fromEnvironment(r.clock);
    ASSERT_NE(trace, nullptr);
    EXPECT_EQ(trace->path(), dir.filePath("program.trace"));
    LineRegistry lines;
    lines.addNamed("fake", [&] { return std::make_unique<FakeLoggerLine>(r.logger, r.clock); });
    lines.setTrace(trace.get());
    LoggerProtocol q(LinkSettings{"fake", false}, lines.make("fake"), r.clock);
    std::uint8_t clockRecord[16];
    ASSERT_EQ(q.readClock(clockRecord), LinkStatus::Ok);
    ASSERT_EQ(q.readClock(clockRecord), LinkStatus::Ok);
    // The port is still open: the first read is in the file already.
    const QByteArray text = fileBytes(dir.filePath("program.trace"));
    EXPECT_TRUE(text.startsWith(kHeader)) << text.toStdString();
    EXPECT_TRUE(text.contains("    0.500 > 24 23 24 45\n")) << text.toStdString();
}

} // namespace
} // namespace qz::test
