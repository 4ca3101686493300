#include "app/ui/tool_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

namespace qz {

namespace {

constexpr int kSize = 24;

void folder(QPainter& p)
{
    p.setBrush(QColor(230, 190, 60));
    p.drawPolygon(QPolygon({{2, 6}, {9, 6}, {11, 8}, {21, 8}, {21, 20}, {2, 20}}));
    p.setBrush(QColor(250, 215, 100));
    p.drawPolygon(QPolygon({{4, 11}, {23, 11}, {20, 20}, {2, 20}}));
}

void disk(QPainter& p)
{
    p.setBrush(QColor(40, 60, 160));
    p.drawRect(3, 3, 18, 18);
    p.setBrush(Qt::white);
    p.drawRect(6, 3, 12, 7);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(7, 14, 10, 7);
}

void printer(QPainter& p)
{
    p.setBrush(Qt::white);
    p.drawRect(7, 2, 10, 8);
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(2, 9, 20, 9);
    p.setBrush(Qt::white);
    p.drawRect(6, 15, 12, 7);
}

void document(QPainter& p, const QColor& arrow)
{
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({{3, 2}, {13, 2}, {17, 6}, {17, 22}, {3, 22}}));
    p.drawLine(6, 8, 13, 8);
    p.drawLine(6, 12, 13, 12);
    p.setBrush(arrow);
    p.drawPolygon(QPolygon({{13, 13}, {19, 13}, {19, 10}, {23, 16}, {19, 22}, {19, 19}, {13, 19}}));
}

void download(QPainter& p)
{
    p.setBrush(QColor(60, 60, 60));
    p.drawRoundedRect(3, 2, 18, 10, 2, 2);
    p.setBrush(QColor(120, 220, 120));
    p.drawRect(6, 4, 12, 5);
    p.setBrush(QColor(20, 140, 20));
    p.drawPolygon(QPolygon({{9, 13}, {15, 13}, {15, 17}, {19, 17}, {12, 23}, {5, 17}, {9, 17}}));
}

void stop(QPainter& p)
{
    p.setBrush(QColor(200, 30, 30));
    p.drawEllipse(2, 2, 20, 20);
    p.setBrush(Qt::white);
    p.drawRect(8, 8, 8, 8);
}

void config(QPainter& p)
{
    p.setBrush(QColor(60, 60, 60));
    p.drawRoundedRect(3, 4, 18, 16, 2, 2);
    p.setPen(QPen(QColor(240, 240, 240), 2));
    for (int y : {8, 12, 16})
        p.drawLine(6, y, 18, y);
    p.setPen(QPen(QColor(230, 160, 0), 3));
    p.drawPoint(9, 8);
    p.drawPoint(15, 12);
    p.drawPoint(11, 16);
}

void graph(QPainter& p)
{
    p.setBrush(Qt::white);
    p.drawRect(2, 3, 20, 18);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawPolyline(QPolygon({{4, 17}, {8, 11}, {12, 14}, {16, 6}, {20, 9}}));
    p.setPen(QPen(QColor(0, 0, 200), 2));
    p.drawPolyline(QPolygon({{4, 12}, {9, 15}, {14, 16}, {20, 13}}));
}

void info(QPainter& p)
{
    p.setBrush(QColor(30, 90, 200));
    p.drawEllipse(2, 2, 20, 20);
    p.setPen(QPen(Qt::white, 3));
    p.drawPoint(12, 7);
    p.drawLine(12, 11, 12, 18);
}

void realtime(QPainter& p)
{
    p.setBrush(Qt::white);
    p.drawEllipse(2, 2, 20, 20);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(12, 12, 12, 5);
    p.drawLine(12, 12, 17, 14);
}

void help(QPainter& p)
{
    p.setBrush(QColor(250, 230, 90));
    p.drawEllipse(2, 2, 20, 20);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(16);
    p.setFont(f);
    p.drawText(QRect(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
}

void exitDoor(QPainter& p)
{
    p.setBrush(QColor(150, 90, 40));
    p.drawRect(5, 2, 12, 20);
    p.setBrush(QColor(20, 140, 20));
    p.drawPolygon(QPolygon({{12, 9}, {18, 9}, {18, 6}, {23, 12}, {18, 18}, {18, 15}, {12, 15}}));
}

} // namespace

QIcon toolGlyph(const QString& name)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    if (name == QLatin1String("sbOpen"))
        folder(p);
    else if (name == QLatin1String("sbSave"))
        disk(p);
    else if (name == QLatin1String("sbPrint"))
        printer(p);
    else if (name == QLatin1String("sbExport"))
        document(p, QColor(20, 140, 20));
    else if (name == QLatin1String("spDownload"))
        download(p);
    else if (name == QLatin1String("spStop"))
        stop(p);
    else if (name == QLatin1String("sbConfig"))
        config(p);
    else if (name == QLatin1String("spGraphic"))
        graph(p);
    else if (name == QLatin1String("spInfos"))
        info(p);
    else if (name == QLatin1String("sprealtime"))
        realtime(p);
    else if (name == QLatin1String("SpeedButton2"))
        help(p);
    else if (name == QLatin1String("SpeedButton1"))
        exitDoor(p);
    p.end();
    return QIcon(pixmap);
}

} // namespace qz
