#include "ui/text_print.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace qz {

QFont printFont(const QFont& screenFont)
{
    QFont font = screenFont;
    if (screenFont.pixelSize() > 0)
        font.setPointSizeF(screenFont.pixelSize() * 72.0 / 96.0);
    return font;
}

bool printLines(QPagedPaintDevice& device, const QStringList& lines, const QFont& screenFont)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QFont font(printFont(screenFont), &device);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font, &device);
    const int step = std::max(1, metrics.lineSpacing());
    int y = metrics.ascent();
    for (const QString& line : lines) {
        if (y + metrics.descent() > device.height() && y > metrics.ascent()) {
            if (!device.newPage()) {
                painter.end();
                return false;
            }
            y = metrics.ascent();
        }
        painter.drawText(0, y, line);
        y += step;
    }
    return painter.end();
}

} // namespace qz
