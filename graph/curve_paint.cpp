#include "graph/curve_paint.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace qz {

namespace {

// The image under the painter when its pixels may be written directly: an opaque 32-bit
// format, no transform, no clip, plain painting, and a buffer of its own.
QImage* DirectImage(QPainter& painter)
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

QPen CurvePen(const QColor& colour)
{
    QPen pen(colour);
    // Width 0: one device pixel on a screen, the thinnest visible line on paper and in a
    // PDF at any resolution.
    pen.setWidth(0);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::SquareCap);
    return pen;
}

} // namespace

void PaintCurveLines(QPainter& painter, const std::vector<QLine>& lines, const QColor& colour)
{
    painter.setPen(CurvePen(colour));
    QImage* image = DirectImage(painter);
    if (!image) {
        painter.drawLines(lines.data(), int(lines.size()));
        return;
    }
    const QRgb pixel = 0xFF000000u | (colour.rgb() & 0x00FFFFFFu);
    const int width = image->width();
    const int height = image->height();
    const qsizetype stride = image->bytesPerLine() / qsizetype(sizeof(QRgb));
    QRgb* bits = reinterpret_cast<QRgb*>(image->bits());
    // Rows a..b (either order) of column x, clipped to the image.
    auto run = [&](int x, int a, int b) {
        if (x < 0 || x >= width)
            return;
        const int y0 = std::max(0, std::min(a, b));
        const int y1 = std::min(height - 1, std::max(a, b));
        QRgb* p = bits + qsizetype(y0) * stride + x;
        for (int y = y0; y <= y1; ++y, p += stride)
            *p = pixel;
    };
    std::vector<QLine> others;
    for (const QLine& l : lines) {
        const int dx = l.x2() - l.x1();
        if (dx == 0) {
            run(l.x1(), l.y1(), l.y2());
        } else if (dx == 1 || dx == -1) {
            // The rows from y1 to y2: the first half (rounded up) in the first column,
            // the rest in the second; each column holds at least its end point.
            const int rows = std::abs(l.y2() - l.y1()) + 1;
            const int dir = l.y2() >= l.y1() ? 1 : -1;
            const int first = (rows + 1) / 2;
            run(l.x1(), l.y1(), l.y1() + dir * (first - 1));
            if (rows > first)
                run(l.x2(), l.y1() + dir * first, l.y2());
            else
                run(l.x2(), l.y2(), l.y2());
        } else {
            others.push_back(l);
        }
    }
    painter.drawLines(others.data(), int(others.size()));
}

} // namespace qz
