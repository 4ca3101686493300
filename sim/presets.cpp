#include "sim/presets.h"

#include "model/byte_view.h"
#include "model/memory_image.h"
#include "model/real48.h"
#include "model/simulated_logger.h"
#include "model/values.h"
#include "sim/sensors.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qz::sim {

namespace {

// Fixed-width text: the bytes as they are (Latin-1), then the filler.
void putText(std::uint8_t* m, std::size_t at, std::size_t width, const char* text, char fill)
{
    const std::size_t n = std::min(width, std::strlen(text));
    std::memcpy(m + at, text, n);
    std::memset(m + at + n, fill, width - n);
}

int samplingPeriodFor(int interval)
{
    for (int p : {10, 5, 2})
        if (interval % p == 0 && interval / p <= 65535)
            return p;
    return interval <= 65535 ? 1 : 255;
}

} // namespace

ModelDefaults defaultsFor(std::uint16_t code)
{
    switch (code) {
    case 1:
        return {
            1, 600, "Cold room 2", {TempIn, TempOut, Humidity, Supply, Current, Pressure, Light, TempBox}};
    case 69:
        return {2,
                300,
                "Archive store, ground floor",
                {TempIn, Humidity, TempOut, Supply, Current, Pressure, Light, TempBox}};
    case 101:
        return {4,
                300,
                "Greenhouse north wall",
                {TempIn, TempOut, TempBox, Humidity, Supply, Current, Pressure, Light}};
    case 197:
        return {3,
                120,
                "Weather mast, site B",
                {Humidity, TempOut, Pressure, Light, TempIn, Supply, Current, TempBox}};
    case 293:
        return {2,
                900,
                "Pump station battery",
                {Supply, Current, TempBox, TempIn, Humidity, TempOut, Pressure, Light}};
    case 485:
        return {8, 60, "Plant room monitoring", kAllKinds};
    default:
        return {4, 300, "Field recording", kAllKinds};
    }
}

void writeHeader(std::uint8_t* m, const MemoryPreset& preset)
{
    const ModelDefaults d = defaultsFor(preset.deviceCode);
    const int inputs = std::clamp(preset.inputs > 0 ? preset.inputs : d.inputs, 1, mem::kInputs);
    const int interval =
        std::clamp(preset.intervalSeconds > 0 ? preset.intervalSeconds : d.intervalSeconds, 1, 3600 * 24);
    std::fill(m, m + mem::kHeaderSize, std::uint8_t(0));
    const ByteView header{m, mem::kHeaderSize};

    // The simulated logger's mark (model/simulated_logger.h) and the code's last digit.
    char serial[8];
    std::snprintf(serial, sizeof serial, "%s%d", kSimulatedSerialPrefix, preset.deviceCode % 10);
    putText(m, mem::kSerialNumber, mem::kSerialNumberSize,
            preset.serial.empty() ? serial : preset.serial.c_str(), ' ');
    header.setU16(mem::kDeviceCode, preset.deviceCode);

    for (int i = 0; i < mem::kInputs; ++i) {
        const InputProfile& p = profileOf(d.kinds[std::size_t(i)]);
        header.setU16(mem::kCalLow + 2 * std::size_t(i), p.calLow);
        header.setU16(mem::kCalHigh + 2 * std::size_t(i), p.calHigh);
        const std::size_t at = mem::descriptorAddress(i);
        putText(m, at + mem::kInputName, mem::kInputNameSize, p.name, '\0');
        putText(m, at + mem::kInputUnit, mem::kInputUnitSize, p.unit, '\0');
        doubleToReal48(p.scaleLow, m + at + mem::kScaleLow);
        doubleToReal48(p.scaleHigh, m + at + mem::kScaleHigh);
    }

    putText(m, mem::kRecordName, mem::kRecordNameSize, d.recordName, ' ');
    const int period = samplingPeriodFor(interval);
    m[mem::kSamplingPeriod] = std::uint8_t(period);
    m[mem::kSamplingReload] = std::uint8_t(period);
    m[mem::kSamplingInterval] = std::uint8_t(period);
    header.setU16(mem::kSamplesPerInterval, std::uint16_t(interval / period));
    m[mem::kInputMask] = std::uint8_t((1u << inputs) - 1);
    m[mem::kInputCount] = std::uint8_t(inputs);
    m[mem::kYearBits] = std::uint8_t((preset.start.year % 4) << 6);
    m[mem::kYearBcd] = intToBcd(preset.start.year % 100);
    header.setU16(mem::kStopMode,
                  std::uint16_t(preset.content == Content::Wrapped ? mem::kCyclic : mem::kStopWhenFull));
    const std::uint8_t stamp[mem::kStartStampSize] = {
        std::uint8_t(preset.start.year % 100), std::uint8_t(preset.start.month),
        std::uint8_t(preset.start.day),        std::uint8_t(preset.start.hour),
        std::uint8_t(preset.start.minute),     std::uint8_t(preset.start.second)};
    std::memcpy(m + mem::kStartStamp, stamp, sizeof stamp);
}

void loadMemory(Logger& logger, const MemoryPreset& preset)
{
    logger.stop();
    logger.eraseData();
    logger.sensors().setKinds(defaultsFor(preset.deviceCode).kinds);
    std::uint8_t* m = logger.memory();
    writeHeader(m, preset);
    logger.setClock(preset.start);
    if (preset.content == Content::Erased)
        return;

    const RecorderSetup s = readRecorderSetup(m);
    std::int64_t records = preset.records;
    if (records <= 0) {
        int blocks = preset.blocks;
        if (preset.content == Content::Linear) {
            blocks = std::clamp(blocks > 0 ? blocks : s.blocks / 3, 1, s.blocks);
            records = std::int64_t(blocks - 1) * s.recordsPerBlock + std::max(1, s.recordsPerBlock / 2);
            if (blocks == s.blocks && preset.blocks == s.blocks)
                records = std::int64_t(blocks) * s.recordsPerBlock; // a full memory
        } else {
            blocks = std::max(blocks > 0 ? blocks : s.blocks * 3 / 8, 1);
            records =
                std::int64_t(s.blocks + blocks - 1) * s.recordsPerBlock + std::max(1, s.recordsPerBlock / 2);
        }
    }
    logger.startRecording();
    logger.advance(logger.elapsedUs() + records * s.intervalUs);
    if (!preset.running)
        logger.stop();
    if (preset.damagedBlock >= 0 && preset.damagedBlock < s.blocks)
        m[mem::blockAddress(preset.damagedBlock) + mem::kBlockStamp + 1] = 0x13;
    for (int k = preset.impossibleDatesFrom;
         k >= 0 && k < preset.impossibleDatesFrom + preset.impossibleDates && k < s.blocks; ++k) {
        m[mem::blockAddress(k) + mem::kBlockStamp + 1] = 0x02;
        m[mem::blockAddress(k) + mem::kBlockStamp + 2] = 0x31;
    }
}

} // namespace qz::sim

namespace qz::sim {

void loadFreshSimulatedLogger(Logger& logger, const CivilTime& now)
{
    MemoryPreset preset;
    preset.deviceCode = 101;
    preset.content = Content::Linear;
    if (!isValidCivil(now)) {
        loadMemory(logger, preset);
        return;
    }
    // Made once to learn how long the recording lasts, then again so that it ends now.
    loadMemory(logger, preset);
    const std::int64_t lasted = logger.clockUs() - civilToUs(preset.start);
    CivilTime start = usToCivil(civilToUs(now) - lasted);
    start.hundredths = 0;
    preset.start = start;
    loadMemory(logger, preset);
    logger.setClock(now);
}

} // namespace qz::sim
