// The targets of a graph: the window's canvas, a bitmap, a printer page.
#include "graph/graph_draw.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

namespace qz {

namespace {
constexpr int kScreenDotsPerMeter = 3780; // 96 dots per inch
}

QImage newCanvas(QSize size)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.setDotsPerMeterX(kScreenDotsPerMeter);
    image.setDotsPerMeterY(kScreenDotsPerMeter);
    image.fill(Qt::white);
    return image;
}

GraphTarget prepareCanvas(QImage& canvas, QSize paintBoxSize, bool blank)
{
    if (blank)
        canvas = newCanvas(paintBoxSize);
    return screenTarget(paintBoxSize);
}

QImage graphBitmap(const GraphView& view, QSize size)
{
    QImage image = newCanvas(size);
    QPainter painter(&image);
    drawGraph(painter, screenTarget(size), view);
    painter.end();
    return image;
}

void printTo(QPainter& page, QSize pageSize, bool portrait, const GraphView& view)
{
    drawGraph(page, printerTarget(pageSize, portrait), view);
}

bool printTo(QPagedPaintDevice& device, const GraphView& view)
{
    const bool portrait = device.pageLayout().orientation() == QPageLayout::Portrait;
    const QSize pageSize(device.width(), device.height());
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    printTo(painter, pageSize, portrait, view);
    return painter.end();
}

} // namespace qz
