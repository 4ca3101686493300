#include "sim/recorder.h"

#include "model/byte_view.h"
#include "model/memory_image.h"
#include "model/values.h"
#include "sim/logger_time.h"

#include <algorithm>

namespace qz::sim {

namespace {

ByteView view(std::uint8_t* m)
{
    return {m, mem::kLoggerMemorySize};
}

// A header word, read through the same view as every write (the view only reads here).
std::uint16_t word(const std::uint8_t* m, std::size_t at)
{
    return view(const_cast<std::uint8_t*>(m)).u16(at);
}

std::uint8_t* blockAt(std::uint8_t* m, int k)
{
    return m + mem::blockAddress(k);
}

} // namespace

RecorderSetup readRecorderSetup(const std::uint8_t* m)
{
    RecorderSetup s;
    const int count = m[mem::kInputCount];
    s.inputs = count >= 1 && count <= mem::kInputs ? count : 1;
    const unsigned mask = m[mem::kInputMask];
    int n = 0;
    for (int i = 0; i < mem::kInputs && n < s.inputs; ++i)
        if (mask & (1u << i))
            s.order[std::size_t(n++)] = i;
    for (int i = 0; i < mem::kInputs && n < s.inputs; ++i)
        if (!(mask & (1u << i)))
            s.order[std::size_t(n++)] = i;
    s.recordsPerBlock = int(mem::kSampleArea) / s.inputs;
    s.blocks = memoryBlocks(std::uint16_t(word(m, mem::kDeviceCode)));
    s.blocks = std::clamp(s.blocks, 1, mem::kMaxBlocks);
    s.cyclic = word(m, mem::kStopMode) == 0;
    const std::int64_t seconds = std::int64_t(word(m, mem::kSamplesPerInterval)) * m[mem::kSamplingPeriod];
    s.intervalUs = std::max<std::int64_t>(seconds, 1) * kUsPerSecond;
    return s;
}

void writeStamp(std::uint8_t* out, std::int64_t clockUs)
{
    const CivilTime t = usToCivil(clockUs);
    out[0] = intToBcd(t.year % 100);
    out[1] = intToBcd(t.month);
    out[2] = intToBcd(t.day);
    out[3] = intToBcd(t.hour);
    out[4] = intToBcd(t.minute);
    out[5] = intToBcd(t.second);
}

void Recorder::start(std::uint8_t* m, std::int64_t elapsedUs, std::int64_t clockUs, const Sensors& sensors)
{
    setup_ = readRecorderSetup(m);
    std::fill(m + mem::kHeaderSize, m + mem::kLoggerMemorySize, std::uint8_t(0xFF));
    view(m).setU16(mem::kBlocksUsed, 0);
    view(m).setU16(mem::kFirstBlock, 0);
    active_ = true;
    full_ = false;
    wrapped_ = false;
    records_ = 0;
    openBlock(m, 0, clockUs, sensors);
    nextUs_ = elapsedUs + setup_.intervalUs;
}

void Recorder::openBlock(std::uint8_t* m, int block, std::int64_t stampClockUs, const Sensors& sensors)
{
    std::uint8_t* b = blockAt(m, block);
    std::fill(b, b + mem::kBlockSize, std::uint8_t(0xFF));
    b[mem::kSampleBytes] = 0;
    writeStamp(b + mem::kBlockStamp, stampClockUs);
    b[mem::kBatteryCount] = std::uint8_t(sensors.batteryCount());
    block_ = block;
    recordsInBlock_ = 0;
    if (wrapped_) {
        view(m).setU16(mem::kBlocksUsed, std::uint16_t(setup_.blocks));
        view(m).setU16(mem::kFirstBlock, std::uint16_t((block + 1) % setup_.blocks));
    }
}

void Recorder::writeRecord(std::uint8_t* m, std::int64_t clockUs, const Sensors& sensors)
{
    if (recordsInBlock_ >= setup_.recordsPerBlock) {
        int next = block_ + 1;
        if (next >= setup_.blocks) {
            if (!setup_.cyclic) { // cannot happen: the recorder stopped when it filled
                active_ = false;
                full_ = true;
                return;
            }
            next = 0;
            wrapped_ = true;
        }
        openBlock(m, next, clockUs - setup_.intervalUs, sensors);
    }
    std::uint8_t* b = blockAt(m, block_);
    std::uint8_t* rec = b + mem::kSamples + std::size_t(recordsInBlock_ * setup_.inputs);
    for (int k = 0; k < setup_.inputs; ++k)
        rec[k] = sensors.raw(setup_.order[std::size_t(k)], clockUs);
    ++recordsInBlock_;
    ++records_;
    b[mem::kSampleBytes] = std::uint8_t(recordsInBlock_ * setup_.inputs);
    if (recordsInBlock_ == setup_.recordsPerBlock) {
        b[mem::kBatteryCount] = std::uint8_t(sensors.batteryCount());
        if (!setup_.cyclic && block_ + 1 >= setup_.blocks) {
            active_ = false;
            full_ = true;
        }
    }
}

RecorderState Recorder::state() const
{
    return {setup_, active_, full_, wrapped_, block_, recordsInBlock_, records_, nextUs_};
}

bool Recorder::restore(const RecorderState& s)
{
    const RecorderSetup& u = s.setup;
    bool sound = u.inputs >= 1 && u.inputs <= mem::kInputs && u.recordsPerBlock >= 1
        && u.recordsPerBlock * u.inputs <= int(mem::kSampleArea) && u.blocks >= 1 && u.blocks <= mem::kMaxBlocks
        && u.intervalUs >= kUsPerSecond && s.block >= 0 && s.block < u.blocks && s.recordsInBlock >= 0
        && s.recordsInBlock <= u.recordsPerBlock && s.records >= 0 && s.nextUs >= 0;
    for (int i = 0; i < u.inputs && sound; ++i)
        sound = u.order[std::size_t(i)] >= 0 && u.order[std::size_t(i)] < mem::kInputs;
    if (!sound)
        return false;
    setup_ = u;
    active_ = s.active;
    full_ = s.full;
    wrapped_ = s.wrapped;
    block_ = s.block;
    recordsInBlock_ = s.recordsInBlock;
    records_ = s.records;
    nextUs_ = s.nextUs;
    return true;
}

void Recorder::advance(std::uint8_t* m, std::int64_t elapsedUs, std::int64_t clockOffsetUs,
                       const Sensors& sensors)
{
    // Whole rounds of a ring before its last ones are overwritten anyway: count them only.
    // Two rounds are still written, so every block, the one being filled too, is opened
    // afresh after the skip and keeps no record or stamp from before it.
    if (active_ && setup_.cyclic && nextUs_ <= elapsedUs) {
        const std::int64_t due = (elapsedUs - nextUs_) / setup_.intervalUs + 1;
        const std::int64_t ring = std::int64_t(setup_.blocks) * setup_.recordsPerBlock;
        if (due > 3 * ring) {
            const std::int64_t skipped = (due / ring - 2) * ring;
            nextUs_ += skipped * setup_.intervalUs;
            records_ += skipped;
            wrapped_ = true;
        }
    }
    while (active_ && nextUs_ <= elapsedUs) {
        writeRecord(m, nextUs_ + clockOffsetUs, sensors);
        nextUs_ += setup_.intervalUs;
    }
}

} // namespace qz::sim
