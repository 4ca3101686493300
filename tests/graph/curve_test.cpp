#include "graph/curve_lines.h"
#include "graph/curve_paint.h"

#include <QImage>
#include <QPainter>
#include <QPen>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace qz {
namespace {

TEST(CurveScale, RowsInIntegerArithmetic)
{
    // Raw range 40..184 on a plot 230 pixels high with its bottom edge at row 256.
    const CurveScale scale(184, 40, 256, 230);
    ASSERT_TRUE(scale.isDrawable());
    struct Case {
        int raw, row;
    };
    const Case cases[] = {
        {40, 256}, // bottom of the range: bottom edge
        {184, 26}, // top of the range: top edge
        {52, 237}, // (52 x 64 - 2560) x 230 div 9216 = 19.16 -> 19
        {112, 141}, // 115 exactly
        {0, 319}, // below the range: -63.9 truncated toward zero to -63
        {255, -87}, // above the range: 343.4 -> 343
    };
    for (const Case& c : cases)
        EXPECT_EQ(scale.row(c.raw), c.row) << c.raw;
}

TEST(CurveScale, DivisionTruncatesTowardZero)
{
    // (0 x 64 - 64) x 10 div 640 = -1 exactly; (0 x 64 - 64) x 10 div 6400 = -0.1 -> 0.
    EXPECT_EQ(CurveScale(10, 1, 100, 10).row(0), 101);
    EXPECT_EQ(CurveScale(100, 1, 100, 10).row(0), 100);
    // A fractional range is cut to 1/64 units: 1.99 -> 127, 1.01 -> 64.
    EXPECT_EQ(CurveScale(1.99, 1.01, 100, 63).row(2), 100 - (64 * 63) / 63);
}

TEST(CurveScale, EmptyOrBrokenRangeIsNotDrawn)
{
    EXPECT_FALSE(CurveScale(100, 100, 256, 230).isDrawable());
    EXPECT_FALSE(CurveScale(100.01, 100.0, 256, 230).isDrawable()); // equal in 1/64 units
    EXPECT_FALSE(CurveScale(std::nan(""), 0, 256, 230).isDrawable());
    EXPECT_FALSE(CurveScale(1e300, 0, 256, 230).isDrawable());
    EXPECT_TRUE(CurveScale(0, 100, 256, 230).isDrawable()); // upside down is a range
}

TEST(CurveScale, RowsOfATinyRangeStayNearThePlot)
{
    // One 1/64 unit over a tall plot: a raw step is 64 x 20,000 rows.
    const CurveScale scale(100.02, 100.0, 20000, 20000);
    ASSERT_TRUE(scale.isDrawable());
    EXPECT_EQ(scale.row(100), 20000);
    EXPECT_GT(scale.row(255), -(1 << 23));
    EXPECT_LT(scale.row(0), 1 << 23);
}

TEST(CurveLines, IdenticalPointsAreSkippedAndColumnsMerged)
{
    CurveLines c;
    c.moveTo(10, 50);
    c.lineTo(10, 50); // same point: nothing
    c.lineTo(10, 40);
    c.lineTo(10, 60);
    c.lineTo(10, 45); // column 10 reached rows 40..60, ends at 45
    c.lineTo(11, 45);
    c.lineTo(13, 30);
    c.finish();
    const std::vector<QLine> expected = {
        QLine(10, 40, 10, 60),
        QLine(10, 45, 11, 45),
        QLine(11, 45, 13, 30),
    };
    EXPECT_EQ(c.lines(), expected);
}

TEST(CurveLines, TwoMeasurementsMakeOneLineAcrossThePlot)
{
    const std::uint8_t raws[] = {40, 184};
    CurveLines c;
    buildCurve(raws, 60, 280, CurveScale(184, 40, 256, 230), c);
    const std::vector<QLine> expected = {QLine(60, 256, 340, 26)};
    EXPECT_EQ(c.lines(), expected);
}

TEST(CurveLines, OneSampleOrFlatRangeDrawsNothing)
{
    const std::uint8_t one[] = {10};
    const std::uint8_t two[] = {10, 20};
    CurveLines c;
    buildCurve(one, 0, 100, CurveScale(255, 0, 100, 100), c);
    buildCurve(two, 0, 100, CurveScale(50, 50, 100, 100), c);
    EXPECT_TRUE(c.lines().empty());
}

// The same curve drawn one line per measurement step, as the plain algorithm does: with
// the pen, or each line on its own through PaintCurveLines.
QImage drawNaive(const std::vector<std::uint8_t>& raws, int left, int width, const CurveScale& scale,
                 QSize size, bool withPen)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QPen pen(Qt::black);
    pen.setCosmetic(true);
    p.setPen(pen);
    const long double step = static_cast<long double>(width) / static_cast<long double>(raws.size() - 1);
    long double x = left;
    QPoint prev(left, scale.row(raws[0]));
    for (std::size_t k = 1; k < raws.size(); ++k) {
        x += step;
        const QPoint next(int(x), scale.row(raws[k]));
        if (next != prev) {
            if (withPen)
                p.drawLine(prev, next);
            else
                paintCurveLines(p, {QLine(prev, next)}, Qt::black);
            prev = next;
        }
    }
    return img;
}

// Through PaintCurveLines: straight into the image, or through the pen when the painter
// clips (here to the whole image, which changes nothing).
QImage drawMerged(const std::vector<std::uint8_t>& raws, int left, int width, const CurveScale& scale,
                  QSize size, bool throughPen)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    if (throughPen)
        p.setClipRect(img.rect());
    CurveLines c;
    buildCurve(raws, left, width, scale, c);
    paintCurveLines(p, c.lines(), Qt::black);
    return img;
}

