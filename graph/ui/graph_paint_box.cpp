#include "graph/ui/graph_paint_box.h"

#include "graph/graph_draw.h"
#include "recording/recording.h"

#include <QPainter>

namespace qz {

GraphPaintBox::GraphPaintBox(Recording& recording, QWidget* parent)
    : QWidget(parent), recording_(recording)
{
    setObjectName(QStringLiteral("Image"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(100, 80);
}

void GraphPaintBox::PrepareCanvas(bool blank)
{
    qz::PrepareCanvas(image_, size(), blank || image_.size() != size());
    update();
}

void GraphPaintBox::DrawGraph()
{
    if (image_.size() != size())
        PrepareCanvas(true);
    image_.fill(Qt::white);
    if (recording_.IsInitialized()) {
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
    if (recording_.IsInitialized())
        DrawGraph();
    else
        PrepareCanvas(true);
}

} // namespace qz
