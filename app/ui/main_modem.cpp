// The main window's modem commands: Modem connection shows the dialer, Modem
// disconnection hangs up. Neither waits for or blocks another logger command.
#include "app/ui/main_window.h"

#include "app/ui/document_dialogs.h"
#include "app/ui/options_dialog.h"
#include "link/dialer_texts.h"
#include "link/line_registry.h"
#include "link/logger_protocol.h"
#include "link/ui/dialer_dialog.h"
#include "link/ui/hang_up.h"

namespace qz {

std::unique_ptr<LoggerProtocol> MainWindow::modemPort()
{
    LinkSettings link = options_->link();
    link.modemLink = true;
    return std::make_unique<LoggerProtocol>(link, services_.lines.make(link.port), services_.clock);
}

void MainWindow::buildDialer()
{
    DialerServices dialer{services_.prompt, services_.folder.settingsFile(), [this] { return modemPort(); },
                          [this](QWidget* parent) {
                              FileDialogRequest request;
                              request.title = texts::initFileTitle();
                              request.filter = texts::initFileFilter();
                              request.defaultExt = texts::initFileExtension();
                              request.fileMustExist = true;
                              return services_.dialogs.openFile(parent, request);
                          }};
    dialer_ = new DialerDialog(std::move(dialer), this);
}

void MainWindow::connectModem()
{
    // Once connected, every logger command runs with the modem's timings (and a download
    // is verified unless the user chose otherwise).
    if (dialer_->run() == DialOutcome::Connected)
        options_->settings().setModemLink(true);
}

void MainWindow::disconnectModem()
{
    const std::unique_ptr<LoggerProtocol> port = modemPort();
    hangUpModem(*port, services_.prompt);
}

} // namespace qz
