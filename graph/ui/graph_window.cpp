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

TMDIGraph::TMDIGraph(ProgramFolder folder, Prompt& prompt, QWidget* parent)
    : TChildForm(parent), prompt_(prompt), recording_(std::make_unique<TRecording>(std::move(folder)))
{
    setObjectName(QStringLiteral("MDIGraph"));
    paintBox_ = new GraphPaintBox(*recording_, this);
    setWidget(paintBox_);
}

TMDIGraph::~TMDIGraph() = default;

bool TMDIGraph::Initialize()
{
    if (!recording_->Initialize())
        return false;
    paintBox_->PrepareCanvas(true);
    paintBox_->DrawGraph();
    return true;
}

bool TMDIGraph::LoadFile(const QString& name)
{
    const bool ok = recording_->LoadFile(name, prompt_);
    if (ok) {
        paintBox_->PrepareCanvas(true);
        paintBox_->DrawGraph();
    }
    return ok;
}

bool TMDIGraph::Savefile(const QString& name)
{
    return recording_->Savefile(name);
}

void TMDIGraph::ChildTitle(int n)
{
    if (recording_->IsTitleSet())
        return;
    recording_->ChildTitle(n);
    setWindowTitle(recording_->Caption());
}

QImage TMDIGraph::Snapshot() const
{
    return paintBox_->image().copy();
}

void TMDIGraph::CopyToClipBoard()
{
    QGuiApplication::clipboard()->setImage(Snapshot());
}

bool TMDIGraph::SaveToFile(const QString& name)
{
    QImageWriter writer(name, "bmp");
    return writer.write(Snapshot());
}

void TMDIGraph::PrintForm(QPrinter& printer)
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

bool TMDIGraph::MayClose()
{
    SendInternal(parentHdl(), kMsgRenumberTitles);
    return recording_->MayClose(prompt_);
}

void TMDIGraph::ChildSize(int top, int height)
{
    resizeSuppressed_ = true;
    TChildForm::ChildSize(top, height);
}

void TMDIGraph::RedrawGraph()
{
    PostInternal(this, kMsgRedrawGraph);
}

bool TMDIGraph::event(QEvent* e)
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
    return TChildForm::event(e);
}

void TMDIGraph::resizeEvent(QResizeEvent* e)
{
    TChildForm::resizeEvent(e);
    resizeSuppressed_ = false;
}

} // namespace qz
