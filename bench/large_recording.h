#pragma once
// The largest recording a logger holds (508 full blocks), saved as a recording file in a
// temporary folder with a catalogue that accepts it.
#include "model/memory_image.h"
#include "model/real48.h"
#include "model/values.h"
#include "recording/recording.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

namespace qz::bench {

class LargeRecording {
public:
    explicit LargeRecording(int inputs)
    {
        QFile ini(dir_.filePath(QStringLiteral("devices.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Device 224]\nType=ZK\nDeviceDesc=ZK-380\n");

        QByteArray image(int(mem::kImageSize), '\0');
        auto* b = reinterpret_cast<std::uint8_t*>(image.data());
        b[mem::kDeviceCode] = 0xE0; // 508 blocks
        StrToBytes(QStringLiteral("4711"), b + mem::kSerialNumber, 4);
        StrToBytes(QStringLiteral("Largest recording").leftJustified(50), b + mem::kRecordName, 50);
        b[mem::kSamplingPeriod] = 1;
        b[mem::kSamplesPerInterval] = 10;
        b[mem::kInputMask] = std::uint8_t((1u << inputs) - 1);
        b[mem::kInputCount] = std::uint8_t(inputs);
        b[mem::kBlocksUsed] = 508 & 0xFF;
        b[mem::kBlocksUsed + 1] = 508 >> 8;
        for (int i = 0; i < inputs; ++i) {
            const std::size_t d = mem::DescriptorAddress(i);
            StrToBytes(QStringLiteral("Input%1").arg(i + 1), b + d + mem::kInputName, 9);
            StrToBytes(QStringLiteral("\u00B0C"), b + d + mem::kInputUnit, 5);
            DoubleToReal48(-40.0, b + d + mem::kScaleLow);
            DoubleToReal48(85.0 + i, b + d + mem::kScaleHigh);
            b[mem::kCalHigh + 2 * i + 1] = 250;
        }
        const int perBlock = 120 / inputs;
        for (int k = 0; k < mem::kMaxBlocks; ++k) {
            std::uint8_t* block = b + mem::BlockAddress(k);
            block[mem::kSampleBytes] = std::uint8_t(perBlock * inputs);
            const std::uint8_t stamp[6] = {0x26, 0x03, 0x05, 0x14, 0x07, 0x09};
            std::copy(stamp, stamp + 6, block + mem::kBlockStamp);
            block[mem::kBatteryCount] = 180;
            for (int s = 0; s < perBlock * inputs; ++s)
                block[mem::kSamples + s] = std::uint8_t((k * 7 + s * 13) & 0xFF);
        }
        path_ = dir_.filePath(QStringLiteral("largest.qrv"));
        QFile f(path_);
        if (f.open(QIODevice::WriteOnly)) {
            f.write("QUORVANT");
            f.write(image);
        }
    }

    const QString& path() const { return path_; }
    QString folder() const { return dir_.path(); }
    QString scratch(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString path_;
};

} // namespace qz::bench
