#pragma once
// Writes the fields of a logger memory image that a configuration or an inputs scaling
// changes, and the clock record sent with them. It owns no bytes; writes outside the bytes
// it was given are dropped, so a short buffer is never overrun. An ImageReader over the
// same bytes reads what was written.
//
//   ImageWriter writer(image);                  header fields of an image (or a header)
//   ImageWriter::deviceImage(bytes)             the 400-byte header-and-clock buffer of
//                                               the configuration windows (clock at 384)
#include "model/byte_view.h"
#include "model/memory_image.h"

#include <QString>

#include <array>
#include <cstdint>

namespace qz {

class ImageWriter {
public:
    explicit ImageWriter(ByteView image);
    static ImageWriter deviceImage(ByteView bytes);

    // --- Program block -------------------------------------------------------------------
    // Exactly 50 characters; a shorter text is followed by zero bytes, a longer one cut.
    void setRecordName(const QString& text);
    void setSamplingPeriod(std::uint8_t v);
    void setSamplingReload(std::uint8_t v);
    void setSamplesPerInterval(std::uint16_t v);
    // Bit i := flags[i] == 1 (a check box's state: 0 off, 1 on, 2 undecided).
    void setInputMask(const std::array<std::uint8_t, mem::kInputs>& flags);
    void setInputCount(std::uint8_t n);
    void setYearBits(std::uint8_t bits);
    // Year of century, stored in BCD.
    void setYearBcd(int year);
    void setSamplingInterval(std::uint8_t v);
    void setStopMode(std::uint16_t v);
    void setStartStamp(const std::array<std::uint8_t, mem::kStartStampSize>& stamp);
    void setBlocksUsed(std::uint16_t v);
    void setFirstBlock(std::uint16_t v);
    void setResetWord1(std::uint16_t v);
    void setResetWord2(std::uint16_t v);
    // SamplingPeriod := SamplingInterval, SamplingReload := SamplingPeriod,
    // SamplesPerInterval := seconds div SamplingPeriod (0 when the period is 0).
    void setInterval(int seconds);

    // --- Inputs (0..7; any other index writes nothing) -----------------------------------
    void setInputName(int input, const QString& text); // 9 characters, zero-padded
    void setInputUnit(int input, const QString& text); // 5 characters, zero-padded
    // False (and nothing written) for a value a Real48 cannot hold.
    bool setScaleLow(int input, double v);
    bool setScaleHigh(int input, double v);

    // --- Clock record (device image only) ------------------------------------------------
    void setClockControl(std::uint8_t b);
    // i = 1..7 except 5: byte i := value in BCD.
    void setClockByte(int i, int value);
    // Day of month in BCD with the year bits ((year mod 4) x 64) above it.
    void setClockDay(int day, std::uint8_t yearBits);
    void setRunState(std::uint8_t b);
    // i = 9..15: byte i := value in BCD.
    void setStartByte(int i, int value);

private:
    ImageWriter(ByteView header, ByteView clock) : header_(header), clock_(clock) {}
    std::uint8_t* descriptor(int input, std::size_t offset, std::size_t length) const;

    ByteView header_; // the first 384 bytes at most
    ByteView clock_;
};

} // namespace qz
