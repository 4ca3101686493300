#include "graph/ui/graph_window.h"

#include "graph/graph_draw.h"
#include "graph/ui/graph_paint_box.h"
#include "graph/ui/graphic_config_dialog.h"
#include "graph/view_memory.h"
#include "graph/view_texts.h"
#include "model/settings_file.h"
#include "platform/clock.h"
#include "platform/prompt.h"
#include "platform/safe_file.h"
#include "ui/internal_messages.h"

#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPrinter>

namespace qz {

GraphWindow::GraphWindow(Prompt& prompt, Clock& clock, GraphicConfigDialog* config, QWidget* parent)
    : DocumentWindow(parent), prompt_(prompt), clock_(clock), config_(config)
{
    setObjectName(QStringLiteral("MDIGraph"));
    paintBox_ = new GraphPaintBox(this);
    paintBox_->installEventFilter(this);
    paintBox_->setAcceptDrops(true);
    setWidget(paintBox_);
    connect(paintBox_, &GraphPaintBox::resized, this, &GraphWindow::onPaintBoxResized);
    connect(this, &QMdiSubWindow::windowStateChanged, this, &GraphWindow::onStateChanged);
}

GraphWindow::~GraphWindow()
{
    // The information window goes first: it never outlives its graph window.
    if (DocumentWindow* information = information_.data()) {
        information_ = nullptr;
        information->freeWindow();
    }
    // The base window and the paint box still signal while they are taken down; this
    // window is no longer there to hear it.
    disconnect(this, &QMdiSubWindow::windowStateChanged, this, nullptr);
    disconnect(paintBox_, nullptr, this, nullptr);
    paintBox_->removeEventFilter(this);
}

void GraphWindow::showRecording(std::shared_ptr<const RecordingData> data, bool saved)
{
    view_ = std::make_unique<GraphView>(std::move(data));
    saved_ = saved;
    if (!settingsFile_.isEmpty()) {
        IniFile file;
        file.read(settingsFile_);
        DisplaySettings settings = view_->settings();
        ColourTable colours = view_->colours();
        if (recallView(file, view_->data(), settings, colours))
            view_->applyGraphicConfig(colours, settings);
    }
    paintBox_->setView(view_.get());
    paintBox_->prepareCanvas(true);
    drawGraph();
}

bool GraphWindow::addRecording(std::shared_ptr<const RecordingData> data)
{
    if (!view_ || !view_->addRecording(std::move(data)))
        return false;
    paintBox_->prepareCanvas(true);
    drawGraph();
    return true;
}

void GraphWindow::rememberView()
{
    if (settingsFile_.isEmpty() || !view_)
        return;
    const IniResult written = IniFile::update(settingsFile_, [this](IniFile& file) {
        qz::rememberView(file, view_->data(), view_->settings(), view_->colours());
    });
    if (const QString failed = settingsWriteMessage(settingsFile_, written); !failed.isEmpty())
        prompt_.tell(failed, PromptSymbol::Error);
}

SaveResult GraphWindow::save(const QString& name)
{
    if (!view_)
        return {SaveError::CannotWrite, QString()};
    const SaveResult saved = saveRecordingFile(data(), name);
    if (saved.ok()) {
        view_->renamePrimary(name);
        saved_ = true;
    }
    return saved;
}

void GraphWindow::setFileName(const QString& name)
{
    if (view_)
        view_->renamePrimary(name);
}

ExportOutcome GraphWindow::exportFile(const QString& name, ExportKind kind, Progress& progress)
{
    if (!view_)
        return {ExportResult::Failed, QString()};
    if (view_->recordingCount() == 1)
        return qz::exportFile(name, data(), view_->range(), kind, progress);
    // Several recordings: one file, one line per instant any of them measured at.
    return exportPartsFile(name, exportParts(*view_), kind, progress);
}

void GraphWindow::childTitle(int n)
{
    if (!view_ || view_->isTitleSet())
        return;
    view_->childTitle(n);
    setWindowTitle(view_->caption());
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
    // Encoded first, then written through a temporary file, so that a failed write leaves
    // the previous file whole and says why.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool bitmap = QFileInfo(name).suffix().compare(QStringLiteral("bmp"), Qt::CaseInsensitive) == 0;
    QImageWriter writer(&buffer, bitmap ? "bmp" : "png");
    if (!writer.write(snapshot())) {
        setSaveReason(writer.errorString());
        return false;
    }
    SafeFile file(name);
    if (!file.open() || !file.write(bytes) || !file.commit()) {
        setSaveReason(file.reason());
        return false;
    }
    return true;
}

void GraphWindow::printTo(QPrinter& printer)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    printer.setDocName(windowTitle());
    const bool ok = view_ && qz::printTo(printer, *view_);
    QGuiApplication::restoreOverrideCursor();
    if (!ok) {
        const QString where =
            printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        prompt_.tell(QStringLiteral("Unable to print on ") + where, PromptSymbol::Error);
    }
    paintBox_->update();
}

