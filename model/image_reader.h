#pragma once
// Reads a logger memory image: typed header fields, the inputs' descriptors, the ring of
// data blocks, samples and record times. It owns no bytes and never changes them; every
// accessor stays inside the bytes it was given, whatever the header says (too short or
// missing parts read as 0).
//
// Three shapes of buffer:
//   ImageReader reader(image);                   a whole image: header and data blocks
//   ImageReader::header(bytes)                   a header alone (384 bytes or fewer)
//   ImageReader::deviceImage(bytes)              the 400-byte header-and-clock buffer of
//                                                the configuration windows (clock at 384)
//
// The record layout is taken when the reader is made: the memory size from the device
// code, the record width from the input count and each input's byte inside a record from
// the input mask. A reader made again follows a changed header; every other field is read
// from the bytes at each call.
#include "model/byte_view.h"
#include "model/memory_image.h"

#include <QString>

#include <array>
#include <cstdint>

namespace qz {

class ImageReader {
public:
    // Reads nothing: fields are 0, there are no data blocks.
    ImageReader();
    explicit ImageReader(ConstByteView image);
    static ImageReader header(ConstByteView bytes);
    static ImageReader deviceImage(ConstByteView bytes);

    // --- Identification ----------------------------------------------------------------
    QString serialNumber() const;
    std::uint16_t deviceCode() const;
    QString deviceCodeText() const;
    // memoryBlocks of the device code the reader was made with.
    int memoryBlocks() const { return memoryBlocks_; }

    // --- Program block -------------------------------------------------------------------
    QString recordName() const;
    std::uint8_t samplingPeriod() const;
    std::uint8_t samplingReload() const;
    std::uint16_t samplesPerInterval() const;
    std::uint8_t inputMask() const;
    // Bit input of the mask; false for an index outside 0..7.
    bool isInputRecorded(int input) const;
    // The stored count when it is 1..8, otherwise 1.
    int inputCount() const;
    std::uint8_t samplingInterval() const;
    std::uint16_t stopMode() const;
    std::array<std::uint8_t, mem::kStartStampSize> startStamp() const;
    std::uint16_t blocksUsed() const;
    std::uint16_t firstBlock() const;
    // Recording interval in seconds: SamplesPerInterval x SamplingPeriod.
    int interval() const;

    // --- Inputs (0..7; any other index reads as 0 or empty) -------------------------------
    QString inputName(int input) const;
    QString inputUnit(int input) const;
    double scaleLow(int input) const;
    double scaleHigh(int input) const;
    // The scale values in their short form ("-40", "125.5").
    QString scaleLowText(int input) const;
    QString scaleHighText(int input) const;
    // Converter readings at the reference points, in counts.
    double calLow(int input) const;
    double calHigh(int input) const;

    // --- Clock record (device image only) ------------------------------------------------
    bool hasClock() const { return clock_.bound(); }
    std::uint8_t runState() const;

    // --- The ring of data blocks (whole image only) -------------------------------------
    bool hasBlocks() const { return image_.bound(); }
    // Blocks the ring can use: the memory's blocks, limited to those the image holds.
    int ringBlocks() const { return ringBlocks_; }
    // Physical block of logical block j (0 = oldest). A FirstBlock beyond the ring reads
    // as 0; -1 when j is not below ringBlocks.
    int physicalBlock(int j) const;
    // BlocksUsed, limited to ringBlocks.
    int usedBlocks() const;
    // The data block at physical index k; unbound when the image does not hold it.
    ConstByteView block(int k) const;
    // Measurements in the image (never more than the used blocks hold).
    int recordCount() const;
    int recordWidth() const { return width_; }
    int recordsPerBlock() const { return recordsPerBlock_; }
    // Byte of the input inside a measurement: the number of recorded inputs before it.
    int recordPosition(int input) const;
    // Raw byte of a recorded input in measurement n, counted from 1; 0 for an input that
    // is not in the record or a measurement outside the image.
    std::uint8_t sample(int input, int n) const
    {
        if (input < 0 || input >= mem::kInputs || !inRecord_[std::size_t(input)])
            return 0;
        return readSample_(*this, position_[std::size_t(input)], n);
    }

    // --- Record times --------------------------------------------------------------------
    // Instant of measurement n: the oldest block's stamp plus n recording steps (one hour
    // from an interval of 3600 s on). 0 when the stamp is no instant.
    double recordDateTime(int n) const;
    QString recordDateText(int n) const;
    QString recordTimeText(int n) const;
    // That instant moved forward to a round one (see LoggerDate::RoundUp).
    double recordDateTimeRounded(int n, int mode, double limit) const;
    // Battery of the last completed block, e.g. "3.61 V"; "-" without one.
    QString batteryText() const;

private:
    using SampleReader = std::uint8_t (*)(const ImageReader&, int position, int n);
    template <int Width> static std::uint8_t readSample(const ImageReader& reader, int position, int n);
    // The reader of records of width bytes (1..8).
    static SampleReader sampleReaderFor(int width);

    ImageReader(ConstByteView header, ConstByteView image, ConstByteView clock);
    ConstByteView descriptor(int input, std::size_t offset, std::size_t length) const;

    ConstByteView header_; // the first 384 bytes at most
    ConstByteView image_; // the whole image, when it holds data blocks
    ConstByteView clock_;
    int memoryBlocks_ = 0;
    int ringBlocks_ = 0;
    int width_ = 1;
    int recordsPerBlock_ = int(mem::kSampleArea);
    std::array<int, mem::kInputs> position_{};
    std::array<bool, mem::kInputs> inRecord_{};
    SampleReader readSample_;
};

} // namespace qz
