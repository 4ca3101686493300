// The readings as text lines and CSV rows, and the loop that takes one reading per period
// on the virtual clock until its count, a stop, or a logger that stops answering.
#include "link/link_failure.h"
#include "model/image_reader.h"
#include "readings_rig.h"
#include "realtime/readings_log.h"
#include "support/image_builder.h"

#include <QLocale>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace qz::test {
namespace {

class ReadingsLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = QLocale();
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override { QLocale::setDefault(previous_); }

    // Inputs 1 (disabled), 2, 3 and 8 of a small logger.
    static InputConversions inputs()
    {
        const QByteArray image =
            ImageBuilder()
                .input(1, {QStringLiteral("Humidity"), QStringLiteral("%RH"), 0, 100, 0, 255 * 256})
                .input(2,
                       {QStringLiteral("Temp"),
                        QStringLiteral("\xb0"
                                       "C"),
                        -20, 60, 0, 200 * 256})
                .input(7, {QStringLiteral("Flow, l/s"), QString(), 0, 10, 0, 250 * 256})
                .build();
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(image.constData());
        return conversionsOf(ImageReader::header({bytes, mem::kHeaderSize}));
    }
    static Reading counts()
    {
        Reading r;
        r.counts = {5, 128, 104, 0, 0, 0, 0, 25, 169};
        return r;
    }

    QLocale previous_;
};

TEST_F(ReadingsLogTest, OneLinePerEnabledInput)
{
    EXPECT_EQ(
        readingLines(inputs(), counts(), false),
        (QStringList{"2 Humidity  50.0 %RH", QString::fromUtf8("3 Temp      21.6 °C"), "8 Flow, l/s 1.00"}));
}

TEST_F(ReadingsLogTest, RawAddsCountsAndTheBattery)
{
    EXPECT_EQ(
        readingLines(inputs(), counts(), true),
        (QStringList{"2 Humidity  50.0 %RH  AD Cnt 128", QString::fromUtf8("3 Temp      21.6 °C  AD Cnt 104"),
                     "8 Flow, l/s 1.00  AD Cnt 25", "Vbatt : 3.32 V"}));
}

TEST_F(ReadingsLogTest, LinesFollowTheLocaleCsvKeepsThePoint)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(readingLines(inputs(), counts(), false)[0], "2 Humidity  50,0 %RH");
    const QDateTime at(QDate(2026, 3, 5), QTime(14, 7, 9), QTimeZone(3600));
    EXPECT_EQ(csvHeader(inputs(), false),
              QString::fromUtf8("time,2 Humidity (%RH),3 Temp (°C),\"8 Flow, l/s\""));
    EXPECT_EQ(csvRow(at, inputs(), counts(), false), "2026-03-05T14:07:09+01:00,50.0,21.6,1.00");
    EXPECT_EQ(csvHeader(inputs(), true),
              QString::fromUtf8(
                  "time,2 Humidity (%RH),2 AD Cnt,3 Temp (°C),3 AD Cnt,\"8 Flow, l/s\",8 AD Cnt,Vbatt"));
    EXPECT_EQ(csvRow(at, inputs(), counts(), true),
              "2026-03-05T14:07:09+01:00,50.0,128,21.6,104,1.00,25,3.32");
}

TEST_F(ReadingsLogTest, TimesCarryTheirOffset)
{
    const QDate d(2026, 7, 1);
    const QTime t(0, 0, 5);
    EXPECT_EQ(isoLocalTime(QDateTime(d, t, QTimeZone(0))), "2026-07-01T00:00:05+00:00");
    EXPECT_EQ(isoLocalTime(QDateTime(d, t, QTimeZone(-(3 * 3600 + 1800)))), "2026-07-01T00:00:05-03:30");
    EXPECT_EQ(isoLocalTime(QDateTime(d, t, QTimeZone(13 * 3600 + 2700))), "2026-07-01T00:00:05+13:45");
}