TEST(CurveLines, MergedColumnsDrawTheSamePixelsAsOneLinePerStep)
{
    struct Case {
        const char* what;
        int count;
        int width;
        CurveScale scale;
    };
    const Case cases[] = {
        {"many measurements per column", 5000, 180, CurveScale(230, 20, 110, 100)},
        {"a few per column", 700, 180, CurveScale(230, 20, 110, 100)},
        {"several columns per measurement", 40, 180, CurveScale(230, 20, 110, 100)},
        {"beyond the image's top and bottom", 3000, 180, CurveScale(160, 100, 110, 100)},
        {"beyond its left and right", 3000, 260, CurveScale(230, 20, 110, 100)},
    };
    const QSize size(200, 120);
    for (const Case& c : cases) {
        std::vector<std::uint8_t> raws(std::size_t(c.count));
        std::uint32_t s = 12345;
        int v = 128;
        for (auto& r : raws) {
            s = s * 1103515245u + 12345u;
            v += int((s >> 16) % 21) - 10;
            v = std::clamp(v, 0, 255);
            r = std::uint8_t(v);
        }
        raws[std::size_t(c.count / 2)] = 255; // a spike and a drop
        raws[std::size_t(c.count / 2 + 1)] = 0;
        const int left = c.width > 200 ? -30 : 10;
        EXPECT_EQ(drawNaive(raws, left, c.width, c.scale, size, true),
                  drawMerged(raws, left, c.width, c.scale, size, true))
            << c.what;
        EXPECT_EQ(drawNaive(raws, left, c.width, c.scale, size, false),
                  drawMerged(raws, left, c.width, c.scale, size, false))
            << c.what;
    }
}

// Black pixels of a picture, row by row.
std::vector<QPoint> black(const QImage& img)
{
    std::vector<QPoint> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == Qt::black)
                out.emplace_back(x, y);
    return out;
}

TEST(PaintCurveLines, StepsToTheNextColumnSplitAtHalfHeightOnImages)
{
    struct Case {
        QLine line;
        std::vector<QPoint> pixels;
    };
    const Case cases[] = {
        {QLine(2, 1, 3, 4), {{2, 1}, {2, 2}, {3, 3}, {3, 4}}},
        {QLine(2, 5, 3, 1), {{3, 1}, {3, 2}, {2, 3}, {2, 4}, {2, 5}}},
        {QLine(2, 3, 3, 3), {{2, 3}, {3, 3}}},
        {QLine(3, 2, 2, 3), {{3, 2}, {2, 3}}},
        {QLine(4, 6, 4, 1), {{4, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}, {4, 6}}},
    };
    for (const Case& c : cases) {
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        paintCurveLines(p, {c.line}, Qt::black);
        p.end();
        EXPECT_EQ(black(img), c.pixels)
            << c.line.x1() << "," << c.line.y1() << " " << c.line.x2() << "," << c.line.y2();
    }
}

TEST(PaintCurveLines, RunsOutsideTheImageAreClipped)
{
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    paintCurveLines(p, {QLine(3, -100, 3, 2), QLine(-1, 4, 0, 9000), QLine(7, 5, 8, 5), QLine(20, 0, 20, 7)},
                    Qt::black);
    p.end();
    EXPECT_EQ(black(img), (std::vector<QPoint>{{3, 0}, {3, 1}, {3, 2}, {7, 5}}));
}

TEST(PaintCurves, LaterCurvesLieOverEarlierOnesAsWhenPaintedOneByOne)
{
    // Three crossing curves in three colours; dense ones are only vertical runs, sparse
    // ones also have lines across several columns; a clipped painter goes through the pen.
    struct Case {
        const char* what;
        int count;
        bool clipped;
    };
    const Case cases[] = {{"dense", 4000, false}, {"sparse", 30, false}, {"dense and clipped", 4000, true}};
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
    const QSize size(200, 120);
    for (const Case& c : cases) {
        std::array<CurveLines, 3> lines;
        std::vector<CurveToPaint> curves;
        for (int i = 0; i < 3; ++i) {
            std::vector<std::uint8_t> raws(std::size_t(c.count));
            std::uint32_t s = 99u + std::uint32_t(i);
            for (auto& r : raws) {
                s = s * 1103515245u + 12345u;
                r = std::uint8_t((s >> 16) & 0xFF); // every sample anywhere: full columns
            }
            buildCurve(raws, -5, 210, CurveScale(200 + 20 * i, 40 - 10 * i, 110, 100), lines[std::size_t(i)]);
            curves.push_back({&lines[std::size_t(i)].lines(), colours[i]});
        }
        const auto paint = [&](bool together) {
            QImage img(size, QImage::Format_RGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            if (c.clipped)
                p.setClipRect(img.rect());
            if (together)
                paintCurves(p, curves);
            else
                for (const CurveToPaint& curve : curves)
                    paintCurveLines(p, *curve.lines, curve.colour);
            return img;
        };
        const QImage together = paint(true);
        EXPECT_EQ(together, paint(false)) << c.what;
        int blue = 0;
        for (int y = 0; y < size.height(); ++y)
            blue += together.pixelColor(100, y) == Qt::blue;
        EXPECT_GT(blue, 0) << c.what;
    }
}

} // namespace
} // namespace qz
