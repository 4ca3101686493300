#pragma once
// The largest memory a logger holds: all 508 blocks in a wrapped ring, the first `inputs`
// inputs recorded (one input: 60,960 measurements; eight: 7,620). Noisy: every sample a
// random step of up to 20 counts from the previous one, the worst case for merging lines
// (long vertical runs in every pixel column). Smooth: slow waves, as a temperature
// recording looks. Device code 485 has 508 blocks in the shipped catalogue.
#include "tests/support/image_builder.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qz::bench {

inline QByteArray FullImage(int inputs, bool noisy)
{
    test::ImageBuilder b;
    b.serial("0042")
        .deviceCode(485)
        .recordName(QStringLiteral("Largest recording"))
        .interval(1, 60)
        .start(24, 1, 15, 8, 0, 0)
        .firstBlock(200);
    for (int i = 0; i < inputs; ++i)
        b.input(i, {QString(), QStringLiteral("degC"), -20, 80, 0, 255 * 256});
    std::uint32_t seed = 7;
    int v = 128;
    const int perBlock = int(mem::kSampleArea) / inputs;
    b.measurements(mem::kMaxBlocks * perBlock, [&](int k, int i) {
        if (noisy) {
            seed = seed * 1103515245u + 12345u;
            v = std::clamp(v + int((seed >> 16) % 41) - 20, 0, 255);
        } else {
            v = 128 + int(90 * std::sin((k - 1) / (900.0 + 150 * i)));
        }
        return std::uint8_t(v);
    });
    return b.build();
}

} // namespace qz::bench
