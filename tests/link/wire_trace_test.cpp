// The wire trace: how bytes are grouped into lines, the file it writes, and a traced line
// that leaves the exchange itself as it was.
#include "emulator_rig.h"
#include "link/line_registry.h"
#include "link/raw_download.h"
#include "link/traced_line.h"
#include "link/wire_trace.h"
#include "link_rig.h"
#include "support/print_qt.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

namespace qz::test {
namespace {

const QByteArray kHeader =
    "# quorzk wire trace: seconds from the start, > to the logger, < from the logger\n";

// A trace file nobody reads, in a folder of its own: a traced line saves when it goes.
struct ScratchTrace {
    explicit ScratchTrace(Clock& clock) : trace(dir.filePath("trace.txt"), clock) {}
    QTemporaryDir dir;
    WireTrace trace;
};

// Everything after the header line.
QByteArray body(WireTrace& trace)
{
    QByteArray text = trace.text();
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
    WireTrace trace("never-saved.txt", clock);
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

TEST(WireTrace, SaveWritesTheWholeTraceAndTellsWhyItCannot)
{
    QTemporaryDir dir;
    VirtualClock clock;
    WireTrace trace(dir.filePath("t.txt"), clock);
    const std::uint8_t frame[] = {0x24, 0x23, 0x24, 0x45};
    trace.sent(frame, 4);
    EXPECT_TRUE(trace.save().isEmpty());
    QFile file(dir.filePath("t.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), kHeader + "    0.000 > 24 23 24 45\n");

    WireTrace nowhere(dir.filePath("no-such-folder/t.txt"), clock);
    QString told;
    nowhere.onSaveFailed([&](const QString& reason) { told = reason; });
    const QString reason = nowhere.save();
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(told, reason);
}

TEST(WireTrace, TheProgramTracesWhenTheEnvironmentNamesAFile)
{
    VirtualClock clock;
    const QByteArray before = qgetenv("QUORZK_TRACE");
    qunsetenv("QUORZK_TRACE");
    EXPECT_EQ(WireTrace::fromEnvironment(clock), nullptr);
    qputenv("QUORZK_TRACE", "/tmp/quorzk-trace.txt");
    const auto trace = WireTrace::fromEnvironment(clock);
    ASSERT_NE(trace, nullptr);
    EXPECT_EQ(trace->path(), "/tmp/quorzk-trace.txt");
    if (before.isNull())
        qunsetenv("QUORZK_TRACE");
    else
        qputenv("QUORZK_TRACE", before);
}

} // namespace
} // namespace qz::test
