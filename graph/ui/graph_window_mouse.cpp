// The graph window's mouse and keys: the cursor line and readout, the zoom rectangle,
// going back a level, the diagnostic readout and the graphic configuration.
#include "graph/cursor_readout.h"
#include "graph/ui/graph_paint_box.h"
#include "graph/ui/graph_window.h"
#include "graph/zoom.h"
#include "platform/clock.h"
#include "ui/internal_messages.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace qz {

namespace {

// The top-right corner where Shift and the right button switch the diagnostic readout.
constexpr int kCornerSize = 3;

// The rectangle with corners a and b, both inside it.
QRect between(QPoint a, QPoint b)
{
    return {QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
            QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))};
}

} // namespace

bool GraphWindow::eventFilter(QObject* watched, QEvent* e)
{
    if (watched != paintBox_ || !view_)
        return DocumentWindow::eventFilter(watched, e);
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        const auto* m = static_cast<QMouseEvent*>(e);
        imageMouseDown(m->button(), m->modifiers(), m->position().toPoint());
        return true;
    }
    case QEvent::MouseMove:
        imageMouseMove(static_cast<QMouseEvent*>(e)->position().toPoint());
        return true;
    case QEvent::MouseButtonRelease:
        imageMouseUp(static_cast<QMouseEvent*>(e)->position().toPoint());
        return true;
    case QEvent::MouseButtonDblClick: {
        // A quick second right click is a second step back.
        const auto* m = static_cast<QMouseEvent*>(e);
        if (m->button() == Qt::LeftButton)
            openGraphicConfig();
        else
            imageMouseDown(m->button(), m->modifiers(), m->position().toPoint());
        return true;
    }
    case QEvent::KeyPress:
        formKeyDown(static_cast<QKeyEvent*>(e)->modifiers());
        return false;
    default:
        break;
    }
    return DocumentWindow::eventFilter(watched, e);
}

void GraphWindow::keyPressEvent(QKeyEvent* e)
{
    formKeyDown(e->modifiers());
    DocumentWindow::keyPressEvent(e);
}

bool GraphWindow::insidePlot(QPoint at) const
{
    const GraphLayout& l = paintBox_->layout();
    return l.left < at.x() && at.x() < l.right && l.top < at.y() && at.y() < l.bottom;
}

QPoint GraphWindow::clampToFrame(QPoint at) const
{
    const GraphLayout& l = paintBox_->layout();
    return {std::clamp(at.x(), l.left, std::max(l.left, l.right)),
            std::clamp(at.y(), l.top, std::max(l.top, l.bottom))};
}

void GraphWindow::imageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at)
{
    if (button == Qt::RightButton) {
        if (shift.testFlag(Qt::ShiftModifier) && at.x() > paintBox_->width() - kCornerSize
            && at.y() < kCornerSize)
            diagnostic_ = !diagnostic_;
        else
            zoomOut();
        return;
    }
    if (button == Qt::LeftButton && insidePlot(at)) {
        dragging_ = true;
        dragStart_ = dragEnd_ = at;
    }
}

void GraphWindow::imageMouseMove(QPoint at)
{
    if (!isActiveWindow())
        return;
    const GraphLayout& l = paintBox_->layout();
    if (dragging_ || insidePlot(at))
        paintBox_->setCursor(Qt::CrossCursor);
    else
        paintBox_->unsetCursor();
    if (!active_)
        return;
    trackCursor(at);
    if (l.left < at.x() && at.x() < l.right)
        readOut(at);
    // Also outside the plot: the status line keeps the last report or shows none.
    sendInternal(notifyTarget(), kMsgDrawStatus);
    if (dragging_) {
        dragEnd_ = clampToFrame(at);
        paintBox_->showRubberBand(between(dragStart_, dragEnd_));
    }
}

void GraphWindow::readOut(QPoint at)
{
    const GraphLayout& l = paintBox_->layout();
    status_.clear();
    units_.clear();
    if (!dragging_ && !(l.top < at.y() && at.y() < l.bottom))
        return;
    const int k = measurementAt(l, view_->currentView(), at.x());
    CursorReadout readout = readCursor(*view_, k, diagnostic_);
    status_ = std::move(readout.values);
    units_ = std::move(readout.units);
}

void GraphWindow::trackCursor(QPoint at)
{
    if (clock_.tickMs() < holdOffDeadline_)
        return;
    if (!dragging_ && insidePlot(at))
        paintBox_->showCursorLine(at.x());
    else
        paintBox_->hideCursorLine();
}

void GraphWindow::imageMouseUp(QPoint at)
{
    if (!dragging_)
        return;
    dragging_ = false;
    paintBox_->unsetCursor();
    paintBox_->hideRubberBand();
    // A click, or a rectangle without width or height, is no zoom.
    if (dragStart_.x() == dragEnd_.x() || dragStart_.y() == dragEnd_.y())
        return;
    dragEnd_ = clampToFrame(at);
    zoomIn(dragEnd_);
}

void GraphWindow::zoomIn(QPoint end)
{
    const ZoomResult result = qz::zoomIn(*view_, paintBox_->layout(), dragStart_, end);
    // A small slip of the mouse is no reason for a box that must be closed.
    if (result.outcome == ZoomOutcome::WindowTooSmall)
        emit statusNote(QStringLiteral("Window too small "));
    if (!result.redraw)
        return;
    if (result.outcome == ZoomOutcome::Zoomed) {
        drawGraph();
    } else {
        paintBox_->prepareCanvas(true);
        redrawGraph();
    }
}

void GraphWindow::zoomOut()
{
    if (!qz::zoomOut(*view_))
        return;
    paintBox_->prepareCanvas(true);
    drawGraph();
}

void GraphWindow::formKeyDown(Qt::KeyboardModifiers shift)
{
    // Exactly Alt or exactly Ctrl: a menu or a shortcut is coming, the line goes.
    if (shift == Qt::AltModifier || shift == Qt::ControlModifier)
        paintBox_->hideCursorLine();
}

} // namespace qz
