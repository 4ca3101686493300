// The simulated logger kept between runs: what a session sends, the next session (of this
// or another program) finds; its clock and recorder run on for the real time between; a
// damaged or crafted state file gives a fresh logger, never a logger that writes where it
// must not; one session at a time.
#include "link/logger_protocol.h"
#include "model/memory_image.h"
#include "sim/logger_state.h"
#include "sim/presets.h"
#include "sim/stored_logger.h"
#include "support/virtual_clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace qz::sim {
namespace {

using qz::test::VirtualClock;

const QDateTime kMonday(QDate(2026, 3, 9), QTime(10, 0, 0));

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class StoredLoggerTest : public ::testing::Test {
protected:
    StoredLoggerTest() : clock(kMonday) {}

    std::unique_ptr<StoredLogger> program()
    {
        auto s = std::make_unique<StoredLogger>(file, clock);
        s->setLockWaitMs(0);
        s->onWarning([this](const QString& text) { warnings << text; });
        return s;
    }
    std::unique_ptr<LoggerProtocol> connect(StoredLogger& s)
    {
        return std::make_unique<LoggerProtocol>(LinkSettings{"sim", false}, s.makeLine(), clock);
    }
    // The record name as the logger holds it, read over the line.
    QByteArray recordName(StoredLogger& s)
    {
        std::uint8_t program[mem::kProgramSize] = {};
        EXPECT_EQ(connect(s)->readProgram(program), LinkStatus::Ok);
        return QByteArray(reinterpret_cast<const char*>(program) + (mem::kRecordName - mem::kProgram),
                          int(mem::kRecordNameSize))
            .trimmed();
    }
    void setRecordName(StoredLogger& s, const QByteArray& name)
    {
        auto q = connect(s);
        std::uint8_t program[mem::kProgramSize] = {};
        ASSERT_EQ(q->readProgram(program), LinkStatus::Ok);
        std::memset(program + (mem::kRecordName - mem::kProgram), ' ', mem::kRecordNameSize);
        std::memcpy(program + (mem::kRecordName - mem::kProgram), name.constData(), std::size_t(name.size()));
        ASSERT_EQ(q->writeProgram(program), LinkStatus::Ok);
    }
    // A session's logger, looked at directly.
    template <class F> void inSession(StoredLogger& s, F&& look)
    {
        ASSERT_EQ(s.open(), SessionStatus::Opened);
        look(s.emulator().logger());
        s.close();
    }

    QTemporaryDir dir;
    QString file = dir.filePath("cache/quorzk/simulated-logger");
    VirtualClock clock;
    QStringList warnings;
};

TEST_F(StoredLoggerTest, WhatOneProgramSendsTheNextFinds)
{
    {
        auto cli = program();
        EXPECT_EQ(recordName(*cli), "Greenhouse north wall") << "a fresh logger";
        setRecordName(*cli, "Sent from the command line");
    }
    EXPECT_TRUE(QFileInfo::exists(file));
    auto window = program();
    EXPECT_EQ(recordName(*window), "Sent from the command line");
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('|').toStdString();
}

TEST_F(StoredLoggerTest, AFreshLoggerEndsItsRecordingNowOnTheComputersClock)
{
    auto s = program();
    inSession(*s, [&](Logger& logger) {
        const CivilTime t = logger.clock();
        EXPECT_EQ(QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second)), kMonday);
        EXPECT_EQ(logger.runState(), mem::kRunStopped);
        const std::uint8_t* m = logger.memory();
        EXPECT_EQ(m[mem::kDeviceCode] | m[mem::kDeviceCode + 1] << 8, 101);
        // Its start and its records, one each 5 minutes, end within a second before now.
        const std::uint8_t* s = m + mem::kStartStamp;
        const QDateTime start(QDate(2000 + s[0], s[1], s[2]), QTime(s[3], s[4], s[5]));
        const QDateTime last = start.addSecs(logger.recorder().records() * 300);
        EXPECT_LE(last.secsTo(kMonday), 1) << last.toString().toStdString();
        EXPECT_GE(last.secsTo(kMonday), 0) << last.toString().toStdString();
    });
}

TEST_F(StoredLoggerTest, ItsClockAndRecorderRunOnWhileNoProgramHasIt)
{
    auto s = program();
    std::int64_t clockBefore = 0;
    std::int64_t recordsBefore = 0;
    {
        auto q = connect(*s);
        // Recording from now on, every 5 minutes (the model's interval).
        std::uint8_t record[mem::kClockRecordSize] = {};
        ASSERT_EQ(q->readClock(record), LinkStatus::Ok);
        record[mem::kRunState] = mem::kRunRecording;
        ASSERT_EQ(q->writeClock(record), LinkStatus::Ok);
    }
    inSession(*s, [&](Logger& logger) {
        clockBefore = logger.clockUs();
        recordsBefore = logger.recorder().records();
    });
    clock.advance(3 * 3600 * 1000); // three hours with no program running
    auto other = program();
    inSession(*other, [&](Logger& logger) {
        EXPECT_EQ(logger.runState(), mem::kRunRecording);
        EXPECT_NEAR(double(logger.clockUs() - clockBefore), 3 * 3600 * 1e6, 1e6);
        EXPECT_EQ(logger.recorder().records() - recordsBefore, 36) << "one record each 5 minutes";
    });
}

