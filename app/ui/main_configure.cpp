// The main window's Configuration, Stop and Logger status commands, the device read they
// share with Current Reading, and the rule that one logger command of the window runs at a
// time.
#include "app/ui/main_window.h"

#include "app/ui/logger_status_window.h"
#include "app/ui/options_dialog.h"
#include "config/ui/configuration_dialog.h"
#include "jobs/device_read_job.h"
#include "jobs/job_messages.h"
#include "jobs/job_texts.h"
#include "jobs/logger_status.h"
#include "jobs/stop_job.h"
#include "link/link_texts.h"
#include "model/device_catalog.h"
#include "model/image_reader.h"
#include "model/values.h"
#include "platform/date_settings.h"
#include "ui/progress_dialog.h"

#include <QMenu>

namespace qz {

namespace {

// A stop, and the serial number of the logger it stopped (for the status line).
struct NamedStop : StopResult {
    QString serial;
};

// The stop question says what is stopped: a recording, or a start still to come.
Message stopQuestion(const StopResult& r)
{
    switch (r.clock.runState()) {
    case mem::kRunRecording:
        return {QStringLiteral("Quorvant recording\rConfirming stop ?"), MessageSymbol::Confirmation};
    case mem::kRunWaiting:
        return {QStringLiteral("Quorvant waiting to start\rConfirming stop ?"), MessageSymbol::Confirmation};
    default:
        return {texts::confirmStop(), MessageSymbol::Confirmation};
    }
}

} // namespace

void MainWindow::buildConfiguration()
{
    dateSettings_ = std::make_unique<DesktopDateSettings>();
    ConfigurationServices services{
        services_.prompt,
        services_.clock,
        services_.pump,
        services_.folder,
        ports_,
        [this](const QString& port) {
            // The port the logger was read on; the modem setting as it is now.
            LinkSettings link = options_->link();
            link.port = port;
            return link;
        },
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
    readDevice(ConnectPolicy::Ask, [this](const LinkSettings& link) {
        const bool accepted =
            config_->initialize(link.port, ByteView{deviceImage_.data(), deviceImage_.size()});
        if (!accepted)
            services_.prompt.tell(texts::notAQuorvant(), PromptSymbol::Error);
        endLoggerCommand();
        if (accepted)
            config_->showConfiguration();
    });
}

void MainWindow::readDevice(ConnectPolicy connect, std::function<void(const LinkSettings& link)> then)
{
    const LinkSettings link = options_->link();
    auto* gauge = new ProgressDialog(services_.pump, this, false);
    ports_.run(
        link, this, gauge, nullptr,
        [connect](LoggerProtocol& q, Progress& progress) { return deviceReadJob(q, connect, progress); },
        [this, gauge, link, then](DeviceReadResult r) {
            delete gauge;
            Prompt& prompt = services_.prompt;
            prompt.tell(messagesOf(r));
            if (const std::optional<Message> question = questionOf(r)) {
                // Yes reads once, without a second ping.
                if (prompt.confirm(*question))
                    readDevice(ConnectPolicy::GoOn, then);
                else
                    endLoggerCommand();
                return;
            }
            if (r.status != DeviceReadStatus::Read) {
                endLoggerCommand();
                return;
            }
            // Taken whole only now: an open configuration dialog never works on half one
            // logger's bytes, half another's.
            deviceImage_ = r.image;
            then(link);
        });
}

void MainWindow::stopLogger()
{
    if (!beginLoggerCommand())
        return;
    startStop(StopPolicy{});
}

void MainWindow::startStop(const StopPolicy& policy)
{
    ports_.run(
        options_->link(), this, nullptr, nullptr,
        [policy](LoggerProtocol& q, Progress&) {
            NamedStop r;
            static_cast<StopResult&>(r) = stopJob(q, policy);
            std::uint8_t ident[mem::kIdentificationSize] = {};
            if (r.status == StopStatus::Stopped && q.readIdent(ident) == LinkStatus::Ok)
                r.serial = trimTrailingBlanks(ImageReader::header({ident, sizeof ident}).serialNumber());
            return r;
        },
        [this, policy](NamedStop r) {
            Prompt& prompt = services_.prompt;
            prompt.tell(messagesOf(r));
            std::optional<Message> question = questionOf(r);
            if (question && r.question == Question::ConfirmStop)
                question = stopQuestion(r);
            if (question && prompt.confirm(*question)) {
                // Yes to the question to connect pings again, until the logger answers or
                // the user says No; Yes to the stop stops it.
                StopPolicy next = policy;
                if (r.question == Question::ConfirmStop)
                    next.stop = Decision::Yes;
                startStop(next);
                return;
            }
            if (r.status == StopStatus::Stopped)
                showStatusNote(r.serial.isEmpty() ? QStringLiteral("Logger stopped")
                                                  : r.serial + QStringLiteral(" stopped"));
            endLoggerCommand();
        });
}

void MainWindow::loggerStatus()
{
    statusWindow_->show();
    statusWindow_->raise();
    statusWindow_->activateWindow();
    readStatus(ConnectPolicy::Ask);
}

void MainWindow::readStatus(ConnectPolicy connect)
{
    // A logger command like the others: one at a time, on the port's worker. The device
    // image of an open configuration is not touched.
    if (connect == ConnectPolicy::Ask && !beginLoggerCommand())
        return;
    statusWindow_->setReading(true);
    auto* gauge = new ProgressDialog(services_.pump, this, false);
    const DeviceCatalog catalog(services_.folder);
    ports_.run(
        options_->link(), this, gauge, nullptr,
        [connect](LoggerProtocol& q, Progress& progress) { return deviceReadJob(q, connect, progress); },
        [this, gauge, catalog](DeviceReadResult r) {
            delete gauge;
            Prompt& prompt = services_.prompt;
            prompt.tell(messagesOf(r));
            if (const std::optional<Message> question = questionOf(r)) {
                // Yes reads once, without a second ping.
                if (prompt.confirm(*question)) {
                    readStatus(ConnectPolicy::GoOn);
                    return;
                }
            } else if (r.status == DeviceReadStatus::Read) {
                statusWindow_->showStatus(qz::loggerStatus(r, catalog));
            }
            statusWindow_->setReading(false);
            endLoggerCommand();
        });
}

} // namespace qz
