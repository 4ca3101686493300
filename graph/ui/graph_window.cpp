#include "graph/ui/graph_window.h"

#include "graph/graph_draw.h"
#include "graph/ui/graph_paint_box.h"
#include "model/internal_messages.h"
#include "platform/prompt.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPrinter>

namespace qz {

GraphWindow::GraphWindow(ProgramFolder folder, Prompt& prompt, QWidget* parent)
    : DocumentWindow(parent), prompt_(prompt), recording_(std::make_unique<Recording>(std::move(folder)))
{
    setObjectName(QStringLiteral("MDIGraph"));
    paintBox_ = new GraphPaintBox(*recording_, this);
    setWidget(paintBox_);
}

GraphWindow::~GraphWindow() = default;

InitResult GraphWindow::initialize()
{
    const InitResult result = recording_->initialize();
    if (result) {
        paintBox_->prepareCanvas(true);
        paintBox_->drawGraph();
    }
    return result;
}

LoadResult GraphWindow::load(const QString& name)
{
    const LoadResult result = recording_->load(name);
    if (result.ok()) {
        paintBox_->prepareCanvas(true);
        paintBox_->drawGraph();
    }
    return result;
}

void GraphWindow::childTitle(int n)
{
    if (recording_->isTitleSet())
        return;
    recording_->childTitle(n);
    setWindowTitle(recording_->caption());
}

QImage GraphWindow::snapshot() const
{
    return paintBox_->image().copy();
}

void GraphWindow::copyToClipboard()
{
    QGuiApplication::clipboard()->setImage(snapshot());
}

bool GraphWindow::saveToFile(const QString& name)
{
    QImageWriter writer(name, "bmp");
    return writer.write(snapshot());
}

void GraphWindow::printTo(QPrinter& printer)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    printer.setDocName(windowTitle());
    const bool ok = qz::printTo(printer, *recording_);
    QGuiApplication::restoreOverrideCursor();
    if (!ok) {
        const QString where = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        prompt_.tell(QStringLiteral("Unable to print on ") + where, PromptSymbol::Error);
    }
    paintBox_->update();
}

bool GraphWindow::mayClose()
{
    SendInternal(notifyTarget(), kMsgRenumberTitles);
    return recording_->mayClose(prompt_);
}

void GraphWindow::setTopAndHeight(int top, int height)
{
    resizeSuppressed_ = true;
    DocumentWindow::setTopAndHeight(top, height);
}

void GraphWindow::redrawGraph()
{
    PostInternal(this, kMsgRedrawGraph);
}

bool GraphWindow::event(QEvent* e)
{
    switch (InternalMessageOf(e->type())) {
    case kMsgTimerTick:
        return true;
    case kMsgRedrawGraph:
        paintBox_->drawGraph();
        QCoreApplication::removePostedEvents(this, InternalEventType(kMsgRedrawGraph));
        return true;
    case kMsgDetachInfoWindow:
    case kMsgApplyGraphicConfig:
        return true;
    default:
        break;
    }
    return DocumentWindow::event(e);
}

void GraphWindow::resizeEvent(QResizeEvent* e)
{
    DocumentWindow::resizeEvent(e);
    resizeSuppressed_ = false;
}

} // namespace qz
