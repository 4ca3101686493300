#include "graph/curve_paint.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>

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
    std::vector<QLine> others;
    others.reserve(lines.size());
    for (const QLine& l : lines) {
        if (l.x1() != l.x2()) {
            others.push_back(l);
            continue;
        }
        const int x = l.x1();
        if (x < 0 || x >= width)
            continue;
        const int y0 = std::max(0, std::min(l.y1(), l.y2()));
        const int y1 = std::min(height - 1, std::max(l.y1(), l.y2()));
        QRgb* p = bits + qsizetype(y0) * stride + x;
        for (int y = y0; y <= y1; ++y, p += stride)
            *p = pixel;
    }
    painter.drawLines(others.data(), int(others.size()));
}

} // namespace qz
