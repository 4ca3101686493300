#include "graph/curve_paint.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

namespace qz {

namespace {

// The image under the painter when its pixels may be written directly: an opaque 32-bit
// format, no transform, no clip, plain painting, and a buffer of its own.
QImage* directImage(QPainter& painter)
{
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format f = image->format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    if (!painter.deviceTransform().isIdentity() || painter.hasClipping() || painter.opacity() != 1.0
        || painter.compositionMode() != QPainter::CompositionMode_SourceOver || !image->isDetached()
        || image->devicePixelRatio() != 1.0)
        return nullptr;
    return image;
}

QPen curvePen(const QColor& colour)
{
    QPen pen(colour);
    // Width 0: one device pixel on a screen, the thinnest visible line on paper and in a
    // PDF at any resolution.
    pen.setWidth(0);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::SquareCap);
    return pen;
}

// A vertical run of one colour: rows a..b (either order) of column x.
struct Run {
    int x;
    int a;
    int b;
};

// The runs of lines that step at most one pixel column; the lines that step further go
// to others.
void splitIntoRuns(const std::vector<QLine>& lines, std::vector<Run>& runs, std::vector<QLine>& others)
{
    runs.reserve(runs.size() + 2 * lines.size());
    for (const QLine& l : lines) {
        const int dx = l.x2() - l.x1();
        if (dx == 0) {
            runs.push_back({l.x1(), l.y1(), l.y2()});
        } else if (dx == 1 || dx == -1) {
            // The rows from y1 to y2: the first half (rounded up) in the first column,
            // the rest in the second; each column holds at least its end point.
            const int rows = std::abs(l.y2() - l.y1()) + 1;
            const int dir = l.y2() >= l.y1() ? 1 : -1;
            const int first = (rows + 1) / 2;
            runs.push_back({l.x1(), l.y1(), l.y1() + dir * (first - 1)});
            if (rows > first)
                runs.push_back({l.x2(), l.y1() + dir * first, l.y2()});
            else
                runs.push_back({l.x2(), l.y2(), l.y2()});
        } else {
            others.push_back(l);
        }
    }
}

// Writes runs straight into the pixels of an image, clipped to it.
class RunWriter {
public:
    explicit RunWriter(QImage& image)
        : bits_(reinterpret_cast<QRgb*>(image.bits())),
          stride_(image.bytesPerLine() / qsizetype(sizeof(QRgb))), width_(image.width()),
          height_(image.height())
    {}

    static QRgb pixel(const QColor& colour) { return 0xFF000000u | (colour.rgb() & 0x00FFFFFFu); }

    void write(const Run& r, QRgb pixel) const
    {
        if (r.x < 0 || r.x >= width_)
            return;
        const int y0 = std::max(0, std::min(r.a, r.b));
        const int y1 = std::min(height_ - 1, std::max(r.a, r.b));
        QRgb* p = bits_ + qsizetype(y0) * stride_ + r.x;
        for (int y = y0; y <= y1; ++y, p += stride_)
            *p = pixel;
    }

private:
    QRgb* bits_;
    qsizetype stride_;
    int width_;
    int height_;
};

// The runs of one pixel column, in the order they are to be painted. Painted from the
// last to the first, each pixel is written once: by the last run that covers it.
class ColumnPainter {
public:
    explicit ColumnPainter(const RunWriter& writer) : writer_(writer) {}

    void add(const Run& run, QRgb pixel) { runs_.push_back({run, pixel}); }

    void paint()
    {
        if (runs_.size() == 1) {
            writer_.write(runs_[0].run, runs_[0].pixel);
            runs_.clear();
            return;
        }
        covered_.clear();
        for (auto it = runs_.rbegin(); it != runs_.rend(); ++it) {
            const int lo = std::min(it->run.a, it->run.b);
            const int hi = std::max(it->run.a, it->run.b);
            // The rows of lo..hi that no later run has written, in order.
            int from = lo;
            for (const auto& [clo, chi] : covered_) {
                if (chi < from)
                    continue;
                if (clo > hi)
                    break;
                if (clo > from)
                    writer_.write({it->run.x, from, clo - 1}, it->pixel);
                from = std::max(from, chi + 1);
                if (from > hi)
                    break;
            }
            if (from <= hi)
                writer_.write({it->run.x, from, hi}, it->pixel);
            cover(lo, hi);
        }
        runs_.clear();
    }

private:
    struct Entry {
        Run run;
        QRgb pixel;
    };

    // Adds lo..hi to the sorted, disjoint covered intervals.
    void cover(int lo, int hi)
    {
        auto it = std::lower_bound(covered_.begin(), covered_.end(), lo,
                                   [](const std::pair<int, int>& c, int v) { return c.second + 1 < v; });
        auto end = it;
        while (end != covered_.end() && end->first <= hi + 1) {
            lo = std::min(lo, end->first);
            hi = std::max(hi, end->second);
            ++end;
        }
        it = covered_.erase(it, end);
        covered_.insert(it, {lo, hi});
    }

    const RunWriter& writer_;
    std::vector<Entry> runs_;
    std::vector<std::pair<int, int>> covered_;
};

} // namespace

void paintCurveLines(QPainter& painter, const std::vector<QLine>& lines, const QColor& colour)
{
    painter.setPen(curvePen(colour));
    QImage* image = directImage(painter);
    if (!image) {
        painter.drawLines(lines.data(), int(lines.size()));
        return;
    }
    std::vector<Run> runs;
    std::vector<QLine> others;
    splitIntoRuns(lines, runs, others);
    const RunWriter writer(*image);
    const QRgb pixel = RunWriter::pixel(colour);
    for (const Run& r : runs)
        writer.write(r, pixel);
    painter.drawLines(others.data(), int(others.size()));
}

void paintCurves(QPainter& painter, const std::vector<CurveToPaint>& curves)
{
    QImage* image = directImage(painter);
    std::vector<std::vector<Run>> runs(curves.size());
    bool runsOnly = image != nullptr;
    std::vector<QLine> others;
    for (std::size_t c = 0; runsOnly && c < curves.size(); ++c) {
        splitIntoRuns(*curves[c].lines, runs[c], others);
        runsOnly = others.empty();
    }
    if (!runsOnly) {
        for (const CurveToPaint& c : curves)
            paintCurveLines(painter, *c.lines, c.colour);
        return;
    }
    // Column by column, each column's curves in their order: every part of the picture
    // is visited once while it is at hand, whatever the number of curves.
    std::vector<std::size_t> next(curves.size(), 0);
    std::vector<QRgb> pixels;
    for (std::size_t c = 0; c < curves.size(); ++c) {
        // A curve runs left to right; only a step back to the previous column is out of order.
        const auto byColumn = [](const Run& a, const Run& b) { return a.x < b.x; };
        if (!std::is_sorted(runs[c].begin(), runs[c].end(), byColumn))
            std::stable_sort(runs[c].begin(), runs[c].end(), byColumn);
        pixels.push_back(RunWriter::pixel(curves[c].colour));
    }
    const RunWriter writer(*image);
    ColumnPainter column(writer);
    for (;;) {
        int x = std::numeric_limits<int>::max();
        for (std::size_t c = 0; c < curves.size(); ++c)
            if (next[c] < runs[c].size())
                x = std::min(x, runs[c][next[c]].x);
        if (x == std::numeric_limits<int>::max())
            break;
        for (std::size_t c = 0; c < curves.size(); ++c)
            for (; next[c] < runs[c].size() && runs[c][next[c]].x == x; ++next[c])
                column.add(runs[c][next[c]], pixels[c]);
        column.paint();
    }
}

} // namespace qz
