#include "realtime/ui/trend_view.h"

#include <QPainter>
#include <QPolygonF>

namespace qz {

namespace {

constexpr int kHeight = 16;
constexpr qreal kMargin = 2;

} // namespace

TrendView::TrendView(const ReadingTrend& trend, int input, QColor colour, QWidget* parent)
    : QWidget(parent), trend_(trend), input_(input), colour_(colour)
{
    setFixedHeight(kHeight);
    setMinimumWidth(40);
}

void TrendView::showAt(std::int64_t nowMs, double minRange)
{
    nowMs_ = nowMs;
    minRange_ = minRange;
    layOut();
    update();
}

void TrendView::layOut()
{
    const QSizeF box(width() - 2 * kMargin, height() - 2 * kMargin);
    line_ = trendLine(trend_.points(input_), nowMs_, box, minRange_);
    for (QPointF& p : line_)
        p += QPointF(kMargin, kMargin);
}

void TrendView::resizeEvent(QResizeEvent*)
{
    layOut();
}

void TrendView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Mid), 0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (line_.empty())
        return;
    painter.setPen(QPen(colour_, 1.5));
    if (line_.size() == 1)
        painter.drawPoint(line_.front());
    else
        painter.drawPolyline(QPolygonF(QList<QPointF>(line_.begin(), line_.end())));
}

} // namespace qz
