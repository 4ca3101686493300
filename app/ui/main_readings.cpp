// The main window's Current Reading command and the readings window it prepares.
#include "app/ui/main_window.h"

#include "app/ui/options_dialog.h"
#include "link/link_texts.h"
#include "realtime/ui/readings_launcher.h"
#include "realtime/ui/readings_window.h"

namespace qz {

void MainWindow::buildReadings()
{
    ReadingsServices services{
        services_.prompt,
        services_.clock,
        services_.folder,
        ports_,
        [this](const QString& port) {
            // The port the logger was read on; the modem setting as it is now.
            LinkSettings link = options_->link();
            link.port = port;
            return link;
        },
    };
    auto* window = new ReadingsWindow(std::move(services), this);
    connect(window, &ReadingsWindow::helpRequested, this, &MainWindow::showHelp);
    launcher_ = new ReadingsLauncher(window, this);
}

void MainWindow::currentReading()
{
    if (!beginLoggerCommand())
        return;
    readDevice(ConnectPolicy::Ask, [this](const LinkSettings& link) {
        const bool accepted =
            launcher_->initialize(link.port, ByteView{deviceImage_.data(), deviceImage_.size()});
        if (!accepted)
            services_.prompt.tell(texts::notAQuorvant(), PromptSymbol::Error);
        endLoggerCommand();
        if (accepted)
            launcher_->show();
    });
}

} // namespace qz
