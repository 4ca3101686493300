// The main window's Download command: the download runs on the port's worker; its
// messages and questions come when it has ended, and a question is answered by running it
// again (to connect) or on what it read (to keep the part before a damaged block, to save
// the memory of a model the catalogue does not know).
#include "app/ui/main_window.h"

#include "app/ui/document_dialogs.h"
#include "app/ui/document_texts.h"
#include "app/ui/options_dialog.h"
#include "graph/ui/graph_window.h"
#include "jobs/job_messages.h"
#include "link/link_texts.h"
#include "model/datetime_number.h"
#include "recording/recording_data.h"
#include "ui/progress_dialog.h"

#include <QMdiArea>

namespace qz {

namespace {

QByteArray bytesOf(const std::vector<std::uint8_t>& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
}

} // namespace

void MainWindow::download()
{
    if (!beginLoggerCommand())
        return;
    DownloadPolicy policy;
    policy.verify = options_->settings().verifyDownloads();
    startDownload(policy);
}

void MainWindow::startDownload(const DownloadPolicy& policy)
{
    // Shown when the download begins, after the logger has answered.
    auto* gauge = new ProgressDialog(services_.pump, this, false);
    const auto cancel = std::make_shared<CancelFlag>();
    connect(gauge, &ProgressDialog::cancelRequested, this, [cancel] { cancel->cancel(); });
    const DeviceCatalog catalog(services_.folder);
    ports_.run(
        options_->link(), this, gauge, cancel,
        [policy, catalog](LoggerProtocol& q, Progress& progress) {
            return downloadJob(q, policy, catalog, progress);
        },
        [this, gauge, policy](DownloadResult result) {
            delete gauge;
            downloadDone(std::move(result), policy);
        });
}

void MainWindow::downloadDone(DownloadResult r, DownloadPolicy policy)
{
    Prompt& prompt = services_.prompt;
    for (;;) {
        prompt.tell(messagesOf(r));
        const std::optional<Message> question = questionOf(r);
        if (!question)
            break;
        const bool yes = prompt.confirm(*question);
        if (r.question == Question::Connect && yes) {
            // Without a second ping: the command goes on with the download itself.
            policy.connect = ConnectPolicy::GoOn;
            startDownload(policy);
            return;
        }
        if (r.question == Question::KeepPartial && yes) {
            r = keepPartRead(r, DeviceCatalog(services_.folder), policy.saveUnknownModel);
            continue;
        }
        if (r.question == Question::SaveUnknownModel && yes)
            saveDownloadAnyway(r.image);
        break;
    }
    if (r.status == DownloadStatus::Read && r.question == Question::None
        && acceptDownload(r.image) != ImageUse::Shown)
        prompt.tell(texts::notAQuorvant(), PromptSymbol::Error);
    endLoggerCommand();
}

ImageUse MainWindow::acceptDownload(const std::vector<std::uint8_t>& image)
{
    if (QMdiSubWindow* active = mdi_->activeSubWindow(); active && active->isMaximized())
        active->showNormal();
    const RecordingResult made = RecordingData::fromImage(
        bytesOf(image), toDateTimeNumber(services_.clock.localNow()), services_.folder);
    if (!made.ok()) {
        updateMenuItems();
        return made == InitError::TooFewMeasurements ? ImageUse::TooFewMeasurements : ImageUse::UnknownModel;
    }
    newGraphWindow()->showRecording(made.data, false);
    renumberGraphs();
    updateMenuItems();
    return ImageUse::Shown;
}

bool MainWindow::saveDownloadAnyway(const std::vector<std::uint8_t>& image)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Save");
    request.filter = texts::recordingFilter();
    request.defaultExt = QStringLiteral("qrv");
    const QString name = chooseFile(request, FileDialogKind::Save);
    if (name.isEmpty())
        return false;
    // As Save: only a recording file may be written, so that Open finds it again.
    if (!hasExtension(name, request.defaultExt)) {
        services_.prompt.tell(texts::notAFileWithExtension(request.defaultExt), PromptSymbol::Error);
        return false;
    }
    if (const SaveResult saved = saveImageFile(bytesOf(image), name); !saved.ok()) {
        services_.prompt.tell(texts::cannotWrite(name, saved.reason), PromptSymbol::Error);
        return false;
    }
    return true;
}

} // namespace qz
