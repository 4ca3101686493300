// The logger's state as the Logger status window shows it, from a device read of the
// emulator: the run state, the clock beside the host's, the memory used and when it is full.
#include "job_rig.h"
#include "jobs/device_read_job.h"
#include "jobs/logger_status.h"
#include "model/memory_image.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

QString lineOf(const LoggerStatus& s, const QString& label)
{
    for (const auto& [l, text] : statusLines(s))
        if (l == label)
            return text;
    return QStringLiteral("(no line %1)").arg(label);
}

LoggerStatus readStatus(JobRig& r)
{
    auto q = r.make();
    const DeviceReadResult d = deviceReadJob(*q, ConnectPolicy::Ask, r.progress);
    EXPECT_EQ(d.status, DeviceReadStatus::Read);
    return loggerStatus(d, r.catalog());
}

enum class RunState {
    Stopped,
    Recording,
    Waiting
};

TEST(LoggerStatus, SaysWhatTheLoggerIsDoingAndWhenItsMemoryIsFull)
{
    struct Case {
        const char* name;
        RunState run;
        const char* state;
        const char* recording;
        const char* used;
        const char* full;
    } cases[] = {
        {"stopped", RunState::Stopped, "stopped", "every 1 min",
         "508 blocks; a download tells what they hold", "not while it is stopped"},
        {"recording", RunState::Recording, "recording", "every 1 min since 2026-02-27 08:00",
         "169 of 508 blocks (33 %)", "on 2026-03-04 15:00"},
        {"waiting", RunState::Waiting, "waiting to start", "every 1 min from 2026-03-06 08:00",
         "0 of 508 blocks (0 %)", "on 2026-03-11 15:00"},
    };
    for (const Case& c : cases) {
        sim::MemoryPreset preset;
        preset.running = c.run == RunState::Recording;
        JobRig r(preset);
        if (c.run == RunState::Waiting) {
            // As a configuration with a delayed start leaves it: the start in the header.
            const std::uint8_t stamp[] = {26, 3, 6, 8, 0, 0};
            std::copy(std::begin(stamp), std::end(stamp), r.memory() + mem::kStartStamp);
            r.emulator.logger().startAt({2026, 3, 6, 8, 0, 0, 0});
        }
        const LoggerStatus s = readStatus(r);
        EXPECT_EQ(lineOf(s, "State:"), c.state) << c.name;
        EXPECT_EQ(lineOf(s, "Recording:"), c.recording) << c.name;
        EXPECT_EQ(lineOf(s, "Memory used:"), c.used) << c.name;
        EXPECT_EQ(lineOf(s, "Memory full:"), c.full) << c.name;
        EXPECT_TRUE(lineOf(s, "Model:").startsWith("ZK-485")) << lineOf(s, "Model:").toStdString();
        EXPECT_EQ(lineOf(s, "Serial number:"), "SIM5 (Simulated logger)") << c.name;
    }
}

TEST(LoggerStatus, TheClockIsToldWithItsYearAndItsDriftFromThisComputer)
{
    struct Case {
        const char* name;
        QDateTime host;
        sim::CivilTime logger;
        const char* clock;
    } cases[] = {
        {"on time",
         QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)),
         {2026, 3, 5, 14, 7, 9, 0},
         "2026-03-05 14:07:09, in step with this computer's clock"},
        {"behind",
         QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)),
         {2026, 3, 5, 14, 7, 5, 0},
         "2026-03-05 14:07:05, 4 s behind this computer's clock"},
        {"ahead",
         QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)),
         {2026, 3, 5, 15, 9, 19, 0},
         "2026-03-05 15:09:19, 1 h 2 min 10 s ahead of this computer's clock"},
        // The record keeps the year's remainder by 4 only: across New Year the year
        // nearest this computer's is the logger's.
        {"new year ahead",
         QDateTime(QDate(2026, 12, 31), QTime(23, 59, 50)),
         {2027, 1, 1, 0, 0, 5, 0},
         "2027-01-01 00:00:05, 15 s ahead of this computer's clock"},
        {"new year behind",
         QDateTime(QDate(2027, 1, 1), QTime(0, 0, 2)),
         {2026, 12, 31, 23, 59, 59, 0},
         "2026-12-31 23:59:59, 3 s behind this computer's clock"},
    };
    for (const Case& c : cases) {
        JobRig r;
        r.clock.setLocalNow(c.host);
        r.emulator.logger().setClock(c.logger);
        const LoggerStatus s = readStatus(r);
        // The ping and the reads take a few virtual milliseconds: whole seconds are told.
        EXPECT_EQ(lineOf(s, "Logger clock:"), c.clock) << c.name;
    }
}

} // namespace
} // namespace qz::test
