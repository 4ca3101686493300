// Pictures of the graph for the README (QUORZK_SCREENSHOT_DIR=docs), from recordings made
// here.
#include "graph/graph_draw.h"
#include "graph/graph_fonts.h"
#include "graph_fixture.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cmath>

namespace qz::test {
namespace {

// A cold room logged once a minute for six weeks: a daily swing and a sensor's noise of a
// few counts.
ImageBuilder noisyMinutes()
{
    std::uint32_t seed = 11;
    return ImageBuilder()
        .serial("0815")
        .deviceCode(kCodeLarge)
        .recordName(QStringLiteral("Cold room"))
        .interval(1, 60)
        .start(24, 1, 15, 8, 0, 0)
        .input(0, {QStringLiteral("Room"), QStringLiteral("\u00B0C"), -20, 80, 0, 255 * 256})
        .measurements(mem::kMaxBlocks * int(mem::kSampleArea), [seed](int k, int) mutable {
            seed = seed * 1103515245u + 12345u;
            const double day = 2 * 3.14159265 * (k % 1440) / 1440.0;
            return std::uint8_t(std::lround(70 + 12 * std::sin(day) + int((seed >> 16) % 9) - 4));
        });
}

TEST(GraphPictures, NoisyMinutes)
{
    setUpFontSubstitutions();
    GraphFixture fixture;
    auto rec = fixture.load(noisyMinutes());
    ASSERT_TRUE(rec);
    rec->setColourTable(defaultColours());
    const QString dir = qEnvironmentVariable("QUORZK_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP();
    for (bool own : {true, false}) {
        DisplaySettings s = rec->settings();
        s.ownScales = own;
        rec->setDisplaySettings(s);
        const QString tag = own ? QStringLiteral("old-") : QStringLiteral("new-");
        rec->setCurrentLevel(0);
        graphBitmap(*rec, QSize(1000, 560)).save(QDir(dir).filePath(tag + QStringLiteral("noisy-all.png")));
        rec->showLevel(1, 1, 1440);
        graphBitmap(*rec, QSize(1000, 560)).save(QDir(dir).filePath(tag + QStringLiteral("noisy-day.png")));
        rec->showLevel(2, 1, 360);
        graphBitmap(*rec, QSize(1000, 560)).save(QDir(dir).filePath(tag + QStringLiteral("noisy-6h.png")));
    }
}

} // namespace
} // namespace qz::test
