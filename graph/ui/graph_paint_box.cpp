#include "graph/ui/graph_paint_box.h"

#include "graph/graph_draw.h"
#include "recording/recording.h"

#include <QPainter>

namespace qz {

GraphPaintBox::GraphPaintBox(const Recording& recording, QWidget* parent)
    : QWidget(parent), recording_(recording)
{
    setObjectName(QStringLiteral("Image"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(100, 80);
}

void GraphPaintBox::prepareCanvas(bool blank)
{
    qz::PrepareCanvas(image_, size(), blank || image_.size() != size());
    update();
}

void GraphPaintBox::drawGraph()
{
    if (image_.size() != size())
        prepareCanvas(true);
    image_.fill(Qt::white);
    if (recording_.isInitialized()) {
        QPainter p(&image_);
        layout_ = qz::DrawGraph(p, ScreenTarget(image_.size()), recording_).layout;
    }
    ++drawCount_;
    update();
}

void GraphPaintBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, image_);
}

void GraphPaintBox::resizeEvent(QResizeEvent*)
{
    if (recording_.isInitialized())
        drawGraph();
    else
        prepareCanvas(true);
}

} // namespace qz
