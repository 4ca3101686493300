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

bool GraphWindow::Initialize()
{
    if (!recording_->Initialize())
        return false;
    paintBox_->PrepareCanvas(true);
    paintBox_->DrawGraph();
    return true;
}

bool GraphWindow::LoadFile(const QString& name)
{
    const bool ok = recording_->LoadFile(name, prompt_);
    if (ok) {
        paintBox_->PrepareCanvas(true);
        paintBox_->DrawGraph();
    }
    return ok;
}

bool GraphWindow::save(const QString& name)
{
    return recording_->save(name);
}

void GraphWindow::ChildTitle(int n)
{
    if (recording_->IsTitleSet())
        return;
    recording_->ChildTitle(n);
    setWindowTitle(recording_->Caption());
}

QImage GraphWindow::Snapshot() const
{
    return paintBox_->image().copy();
}

void GraphWindow::CopyToClipBoard()
{
    QGuiApplication::clipboard()->setImage(Snapshot());
}

bool GraphWindow::SaveToFile(const QString& name)
{
    QImageWriter writer(name, "bmp");
    return writer.write(Snapshot());
}

void GraphWindow::PrintForm(QPrinter& printer)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    printer.setDocName(windowTitle());
    const bool ok = qz::PrintForm(printer, *recording_);
    QGuiApplication::restoreOverrideCursor();
    if (!ok) {
        const QString where = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        prompt_.tell(QStringLiteral("Unable to print on ") + where, PromptSymbol::Error);
    }
    paintBox_->update();
}

bool GraphWindow::MayClose()
{
    SendInternal(notifyTarget(), kMsgRenumberTitles);
    return recording_->MayClose(prompt_);
}

void GraphWindow::ChildSize(int top, int height)
{
    resizeSuppressed_ = true;
    DocumentWindow::ChildSize(top, height);
}

void GraphWindow::RedrawGraph()
{
    PostInternal(this, kMsgRedrawGraph);
}

bool GraphWindow::event(QEvent* e)
{
    switch (InternalMessageOf(e->type())) {
    case kMsgTimerTick:
        return true;
    case kMsgRedrawGraph:
        paintBox_->DrawGraph();
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
