// The main window's logger commands.
#include "app/ui/main_window.h"

#include "app/ui/document_dialogs.h"
#include "app/ui/document_texts.h"
#include "app/ui/download_display.h"
#include "app/ui/options_dialog.h"
#include "graph/ui/graph_window.h"
#include "link/download_sequence.h"
#include "link/line_registry.h"
#include "link/logger_protocol.h"
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
    if (commandBusy_)
        return;
    const LinkSettings link = options_->link();
    LoggerProtocol logger(link, services_.lines.make(link.port), services_.clock);
    commandBusy_ = true;
    setLoggerMenuEnabled(false);
    {
        // Shown when the download begins, after the logger has answered.
        ProgressDialog gauge(services_.pump, this, false);
        DownloadDisplay display(gauge, services_.prompt);
        DownloadOptions options;
        options.verify = options_->settings().verifyDownloads();
        DownloadReceiver receiver;
        receiver.accept = [this, &display](const std::vector<std::uint8_t>& image) {
            display.dismiss();
            return acceptDownload(image);
        };
        receiver.saveAnyway = [this, &display](const std::vector<std::uint8_t>& image) {
            display.dismiss();
            return saveDownloadAnyway(image);
        };
        runDownload(logger, display, display, options, receiver);
    }
    setLoggerMenuEnabled(true);
    commandBusy_ = false;
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