// The loop on the emulated logger (model 485: eight inputs).
class ReadingsLoopTest : public ReadingsLogTest {
protected:
    LogEnd Run(
        const ReadingsLogOptions& options, std::function<bool()> stop = [] { return false; })
    {
        auto logger = rig_.open();
        LinkStatus failed = LinkStatus::Ok;
        const LogEnd end = runReadingsLog(
            *logger, inputs(), options, rig_.clock, stop,
            [this](const QStringList& lines) {
                writes_.push_back(lines);
                ticks_.push_back(rig_.clock.tickMs());
            },
            failed);
        // Told as the command-line tool tells it.
        if (const std::optional<Message> m = linkMessage(LinkFailure{failed, "sim"}))
            rig_.prompt.tell(*m);
        return end;
    }

    ReadingsRig rig_;
    std::vector<QStringList> writes_;
    std::vector<std::int64_t> ticks_;
};

TEST_F(ReadingsLoopTest, OneReadingPerPeriod)
{
    rig_.holdAll(20);
    EXPECT_EQ(Run({.count = 3, .periodMs = 1000}), LogEnd::Done);
    ASSERT_EQ(writes_.size(), 3u);
    EXPECT_EQ(rig_.frames('F'), 3);
    EXPECT_EQ(rig_.frames('E'), 0) << "the loop reads a logger that has answered, without pings";
    // A reading every second from the start of the first, whose port opening took
    // 500 ms of it.
    EXPECT_EQ(ticks_[1] - ticks_[0], 500);
    EXPECT_EQ(ticks_[2] - ticks_[1], 1000);
    EXPECT_EQ(writes_[0].size(), 3);
    EXPECT_EQ(writes_[1].front(), QString()) << "readings are apart by a blank line";
    EXPECT_TRUE(rig_.prompt.records().empty());
}

TEST_F(ReadingsLoopTest, CsvStartsWithItsHeaderAndStampsEachRow)
{
    rig_.holdAll(20);
    EXPECT_EQ(Run({.count = 2, .periodMs = 0, .raw = true, .csv = true}), LogEnd::Done);
    ASSERT_EQ(writes_.size(), 3u);
    EXPECT_EQ(writes_[0], QStringList{csvHeader(inputs(), true)});
    EXPECT_EQ(rig_.frames('G'), 2);
    const QString stamp = isoLocalTime(rig_.clock.localNow());
    EXPECT_TRUE(writes_[2][0].startsWith(stamp.left(16))) << writes_[2][0].toStdString();
    EXPECT_TRUE(writes_[2][0].endsWith(",3.60")) << writes_[2][0].toStdString();
}

TEST_F(ReadingsLoopTest, AStopBetweenReadingsEndsTheLoop)
{
    int asked = 0;
    // Stop once the second reading is written: the wait for the third sees it.
    EXPECT_EQ(Run({.count = 0, .periodMs = 1000},
                  [&] {
                      ++asked;
                      return writes_.size() >= 2;
                  }),
              LogEnd::Stopped);
    EXPECT_EQ(writes_.size(), 2u);
    EXPECT_GT(asked, 2);
    EXPECT_EQ(Run({.count = 5}, [] { return true; }), LogEnd::Stopped);
    EXPECT_EQ(writes_.size(), 2u) << "a stop before the first reading reads nothing";
}

TEST_F(ReadingsLoopTest, ALoggerThatStopsAnsweringEndsItWithOneMessage)
{
    rig_.silence(2, 0); // two readings, then nothing
    EXPECT_EQ(Run({.count = 0, .periodMs = 1000}), LogEnd::NotResponding);
    EXPECT_EQ(writes_.size(), 2u);
    EXPECT_EQ(rig_.prompt.texts(), QStringList{"Device Not Responding"});
}

TEST_F(ReadingsLoopTest, ASlowReadingIsFollowedAtOnceWithoutABurst)
{
    // Slow echoes (inside the logger's 250 ms frame pause) make each reading take longer
    // than the period.
    sim::Fault slow;
    slow.kind = sim::FaultKind::SlowEcho;
    slow.frame = 0;
    slow.frames = 0;
    slow.delayUs = 200000;
    rig_.emulator.addFault(slow);
    EXPECT_EQ(Run({.count = 4, .periodMs = 500}), LogEnd::Done);
    ASSERT_EQ(ticks_.size(), 4u);
    const std::int64_t reading = ticks_[2] - ticks_[1];
    EXPECT_GT(reading, 500);
    EXPECT_EQ(ticks_[2] - ticks_[1], reading);
    EXPECT_EQ(ticks_[3] - ticks_[2], reading);
}

} // namespace
} // namespace qz::test
