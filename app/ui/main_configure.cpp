// The main window's Configuration and Stop commands, the device read they share with
// Current Reading, and the rule that one logger command runs at a time.
#include "app/ui/main_window.h"

#include "app/ui/options_dialog.h"
#include "config/logger_connection.h"
#include "config/ui/configuration_dialog.h"
#include "link/line_registry.h"
#include "link/link_texts.h"
#include "link/logger_protocol.h"
#include "link/stop_sequence.h"
#include "platform/date_settings.h"
#include "ui/progress_dialog.h"

#include <QMenu>

namespace qz {

void MainWindow::buildConfiguration()
{
    dateSettings_ = std::make_unique<DesktopDateSettings>();
    ConfigurationServices services{
        services_.prompt,
        services_.clock,
        services_.pump,
        services_.folder,
        [this](const QString& port) {
            // The port the logger was read on; the modem setting as it is now.
            LinkSettings link = options_->link();
            link.port = port;
            return std::make_unique<LoggerProtocol>(link, services_.lines.make(port), services_.clock);
        },
        [this] { return beginLoggerCommand(); },
        [this] { endLoggerCommand(); },
    };
    config_ = new ConfigurationDialog(std::move(services), this);
    config_->setDateSettings(dateSettings_.get());
    connect(config_, &ConfigurationDialog::helpRequested, this, &MainWindow::showHelp);
}

bool MainWindow::beginLoggerCommand()
{
    if (commandBusy_)
        return false;
    commandBusy_ = true;
    setLoggerMenuEnabled(false);
    return true;
}

void MainWindow::endLoggerCommand()
{
    setLoggerMenuEnabled(true);
    commandBusy_ = false;
}

void MainWindow::configure()
{
    if (!beginLoggerCommand())
        return;
    const LinkSettings link = options_->link();
    bool accepted = false;
    if (readDevice(link)) {
        accepted = config_->initialize(link.port, ByteView{deviceImage_.data(), deviceImage_.size()});
        if (!accepted)
            services_.prompt.tell(texts::notAQuorvant(), PromptSymbol::Error);
    }
    endLoggerCommand();
    if (accepted)
        config_->showConfiguration();
}

bool MainWindow::readDevice(const LinkSettings& link)
{
    LoggerProtocol logger(link, services_.lines.make(link.port), services_.clock);
    // Read into a buffer of its own: a read that fails half-way must not leave the image
    // an open configuration dialog works on half one logger, half another.
    std::array<std::uint8_t, mem::kDeviceImageSize> read = deviceImage_;
    DeviceRead outcome = DeviceRead::Failed;
    {
        ProgressDialog gauge(services_.pump, this, false);
        outcome = connectAndReadDevice(logger, read.data(), gauge, services_.pump, services_.prompt);
    }
    if (outcome != DeviceRead::Read)
        return false;
    deviceImage_ = read;
    return true;
}

void MainWindow::stopLogger()
{
    if (!beginLoggerCommand())
        return;
    {
        const LinkSettings link = options_->link();
        LoggerProtocol logger(link, services_.lines.make(link.port), services_.clock);
        runStop(logger, services_.prompt);
    }
    endLoggerCommand();
}

} // namespace qz