TEST_F(StoredLoggerTest, ALoggerOnlyReadIsNotWrittenAgain)
{
    auto s = program();
    recordName(*s); // made fresh: saved
    const QByteArray saved = readAll(file);
    ASSERT_FALSE(saved.isEmpty());
    clock.advance(60 * 1000);
    recordName(*s);
    EXPECT_EQ(readAll(file), saved) << "a read changes nothing the saved state does not give again";
    setRecordName(*s, "Changed");
    EXPECT_NE(readAll(file), saved);
}

TEST_F(StoredLoggerTest, ADamagedOrStrangeStateFileGivesAFreshLoggerWithAWarning)
{
    // A state that passes every byte check but whose recorder would write past the memory.
    Logger logger;
    loadFreshSimulatedLogger(logger, {2026, 3, 9, 10, 0, 0, 0});
    LoggerState crafted = logger.state();
    crafted.recorder.block = 5000;
    crafted.recorder.active = true;
    const QByteArray good = encodeSavedLogger({logger.state(), 0});
    QByteArray flipped = good;
    flipped[1000] = char(flipped[1000] ^ 0x10);

    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"cut", good.left(good.size() / 2)},
        {"one bit changed", flipped},
        {"another file", QByteArray("[Communication]\nComport=sim\n")},
        {"a recorder outside its memory", encodeSavedLogger({crafted, 0})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        warnings.clear();
        QDir().mkpath(QFileInfo(file).absolutePath());
        ASSERT_TRUE(writeAll(file, c.bytes));
        auto s = program();
        EXPECT_EQ(recordName(*s), "Greenhouse north wall");
        EXPECT_EQ(warnings, QStringList{"The simulated logger's saved state " + file
                                        + " is damaged; a fresh simulated logger replaces it"});
        EXPECT_EQ(decodeSavedLogger(readAll(file)).status, SavedLoggerStatus::Read) << "replaced";
    }
}

TEST_F(StoredLoggerTest, ASavedStateRunsOnAsTheLoggerWouldHave)
{
    // Saved in the middle of a cyclic recording and brought back later, the logger holds
    // exactly what one that never stopped holds.
    Logger running;
    loadMemory(running, {.deviceCode = 1, .content = Content::Wrapped, .intervalSeconds = 7, .running = true});
    const SavedLoggerRead read = decodeSavedLogger(encodeSavedLogger({running.state(), 0}));
    ASSERT_EQ(read.status, SavedLoggerStatus::Read);
    Logger restored;
    ASSERT_TRUE(restored.restore(read.saved.logger));
    for (std::int64_t step : {std::int64_t(1000), std::int64_t(86400) * 40}) {
        running.advance(running.elapsedUs() + step * kUsPerSecond);
        restored.advance(restored.elapsedUs() + step * kUsPerSecond);
        EXPECT_EQ(std::memcmp(running.memory(), restored.memory(), Logger::kMemorySize), 0) << step;
        EXPECT_EQ(running.clockRecord(), restored.clockRecord()) << step;
    }
}

TEST_F(StoredLoggerTest, OneSessionAtATime)
{
    auto window = program();
    auto cli = program(); // another program on the same state file
    auto held = connect(*window);
    ASSERT_EQ(held->openPort(), LinkStatus::Ok);

    EXPECT_EQ(window->open(), SessionStatus::InUse) << "a second job of the same program";
    auto line = cli->makeLine();
    EXPECT_FALSE(line->open("sim"));
    EXPECT_EQ(line->openError(), EWOULDBLOCK) << "told as a serial port in use";

    held.reset(); // the job ends, the port closes
    EXPECT_TRUE(line->open("sim"));
    line->close();
}

TEST_F(StoredLoggerTest, ResetStartsAfresh)
{
    auto s = program();
    setRecordName(*s, "Old");
    s->resetAtNextOpen();
    EXPECT_EQ(recordName(*s), "Greenhouse north wall");
    EXPECT_EQ(recordName(*program()), "Greenhouse north wall") << "and the fresh one is kept";
}

TEST_F(StoredLoggerTest, AStateThatCannotBeSavedLastsWhileTheProgramRuns)
{
    // The cache folder's place is taken by a file: nothing can be saved under it.
    ASSERT_TRUE(writeAll(dir.filePath("cache"), "not a folder"));
    auto s = program();
    setRecordName(*s, "Kept here");
    setRecordName(*s, "Kept here too");
    EXPECT_EQ(recordName(*s), "Kept here too");
    ASSERT_EQ(warnings.size(), 1) << "told once: " << warnings.join('|').toStdString();
    EXPECT_TRUE(warnings[0].startsWith("Cannot keep the simulated logger's state in " + file + ": "))
        << warnings[0].toStdString();
}

TEST_F(StoredLoggerTest, WithoutAStateFileTheLoggerLivesInTheProcess)
{
    StoredLogger s(QString(), clock);
    setRecordName(s, "Only here");
    EXPECT_EQ(recordName(s), "Only here");
}

} // namespace
} // namespace qz::sim