bool GraphWindow::mayClose()
{
    sendInternal(notifyTarget(), kMsgRenumberTitles);
    if (saved_)
        return true;
    const QString caption = view_ ? view_->caption() : QString();
    const PromptAnswer answer =
        prompt_.ask(QStringLiteral("The record ") + caption + QStringLiteral("  has not been saved ,")
                        + QStringLiteral("Close anyway ?"),
                    PromptSymbol::Confirmation, PromptButtons::SaveDiscardCancel);
    if (answer == PromptAnswer::Save)
        saved_ = saveHandler_ && saveHandler_(*this);
    else
        saved_ = answer == PromptAnswer::Discard;
    return saved_;
}

void GraphWindow::setTopAndHeight(int top, int height)
{
    // The size change that follows is the program's own, before anything is shown. A
    // height that does not change brings no size change to wait for.
    resizeSuppressed_ = height != this->height();
    DocumentWindow::setTopAndHeight(top, height);
}

void GraphWindow::onPaintBoxResized()
{
    if (!isMinimized() && !resizeSuppressed_) {
        paintBox_->prepareCanvas(true);
        if (view_)
            drawGraph();
    }
    resizeSuppressed_ = false;
}

void GraphWindow::drawGraph()
{
    paintBox_->drawGraph();
    paintBox_->hideCursorLine();
    holdOffDeadline_ = clock_.tickMs() + kCursorHoldOffMs;
    emit graphDrawn();
}

void GraphWindow::redrawGraph()
{
    postInternal(this, kMsgRedrawGraph);
}

void GraphWindow::onStateChanged(Qt::WindowStates before, Qt::WindowStates now)
{
    const bool was = before.testFlag(Qt::WindowActive);
    const bool is = now.testFlag(Qt::WindowActive);
    if (is && !was) {
        active_ = true;
        holdOffDeadline_ = clock_.tickMs() + kCursorHoldOffMs;
    } else if (was && !is) {
        active_ = false;
    }
}

void GraphWindow::openGraphicConfig()
{
    if (!config_ || !view_)
        return;
    config_->setUp(data().reader(), view_->settings(), view_->colours(), view_->recordingCount());
    config_->setTarget(this);
    config_->show();
    config_->raise();
    config_->activateWindow();
}

void GraphWindow::applyGraphicConfig()
{
    if (!config_ || !view_)
        return;
    view_->applyGraphicConfig(config_->colours(), config_->settings());
    rememberView();
    drawGraph();
}

bool GraphWindow::event(QEvent* e)
{
    switch (internalMessageOf(e->type())) {
    case kMsgTimerTick:
        return true;
    case kMsgRedrawGraph:
        drawGraph();
        QCoreApplication::removePostedEvents(this, internalEventType(kMsgRedrawGraph));
        return true;
    case kMsgDetachInfoWindow:
        information_ = nullptr;
        return true;
    case kMsgApplyGraphicConfig:
        applyGraphicConfig();
        return true;
    default:
        break;
    }
    return DocumentWindow::event(e);
}

} // namespace qz
