// The reader's header fields, the record layout it takes when made, and the shapes of
// buffer it reads (whole image, header, header-and-clock buffer, short or no bytes).
#include "model/image_reader.h"

#include "model_images.h"
#include "support/print_qt.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qz::test {
namespace {

TEST(ImageReader, HeaderFields)
{
    ReadImage image(header(485, 3, 2, 45)
                        .set8(mem::kSerialNumber, 'Z')
                        .set8(mem::kSerialNumber + 1, '0')
                        .set8(mem::kSerialNumber + 2, '4')
                        .set8(mem::kSerialNumber + 3, '2')
                        .set8(mem::kSamplingInterval, 3)
                        .set16(mem::kStopMode, 0x0101)
                        .ring(17, 9)
                        .set8(mem::kStartStamp, 26)
                        .set8(mem::kStartStamp + 5, 9));
    const ImageReader& r = image.reader;
    EXPECT_EQ(r.serialNumber(), QStringLiteral("Z042"));
    EXPECT_EQ(r.deviceCode(), 485);
    EXPECT_EQ(r.deviceCodeText(), QStringLiteral("485"));
    EXPECT_EQ(r.memoryBlocks(), 508);
    EXPECT_EQ(r.samplesPerInterval(), 45);
    EXPECT_EQ(r.samplingPeriod(), 2);
    EXPECT_EQ(r.samplingInterval(), 3);
    EXPECT_EQ(r.interval(), 90);
    EXPECT_EQ(r.stopMode(), 0x0101);
    EXPECT_EQ(r.blocksUsed(), 17);
    EXPECT_EQ(r.firstBlock(), 9);
    EXPECT_EQ(r.startStamp(), (std::array<std::uint8_t, 6>{26, 0, 0, 0, 0, 9}));
    EXPECT_EQ(r.inputMask(), 0x07);
    EXPECT_EQ(r.inputCount(), 3);
}

TEST(ImageReader, MemoryBlocksComeFromTheCodeTheReaderWasMadeWith)
{
    ReadImage image(header(485, 3));
    EXPECT_EQ(image.reader.memoryBlocks(), 508);
    image.view().setU16(mem::kDeviceCode, 1);
    EXPECT_EQ(image.reader.memoryBlocks(), 508);
    EXPECT_EQ(ImageReader::header({image.bytes.data(), mem::kHeaderSize}).memoryBlocks(), 124);

    // Made over another logger's image, a reader follows that logger's memory.
    const ReadImage other(header(101, 1));
    EXPECT_EQ(other.reader.memoryBlocks(), 252);
}

TEST(ImageReader, InputCountOutsideOneToEightReadsAsOne)
{
    struct Case {
        std::uint8_t stored;
        int count;
        int perBlock;
    };
    const Case cases[] = {{0, 1, 120}, {9, 1, 120}, {255, 1, 120}, {1, 1, 120}, {2, 2, 60}, {3, 3, 40},
                          {4, 4, 30},  {5, 5, 24},  {6, 6, 20},    {7, 7, 17},  {8, 8, 15}};
    for (const Case& c : cases) {
        const ReadImage image(header(485, 3).set8(mem::kInputCount, c.stored));
        EXPECT_EQ(image.reader.inputCount(), c.count) << int(c.stored);
        EXPECT_EQ(image.reader.recordWidth(), c.count) << int(c.stored);
        EXPECT_EQ(image.reader.recordsPerBlock(), c.perBlock) << int(c.stored);
    }
}

TEST(ImageReader, RecordLayoutFollowsEachReader)
{
    ReadImage three(header(485, 3));
    EXPECT_EQ(three.reader.recordsPerBlock(), 40);
    // A reader made over a header of seven inputs.
    const ReadImage seven(header(485, 7));
    EXPECT_EQ(ImageReader::header({seven.bytes.data(), mem::kHeaderSize}).recordsPerBlock(), 17);
}

TEST(ImageReader, RecordPositionsCountTheRecordedInputsBefore)
{
    // Inputs 1, 2 and 5 recorded: bytes 0, 1 and 2 of a measurement.
    const ReadImage image(header(485, 3).set8(mem::kInputMask, 0x13));
    const int positions[8] = {0, 1, 2, 2, 2, 3, 3, 3};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(image.reader.recordPosition(i), positions[i]) << i;
}

TEST(ImageReader, DeviceImageReadsHeaderAndClockButNoBlocks)
{
    // The 400-byte buffer of the configuration windows: the bytes after the header are the
    // clock record, not a data block.
    std::vector<std::uint8_t> device = header(485, 2).bytes();
    device.resize(mem::kDeviceImageSize);
    ByteView view{device.data(), device.size()};
    view.setU16(mem::kBlocksUsed, 1);
    view.setU8(mem::kClockInImage + mem::kSampleBytes, 120);
    view.setU8(mem::kClockInImage + mem::kRunState, std::uint8_t(mem::kRunWaiting));

    const ImageReader device400 = ImageReader::deviceImage(view);
    EXPECT_TRUE(device400.hasClock());
    EXPECT_FALSE(device400.hasBlocks());
    EXPECT_EQ(device400.runState(), mem::kRunWaiting);
    EXPECT_EQ(device400.deviceCode(), 485);
    EXPECT_EQ(device400.inputCount(), 2);
    EXPECT_EQ(device400.recordCount(), 0);
    EXPECT_EQ(device400.sample(0, 1), 0);
    EXPECT_EQ(device400.batteryText(), QStringLiteral("-"));

    // Without room for the clock record there is none.
    const ImageReader header = ImageReader::deviceImage({device.data(), mem::kHeaderSize + 8});
    EXPECT_FALSE(header.hasClock());
    EXPECT_EQ(header.runState(), 0);
    EXPECT_EQ(header.deviceCode(), 485);
}

TEST(ImageReader, NoOrShortBytesStayInside)
{
    const ImageReader unbound;
    EXPECT_EQ(unbound.deviceCode(), 0);
    EXPECT_EQ(unbound.recordName(), QString());
    EXPECT_EQ(unbound.inputCount(), 1);
    EXPECT_EQ(unbound.sample(0, 1), 0);
    EXPECT_EQ(unbound.recordCount(), 0);
    EXPECT_EQ(unbound.batteryText(), QStringLiteral("-"));
    EXPECT_FALSE(unbound.hasClock());

    // A header cut short in the middle of the program block.
    const std::vector<std::uint8_t> shortHeader(100, 0x11);
    const ImageReader r = ImageReader::header({shortHeader.data(), shortHeader.size()});
    EXPECT_EQ(r.deviceCode(), 0x1111);
    EXPECT_EQ(r.samplesPerInterval(), 0); // address 99..100 is not whole
    EXPECT_EQ(r.samplingPeriod(), 0x11); // address 97 is
    EXPECT_EQ(r.inputName(0), QString());
    EXPECT_EQ(r.scaleHigh(0), 0);
}

} // namespace
} // namespace qz::test
