// The graph window's mouse and keys: the cursor line and readout, the zoom rectangle,
// going back a level, the diagnostic readout and the graphic configuration.
#include "graph/cursor_readout.h"
#include "graph/navigation.h"
#include "graph/ui/graph_paint_box.h"
#include "graph/ui/graph_window.h"
#include "graph/zoom.h"
#include "platform/clock.h"
#include "ui/internal_messages.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace qz {

namespace {

// The top-right corner where Shift and the right button switch the diagnostic readout.
constexpr int kCornerSize = 3;
// What one notch of the wheel leaves of the time or value span.
constexpr double kWheelStep = 0.8;

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
        const QPoint at = m->position().toPoint();
        // The middle button, or Shift with the left one, takes the picture along.
        if (m->button() == Qt::MiddleButton
            || (m->button() == Qt::LeftButton && m->modifiers().testFlag(Qt::ShiftModifier))) {
            panning_ = true;
            panLast_ = at;
            paintBox_->setCursor(Qt::ClosedHandCursor);
            return true;
        }
        imageMouseDown(m->button(), m->modifiers(), at);
        return true;
    }
    case QEvent::MouseMove:
        if (panning_) {
            panTo(static_cast<QMouseEvent*>(e)->position().toPoint());
            return true;
        }
        imageMouseMove(static_cast<QMouseEvent*>(e)->position().toPoint());
        return true;
    case QEvent::MouseButtonRelease:
        if (panning_) {
            panTo(static_cast<QMouseEvent*>(e)->position().toPoint());
            panning_ = false;
            paintBox_->unsetCursor();
            return true;
        }
        imageMouseUp(static_cast<QMouseEvent*>(e)->position().toPoint());
        return true;
    case QEvent::Wheel:
        turnWheel(*static_cast<QWheelEvent*>(e));
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return dropEvent(e);
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
        if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Home) {
            showAllLevels();
            return true;
        }
        formKeyDown(static_cast<QKeyEvent*>(e)->modifiers());
        return false;
    default:
        break;
    }
    return DocumentWindow::eventFilter(watched, e);
}

void GraphWindow::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Home && view_) {
        showAllLevels();
        return;
    }
    formKeyDown(e->modifiers());
    DocumentWindow::keyPressEvent(e);
}

void GraphWindow::turnWheel(const QWheelEvent& e)
{
    // One notch (120) zooms in by a fifth; turned back, out again.
    const double notches = e.angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    const double factor = std::pow(kWheelStep, notches);
    const QPoint at = e.position().toPoint();
    const GraphLayout& l = paintBox_->layout();
    const bool changed = e.modifiers().testFlag(Qt::ControlModifier)
        ? zoomValuesAround(*view_, l, at.y(), factor)
        : zoomTimeAround(*view_, l, at.x(), factor);
    if (changed)
        drawGraph();
}

void GraphWindow::panTo(QPoint at)
{
    const QPoint delta = at - panLast_;
    panLast_ = at;
    if (delta.isNull())
        return;
    if (pan(*view_, paintBox_->layout(), delta))
        drawGraph();
}

void GraphWindow::showAllLevels()
{
    if (!showAll(*view_))
        return;
    paintBox_->prepareCanvas(true);
    drawGraph();
}

bool GraphWindow::dropEvent(QEvent* e)
{
    const QMimeData* mime = e->type() == QEvent::Drop ? static_cast<QDropEvent*>(e)->mimeData()
                                                      : static_cast<QDragMoveEvent*>(e)->mimeData();
    QStringList names;
    if (mime) {
        for (const QUrl& url : mime->urls())
            if (url.isLocalFile() && url.toLocalFile().endsWith(QLatin1String(".qrv"), Qt::CaseInsensitive))
                names << url.toLocalFile();
    }
    auto* drop = static_cast<QDropEvent*>(e);
    if (names.isEmpty()) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (e->type() == QEvent::Drop)
        emit recordingsDropped(names);
    return true;
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
    overlays_.clear();
    if (!dragging_ && !(l.top < at.y() && at.y() < l.bottom))
        return;
    if (const std::optional<int> k = measurementUnder(*view_, l, 0, at.x())) {
        CursorReadout readout = readCursor(*view_, *k, diagnostic_);
        status_ = std::move(readout.values);
        units_ = std::move(readout.units);
    } else {
        // The primary recording has nothing here: the instant and empty columns.
        const QString when = instantTextAt(*view_, l, at.x());
        status_ << when;
        units_ << when;
        for (int i = 0; i < mem::kInputs; ++i) {
            if (!view_->isInputDrawn(i))
                continue;
            status_ << QString();
            units_ << view_->data().input(i).unit;
        }
    }
    for (int r = 1; r < view_->recordingCount(); ++r) {
        const std::optional<int> k = measurementUnder(*view_, l, r, at.x());
        if (!k)
            continue;
        const CursorReadout readout = readCursor(*view_, r, *k, diagnostic_);
        OverlayReadout o;
        o.label = view_->label(r);
        o.values = readout.values;
        o.units = readout.units;
        o.units[0] = o.label;
        for (int i = 0; i < mem::kInputs; ++i)
            if (view_->isDrawn(r, i))
                o.colours.push_back(view_->curveColour({r, i}));
        overlays_.push_back(std::move(o));
    }
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
