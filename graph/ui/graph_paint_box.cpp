#include "graph/ui/graph_paint_box.h"

#include "graph/graph_draw.h"
#include "graph/graph_view.h"

#include <QPainter>

namespace qz {

namespace {

const QColor kOverlayColour{0, 0, 255};

QPen dottedPen()
{
    QPen pen(kOverlayColour, 0, Qt::DotLine);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

GraphPaintBox::GraphPaintBox(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Image"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(100, 80);
}

void GraphPaintBox::prepareCanvas(bool blank)
{
    qz::prepareCanvas(image_, size(), blank || image_.size() != size());
    update();
}

void GraphPaintBox::drawGraph()
{
    if (image_.size() != size())
        prepareCanvas(true);
    image_.fill(Qt::white);
    if (view_) {
        QPainter p(&image_);
        DrawResult drawn = qz::drawGraph(p, screenTarget(image_.size()), *view_);
        layout_ = drawn.layout;
        texts_ = std::move(drawn.texts);
    }
    ++drawCount_;
    update();
}

void GraphPaintBox::showCursorLine(int x)
{
    if (cursorX_ == x)
        return;
    hideCursorLine();
    cursorX_ = x;
    update(QRect(x, 0, 1, height()));
}

void GraphPaintBox::hideCursorLine()
{
    if (!cursorX_)
        return;
    update(QRect(*cursorX_, 0, 1, height()));
    cursorX_.reset();
}

void GraphPaintBox::showRubberBand(const QRect& rect)
{
    hideRubberBand();
    band_ = rect;
    update(rect.adjusted(-1, -1, 1, 1));
}

void GraphPaintBox::hideRubberBand()
{
    if (!band_)
        return;
    update(band_->adjusted(-1, -1, 1, 1));
    band_.reset();
}

void GraphPaintBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, image_);
    if (!cursorX_ && !band_)
        return;
    p.setPen(dottedPen());
    p.setBrush(Qt::NoBrush);
    if (cursorX_)
        p.drawLine(*cursorX_, layout_.bottom - 1, *cursorX_, layout_.top + 1);
    // The rectangle's outline passes through both corners of the band.
    if (band_)
        p.drawRect(band_->adjusted(0, 0, -1, -1));
}

void GraphPaintBox::resizeEvent(QResizeEvent*)
{
    emit resized();
}

} // namespace qz
