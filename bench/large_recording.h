#pragma once
// The largest recording a logger holds (508 full blocks), saved as a recording file in a
// temporary folder with a catalogue that accepts it.
#include "tests/support/catalogue_folder.h"
#include "tests/support/image_builder.h"

namespace qz::bench {

class LargeRecording {
public:
    explicit LargeRecording(int inputs)
    {
        test::ImageBuilder b;
        b.serial("4711")
            .deviceCode(test::kCodeLarge)
            .recordName(QStringLiteral("Largest recording"))
            .interval(1, 10)
            .start(26, 3, 5, 14, 7, 9);
        for (int i = 0; i < inputs; ++i)
            b.input(i,
                    {QStringLiteral("Input%1").arg(i + 1), QStringLiteral("\u00B0C"), -40.0, 85.0 + i, 0,
                     250 * 256});
        const int perBlock = int(mem::kSampleArea) / inputs;
        b.measurements(mem::kMaxBlocks * perBlock, [inputs, perBlock](int k, int i) {
            // Byte s of block j holds (7 j + 13 s) mod 256.
            const int j = (k - 1) / perBlock;
            const int s = ((k - 1) % perBlock) * inputs + i;
            return std::uint8_t((j * 7 + s * 13) & 0xFF);
        });
        path_ = folder_.write(QStringLiteral("largest.qrv"), b.file());
    }

    const QString& path() const { return path_; }
    QString folder() const { return folder_.path(); }
    QString scratch(const QString& name) const { return folder_.filePath(name); }

private:
    test::CatalogueFolder folder_;
    QString path_;
};

} // namespace qz::bench
