#pragma once
// The one builder of logger memory images for tests and benchmarks. A recording is
// described by its fields and measurements and laid out by build(); raw edits then write
// over the laid-out bytes, in order, for what a logger would never write (impossible
// counts, damaged stamps, marked sample bytes). Free of GoogleTest, so that the benchmarks
// use it too.
//
//   QByteArray image = ImageBuilder()
//       .serial("0815").interval(1, 300)
//       .input(0, {"Temp", "°C", -20, 80, 16 * 256, 216 * 256})
//       .measurements(100, [](int k, int input) { return std::uint8_t(k + input); })
//       .set16(mem::kFirstBlock, 0xFFFF)            // a raw edit over the layout
//       .build();
#include "model/memory_image.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace qz::test {

// Device codes of the test catalogue (CatalogueFolder).
inline constexpr std::uint16_t kCodeSmall = 0x00; // 60 blocks, accepted
inline constexpr std::uint16_t kCodeLarge = 0xE0; // 508 blocks, accepted
inline constexpr std::uint16_t kCodeRefused = 0x20; // 124 blocks, wrong model line
inline constexpr std::uint16_t kCodeShipped = 293; // 124 blocks, also in the shipped catalogue

struct InputSetup {
    QString name;
    QString unit;
    double scaleLow = 0;
    double scaleHigh = 100;
    std::uint16_t calLow = 0; // in 1/256 of a count
    std::uint16_t calHigh = 255 * 256;
};

// Raw sample of input (0..7) in measurement k (from 1). Called once per sample byte, in
// the order of the image (measurement by measurement, inputs in increasing order).
using SampleFn = std::function<std::uint8_t(int k, int input)>;

class ImageBuilder {
public:
    // Serial "1234", name "Test recording", 1 s x 60, device kCodeSmall, stamp
    // 05/03/01 14:07:09 (yy mm dd), battery count 180, no input, no measurement.
    ImageBuilder();

    // --- The recording ---------------------------------------------------------------------
    ImageBuilder& serial(const char* text); // 4 characters
    ImageBuilder& deviceCode(std::uint16_t code);
    ImageBuilder& recordName(const QString& name); // blank-padded to 50
    // SamplingPeriod (and its reload and the sampling interval), SamplesPerInterval.
    ImageBuilder& interval(int samplingPeriod, int samplesPerInterval);
    ImageBuilder& input(int i, const InputSetup& setup); // also sets its mask bit
    // The stamp of every block (two-digit year).
    ImageBuilder& start(int yy, int mo, int dd, int hh, int mi, int ss);
    // A wrapped ring: the oldest block is physical, every block of the memory is in use.
    ImageBuilder& firstBlock(int physical);
    ImageBuilder& battery(std::uint8_t count); // battery byte of every block
    // Lays count measurements into blocks from logical block 0 on; the input mask and
    // count follow the inputs given.
    ImageBuilder& measurements(int count, const SampleFn& sample);

    // --- Raw edits over the laid-out image ----------------------------------------------
    ImageBuilder& set8(std::size_t at, std::uint8_t v);
    ImageBuilder& set16(std::size_t at, std::uint16_t v);
    ImageBuilder& fill(std::size_t at, std::size_t length, std::uint8_t v);
    // BlocksUsed and FirstBlock as given.
    ImageBuilder& ring(int used, int first);
    // Data block k's SampleBytes, BCD stamp (yy mm dd hh mm ss, empty: unchanged) and
    // battery count.
    ImageBuilder& block(int k, int sampleBytes, std::initializer_list<std::uint8_t> stamp = {},
                        std::uint8_t battery = 0);
    // Every sample byte of blocks 0..blocks - 1 gets mark(block, position), so a test can
    // tell which block and byte a sample came from.
    ImageBuilder& markSamples(int blocks);
    static std::uint8_t mark(int block, int position) { return std::uint8_t((block * 7 + position) & 0xFF); }

    // --- Results -------------------------------------------------------------------------
    // The 65,408-byte image.
    QByteArray build() const;
    std::vector<std::uint8_t> bytes() const;
    // A recording file of the image: signature, header and the used blocks.
    QByteArray file() const;

    std::uint8_t mask() const { return mask_; }

private:
    void layOut(QByteArray& image) const;

    QByteArray header_;
    std::uint8_t mask_ = 0;
    int first_ = 0;
    std::uint16_t code_ = kCodeSmall;
    std::array<std::uint8_t, 6> stamp_{0x05, 0x03, 0x01, 0x14, 0x07, 0x09};
    std::uint8_t battery_ = 180;
    int count_ = 0;
    SampleFn sample_;
    std::vector<std::function<void(QByteArray&)>> edits_;
};

} // namespace qz::test
