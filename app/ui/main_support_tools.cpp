// The main window's service tools: the memory panel behind the access code (Ctrl + Shift +
// right button on the document area) and the raw memory dump (a double click there).
#include "app/ui/main_window.h"

#include "app/ui/diagnostic_panel.h"
#include "app/ui/document_dialogs.h"
#include "app/ui/document_texts.h"
#include "app/ui/last_folder.h"
#include "app/ui/options_dialog.h"
#include "app/ui/password_dialog.h"
#include "graph/ui/graph_window.h"
#include "jobs/job_messages.h"
#include "jobs/raw_dump_job.h"
#include "platform/output_check.h"
#include "ui/progress_dialog.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMouseEvent>
#include <QStandardPaths>

namespace qz {

namespace {

const QString kDumpName = QStringLiteral("debug.qrv");
const QString kRecordingExt = QStringLiteral("qrv");

// The gestures on the empty document area.
class DocumentAreaGestures final : public QObject {
public:
    DocumentAreaGestures(MainWindow* form, QWidget* area) : QObject(form), form_(form), area_(area) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool press = event->type() == QEvent::MouseButtonPress;
        const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
        if (watched != area_ || !(press || doubleClick))
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A click that a document window did not take reaches the area too: not empty.
        if (area_->childAt(mouse->position().toPoint()))
            return false;
        if (press && isPanelGesture(*mouse)) {
            form_->toggleDiagnosticPanel();
            return true;
        }
        if (doubleClick && mouse->button() == Qt::LeftButton) {
            form_->rawDownload();
            return true;
        }
        return false;
    }

private:
    MainWindow* form_;
    QWidget* area_;
};

} // namespace

void MainWindow::buildDiagnosticPanel()
{
    DiagnosticServices services{services_.prompt, services_.dialogs, ports_,
                                [this] { return options_->link(); }, commandBusy_};
    panel2_ = new DiagnosticPanel(std::move(services), centralWidget());
    panel2_->hide();
    // In the document area's place, between the tool panel and the status panel.
    auto* layout = static_cast<QBoxLayout*>(centralWidget()->layout());
    layout->insertWidget(layout->indexOf(mdi_) + 1, panel2_, 1);
    connect(panel2_, &DiagnosticPanel::toggleRequested, this, &MainWindow::toggleDiagnosticPanel);
    connect(panel2_, &DiagnosticPanel::hideRequested, this, [this] { setDiagnosticPanelVisible(false); });
    mdi_->viewport()->installEventFilter(new DocumentAreaGestures(this, mdi_->viewport()));
}

void MainWindow::setDiagnosticPanelVisible(bool on)
{
    panel2_->setVisible(on);
    mdi_->setVisible(!on);
}

void MainWindow::toggleDiagnosticPanel()
{
    if (panel2_->isVisible())
        setDiagnosticPanelVisible(false);
    else if (PasswordDialog::askAccessCode(this))
        setDiagnosticPanelVisible(true);
}

QString MainWindow::dumpFolder() const
{
    // The folder of the front-most recording that has a file, else the user's documents,
    // else the folder used last: one that exists, so that a dump read is not lost to a
    // folder that is not there.
    for (GraphWindow* g : graphWindows())
        if (!g->fileName().isEmpty() && QFileInfo(QFileInfo(g->fileName()).absolutePath()).isDir())
            return QFileInfo(g->fileName()).absolutePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return LastFolder(services_.folder.settingsFile()).folder();
}

void MainWindow::rawDownload()
{
    if (commandBusy_)
        return;
    // A double click on the background is easily made: the service tool asks first.
    if (!services_.prompt.confirm(QStringLiteral("Raw memory download\rRead the whole memory of the logger "
                                                 "into a file, for service ?")))
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Save Memory Dump");
    request.filter = texts::recordingFilter();
    request.defaultExt = kRecordingExt;
    request.initialName = QDir(dumpFolder()).filePath(kDumpName);
    QString name;
    for (;;) {
        name = services_.dialogs.saveFile(this, request);
        if (name.isEmpty())
            return;
        if (!hasExtension(name, kRecordingExt)) {
            services_.prompt.tell(texts::notAFileWithExtension(kRecordingExt), PromptSymbol::Error);
            return;
        }
        // Checked before the memory is read, not after: a read of minutes is not lost.
        const OutputCheck check = checkOutputFile(name);
        if (check.ok())
            break;
        services_.prompt.tell(texts::cannotWrite(name, check.reason), PromptSymbol::Error);
        request.initialName = name;
    }
    // Neither the documents nor the Logger menu are touched; the busy flag keeps other
    // logger commands of the window out meanwhile.
    commandBusy_ = true;
    auto* gauge = new ProgressDialog(services_.pump, this, false);
    const auto cancel = std::make_shared<CancelFlag>();
    connect(gauge, &ProgressDialog::cancelRequested, this, [cancel] { cancel->cancel(); });
    ports_.run(
        options_->link(), this, gauge, cancel,
        [name](LoggerProtocol& q, Progress& progress) { return rawDumpJob(q, name, progress); },
        [this, gauge, name](RawDumpResult r) {
            delete gauge;
            services_.prompt.tell(messagesOf(r));
            if (r.status == RawDumpStatus::WriteFailed)
                services_.prompt.tell(texts::cannotWrite(name, r.save.reason), PromptSymbol::Error);
            commandBusy_ = false;
        });
}

} // namespace qz
