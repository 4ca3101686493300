#include "sim/logger.h"

#include "model/memory_image.h"
#include "model/values.h"

#include <algorithm>

namespace qz::sim {

Logger::Logger(const CivilTime& clock, std::uint64_t seed) : memory_(kMemorySize, 0), sensors_(seed)
{
    std::fill(memory_.begin() + mem::kHeaderSize, memory_.end(), std::uint8_t(0xFF));
    setClock(clock);
}

void Logger::eraseData()
{
    std::fill(memory_.begin() + mem::kHeaderSize, memory_.end(), std::uint8_t(0xFF));
    std::fill_n(memory_.begin() + mem::kBlocksUsed, 4, std::uint8_t(0));
}

void Logger::setClock(const CivilTime& t)
{
    if (isValidCivil(t))
        offsetUs_ = civilToUs(t) - elapsedUs_;
}

void Logger::advance(std::int64_t elapsedUs)
{
    if (elapsedUs <= elapsedUs_)
        return;
    if (runState_ == mem::kRunWaiting && alarmUs_ >= 0) {
        const std::int64_t alarmElapsed = alarmUs_ - offsetUs_;
        if (alarmElapsed <= elapsedUs) {
            elapsedUs_ = std::max(elapsedUs_, alarmElapsed);
            beginRecording();
        }
    }
    if (recorder_.active()) {
        recorder_.advance(memory_.data(), elapsedUs, offsetUs_, sensors_);
        if (recorder_.full())
            runState_ = mem::kRunStopped;
    }
    elapsedUs_ = elapsedUs;
}

ClockRecord Logger::clockRecord() const
{
    const CivilTime t = clock();
    ClockRecord r{};
    r[mem::kClockControl] = control_;
    r[mem::kClockHundredths] = intToBcd(t.hundredths);
    r[mem::kClockSecond] = intToBcd(t.second);
    r[mem::kClockMinute] = intToBcd(t.minute);
    r[mem::kClockHour] = intToBcd(t.hour);
    r[mem::kClockDay] = std::uint8_t(intToBcd(t.day) | (t.year % 4) << 6);
    r[mem::kClockMonth] = intToBcd(t.month);
    r[mem::kClockReserved] = byte7_;
    r[mem::kRunState] = runState_;
    std::copy(start_.begin(), start_.end(), r.begin() + mem::kClockStart);
    r[mem::kClockLast] = byte15_;
    return r;
}

int Logger::chooseYear(int yearBits) const
{
    const int stored = bcdValue(memory_[mem::kYearBcd]);
    if (stored >= 0) {
        const int year = stored < 80 ? 2000 + stored : 1900 + stored;
        if (year % 4 == yearBits)
            return year;
    }
    const int current = clock().year;
    for (int d : {0, 1, -1, 2})
        if ((current + d) % 4 == yearBits)
            return current + d;
    return current;
}

void Logger::writeClockRecord(const std::uint8_t* r)
{
    control_ = r[mem::kClockControl];
    byte7_ = r[mem::kClockReserved];
    byte15_ = r[mem::kClockLast];
    std::copy(r + mem::kClockStart, r + mem::kClockStart + mem::kClockTimeSize, start_.begin());

    CivilTime t;
    t.hundredths = bcdValue(r[mem::kClockHundredths]);
    t.second = bcdValue(r[mem::kClockSecond]);
    t.minute = bcdValue(r[mem::kClockMinute]);
    t.hour = bcdValue(r[mem::kClockHour]);
    t.day = bcdValue(std::uint8_t(r[mem::kClockDay] & 0x3F));
    t.month = bcdValue(r[mem::kClockMonth]);
    t.year = chooseYear(r[mem::kClockDay] >> 6);
    setClock(t); // refused when not a real time

    const std::uint8_t state = r[mem::kRunState];
    if (state == mem::kRunRecording) {
        if (runState_ != mem::kRunRecording)
            beginRecording();
        return;
    }
    if (state == mem::kRunWaiting) {
        CivilTime s;
        s.second = bcdValue(r[mem::kClockStart + 1]);
        s.minute = bcdValue(r[mem::kClockStart + 2]);
        s.hour = bcdValue(r[mem::kClockStart + 3]);
        s.day = bcdValue(std::uint8_t(r[mem::kClockStart + 4] & 0x3F));
        s.month = bcdValue(r[mem::kClockStart + 5]);
        s.hundredths = 0;
        startAt(s);
        return;
    }
    stop();
    runState_ = state;
}

void Logger::startRecording()
{
    if (runState_ != mem::kRunRecording)
        beginRecording();
}

void Logger::beginRecording()
{
    alarmUs_ = -1;
    runState_ = mem::kRunRecording;
    recorder_.start(memory_.data(), elapsedUs_, clockUs(), sensors_);
}

void Logger::startAt(const CivilTime& when)
{
    recorder_.stop();
    runState_ = mem::kRunWaiting;
    alarmUs_ = -1;
    const int year = clock().year;
    for (int y : {year, year + 1, year + 2, year + 3, year + 4}) {
        CivilTime s = when;
        s.year = y;
        if (isValidCivil(s) && civilToUs(s) >= clockUs()) {
            alarmUs_ = civilToUs(s);
            return;
        }
    }
}

void Logger::stop()
{
    recorder_.stop();
    alarmUs_ = -1;
    runState_ = mem::kRunStopped;
}

LoggerState Logger::state() const
{
    return {memory_,  elapsedUs_, offsetUs_, control_, byte7_,           byte15_,
            start_,   runState_,  alarmUs_,  sensors_.state(), recorder_.state()};
}

bool Logger::restore(const LoggerState& s)
{
    static const std::int64_t kClockEnd = civilToUs({2100, 1, 1, 0, 0, 0, 0});
    const bool sound = s.memory.size() == kMemorySize && s.elapsedUs >= 0
        && s.elapsedUs < kClockEnd * 1000 && s.offsetUs >= -s.elapsedUs
        && s.offsetUs < kClockEnd - s.elapsedUs && s.alarmUs >= -1 && s.alarmUs < kClockEnd;
    Recorder recorder;
    if (!sound || !recorder.restore(s.recorder))
        return false;
    memory_ = s.memory;
    elapsedUs_ = s.elapsedUs;
    offsetUs_ = s.offsetUs;
    control_ = s.control;
    byte7_ = s.byte7;
    byte15_ = s.byte15;
    start_ = s.start;
    runState_ = s.runState;
    alarmUs_ = s.alarmUs;
    sensors_.restore(s.sensors);
    recorder_ = recorder;
    return true;
}

Readings Logger::readings() const
{
    Readings r{};
    for (int i = 0; i < mem::kInputs; ++i)
        r[std::size_t(i)] = sensors_.raw(i, clockUs());
    r[frames::kBatteryInReadings] = std::uint8_t(sensors_.batteryCount());
    return r;
}

} // namespace qz::sim
