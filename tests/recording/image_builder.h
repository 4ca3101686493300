#pragma once
// Small logger memory images built by hand for the recording tests, and a catalogue
// folder that accepts their device codes.
#include "model/memory_image.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <array>
#include <cstdint>
#include <functional>

namespace qz::test {

// Device codes of the test catalogue.
inline constexpr std::uint16_t kCodeSmall = 0x00;   // 60 blocks, accepted
inline constexpr std::uint16_t kCodeLarge = 0xE0;   // 508 blocks, accepted
inline constexpr std::uint16_t kCodeRefused = 0x20; // 124 blocks, wrong model line
inline constexpr std::uint16_t kCodeShipped = 293;  // 124 blocks, also in the shipped catalogue

struct InputSpec {
    QString name;
    QString unit;
    double scaleLow = 0;
    double scaleHigh = 100;
    std::uint16_t calLow = 0;          // in 1/256 of a count
    std::uint16_t calHigh = 255 * 256;
};

// Raw sample of input (0..7) in measurement k (from 1).
using SampleFn = std::function<std::uint8_t(int k, int input)>;

class ImageBuilder {
public:
    ImageBuilder();

    ImageBuilder& serial(const char* text);         // 4 characters
    ImageBuilder& deviceCode(std::uint16_t code);
    ImageBuilder& recordName(const QString& name);  // blank-padded to 50
    ImageBuilder& interval(int samplingPeriod, int samplesPerInterval);
    ImageBuilder& input(int i, const InputSpec& preset); // also sets its mask bit
    // Year as two digits (BCD in the stamp).
    ImageBuilder& start(int yy, int mo, int dd, int hh, int mi, int ss);
    // A wrapped ring: the oldest block is physical, every block is in use (fill them).
    ImageBuilder& firstBlock(int physical);
    ImageBuilder& battery(std::uint8_t count);      // battery byte of every block
    // Lays count measurements into blocks from logical block 0 on.
    ImageBuilder& measurements(int count, const SampleFn& sample);

    QByteArray build() const;

    std::uint8_t mask() const { return mask_; }

private:
    QByteArray image_;
    std::uint8_t mask_ = 0;
    int first_ = 0;
    std::uint16_t code_ = kCodeSmall;
    std::array<std::uint8_t, 6> stamp_{0x05, 0x03, 0x01, 0x14, 0x07, 0x09};
    std::uint8_t battery_ = 180;
    int count_ = 0;
    SampleFn sample_;
};

// A folder holding a devices.ini that accepts kCodeSmall, kCodeLarge and kCodeShipped.
class CatalogueFolder {
public:
    CatalogueFolder();
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

} // namespace qz::test
