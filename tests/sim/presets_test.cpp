// Ready-made memories for every model of the catalogue, read back through the memory image
// accessors (downloading them is tested with the download job).
#include "model/byte_view.h"
#include "model/datetime_number.h"
#include "model/device_catalog.h"
#include "model/image_reader.h"
#include "model/image_writer.h"
#include "model/memory_image.h"
#include "model/values.h"
#include "sim/emulator.h"
#include "sim/presets.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>

namespace qz::sim {
namespace {

std::vector<std::uint16_t> catalogueCodes()
{
    QFile f(QStringLiteral(QUORZK_SOURCE_DIR "/data/devices.ini"));
    std::vector<std::uint16_t> codes;
    if (!f.open(QIODevice::ReadOnly))
        return codes;
    const QRegularExpression section(QStringLiteral("^\\s*\\[Device (\\d+)\\]"));
    for (const QString& line : QString::fromLatin1(f.readAll()).split('\n')) {
        const auto m = section.match(line);
        if (m.hasMatch())
            codes.push_back(std::uint16_t(m.captured(1).toUInt()));
    }
    return codes;
}

TEST(PresetsTest, TheCatalogueHasItsModels)
{
    const auto codes = catalogueCodes();
    for (std::uint16_t code : {1, 101, 293, 485})
        EXPECT_NE(std::find(codes.begin(), codes.end(), code), codes.end()) << code;
}

TEST(PresetsTest, InputsReadAsRealMeasurements)
{
    Emulator e;
    loadMemory(e.logger(), {.deviceCode = 485, .content = Content::Linear});
    std::vector<std::uint8_t> image(e.logger().memory(), e.logger().memory() + mem::kImageSize);
    ImageWriter(ByteView{image.data(), image.size()}).setBlocksUsed(std::uint16_t(memoryBlocks(485) / 3));
    const ImageReader data(ConstByteView{image.data(), image.size()});
    EXPECT_EQ(data.recordName().trimmed(), QStringLiteral("Plant room monitoring"));
    EXPECT_EQ(data.serialNumber().size(), 4);
    // Never taken for a real logger's: the simulated logger's serial numbers begin with SIM.
    for (std::uint16_t code : {0, 1, 69, 101, 197, 293, 485, 77}) {
        Emulator any;
        loadMemory(any.logger(), {.deviceCode = code, .content = Content::Erased});
        const ImageReader header = ImageReader::header({any.logger().memory(), mem::kHeaderSize});
        EXPECT_TRUE(header.serialNumber().startsWith(QStringLiteral("SIM"))) << code;
        EXPECT_EQ(header.serialNumber().size(), 4) << code;
    }

    struct Case {
        const char* name;
        QString unit;
        double low, high; // where every recorded value must lie
    };
    const Case cases[] = {
        {"Temp In", QStringLiteral("\u00B0C"), 14.0, 25.0},
        {"Humidity", QStringLiteral("%RH"), 38.0, 78.0},
        {"Supply", QStringLiteral("V"), 11.5, 13.2},
        {"Temp Out", QStringLiteral("\u00B0C"), -5.0, 19.0},
        {"Current", QStringLiteral("mA"), 5.0, 19.0},
        {"Pressure", QStringLiteral("hPa"), 1000.0, 1025.0},
        {"Light", QStringLiteral("lux"), 0.0, 1800.0},
        {"Temp Box", QStringLiteral("\u00B0C"), 22.0, 32.0},
    };
    for (int i = 0; i < 8; ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(data.inputName(i), QString::fromLatin1(c.name)) << i;
        EXPECT_EQ(data.inputUnit(i), c.unit) << i;
        const double gain = (data.scaleHigh(i) - data.scaleLow(i)) / (data.calHigh(i) - data.calLow(i));
        const double offset = data.scaleLow(i) - gain * data.calLow(i);
        double lo = 1e9, hi = -1e9;
        for (int n = 1; n <= data.recordCount(); ++n) {
            const double v = data.sample(i, n) * gain + offset;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        EXPECT_GE(lo, c.low) << c.name;
        EXPECT_LE(hi, c.high) << c.name;
        EXPECT_GT(hi - lo, (c.high - c.low) / 5) << c.name << " varies";
    }
}

} // namespace
} // namespace qz::sim
