// The main window's logger commands.
#include "app/ui/main_window.h"

#include "ui/progress_dialog.h"
#include "app/ui/options_dialog.h"
#include "graph/ui/graph_window.h"
#include "link/download_sequence.h"
#include "link/line_registry.h"
#include "link/logger_protocol.h"
#include "model/datetime_number.h"

#include <QMdiArea>

namespace qz {

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
        runDownload(logger, gauge, services_.prompt,
                    [this, &gauge](const std::vector<std::uint8_t>& image) {
                        gauge.dismiss();
                        return acceptDownload(image);
                    });
    }
    setLoggerMenuEnabled(true);
    commandBusy_ = false;
}

ImageAcceptance MainWindow::acceptDownload(const std::vector<std::uint8_t>& image)
{
    if (QMdiSubWindow* active = mdi_->activeSubWindow(); active && active->isMaximized())
        active->showNormal();
    GraphWindow* graph = newGraphWindow();
    Recording& recording = graph->recording();
    recording.setCreated(ToDateTimeNumber(services_.clock.localNow()));
    recording.setImage(QByteArray(reinterpret_cast<const char*>(image.data()),
                                  static_cast<qsizetype>(image.size())));
    recording.setSaved(false);
    ImageAcceptance result;
    result.initialized = graph->initialize();
    result.measurementCount = graph->measurementCount();
    if (result.initialized) {
        renumberGraphs();
    } else {
        // A recording that cannot be shown leaves no empty window behind.
        graph->freeWindow();
    }
    updateMenuItems();
    return result;
}

} // namespace qz
