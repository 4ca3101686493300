#include "link/ui/dialer_dialog.h"

#include "link/dialer_settings.h"
#include "link/dialer_texts.h"
#include "link/link_failure.h"
#include "link/logger_protocol.h"
#include "link/modem_dialer.h"
#include "link/modem_init.h"
#include "link/ui/dialing_dialog.h"
#include "link/ui/wait_cursor.h"
#include "model/settings_file.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qz {

namespace {

const QString kTone = QStringLiteral("Tone");
const QString kPulse = QStringLiteral("Pulse");

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

DialerDialog::DialerDialog(DialerServices services, QWidget* parent)
    : QDialog(parent), services_(std::move(services))
{
    setObjectName(QStringLiteral("Dialer"));
    setWindowTitle(texts::dialerCaption());
    setModal(true);

    number_ = new QLineEdit(this);
    number_->setObjectName(QStringLiteral("Edit1"));
    init_ = new QLineEdit(this);
    init_->setObjectName(QStringLiteral("Edit2"));
    init_->setReadOnly(true);
    init_->installEventFilter(this);
    mode_ = new QComboBox(this);
    mode_->setObjectName(QStringLiteral("ComboBox1"));
    mode_->addItems({kTone, kPulse});
    ok_ = new QPushButton(QStringLiteral("OK    "), this);
    ok_->setObjectName(QStringLiteral("OKBtn"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok_, &QPushButton::clicked, this, &DialerDialog::dial);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(label(QStringLiteral("Label2"), QStringLiteral("Phone number"), this), 0, 0);
    grid->addWidget(number_, 0, 1);
    grid->addWidget(label(QStringLiteral("Label3"), QStringLiteral("Modem init"), this), 1, 0);
    grid->addWidget(init_, 1, 1);
    grid->addWidget(label(QStringLiteral("Label1"), QStringLiteral("Dial mode"), this), 2, 0);
    grid->addWidget(mode_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setFixedWidth(320);

    dialing_ = new DialingDialog(this);
}

DialOutcome DialerDialog::run()
{
    loadSettings();
    outcome_ = DialOutcome::Cancelled;
    exec();
    return outcome_;
}

void DialerDialog::loadSettings()
{
    const DialerSettings s = DialerSettings::load(services_.settingsPath);
    mode_->setCurrentIndex(s.mode == DialMode::Pulse ? 1 : 0);
    number_->setText(s.lastNumber);
    setInitFile(s.initFile);
}

void DialerDialog::saveSettings()
{
    DialerSettings s;
    s.mode = mode_->currentIndex() == 1 ? DialMode::Pulse : DialMode::Tone;
    s.lastNumber = number_->text();
    s.initFile = initFile_;
    const IniResult saved = s.save(services_.settingsPath);
    if (saved.error == IniError::CannotWrite)
        services_.prompt.tell(settingsWriteMessage(services_.settingsPath, saved), PromptSymbol::Error);
}

void DialerDialog::setInitFile(const QString& path)
{
    initFile_ = path;
    init_->setText(modemInitShownName(path));
}

void DialerDialog::chooseInitFile()
{
    if (!services_.chooseInitFile)
        return;
    const QString chosen = services_.chooseInitFile(this);
    if (chosen.isEmpty())
        return;
    if (!isModemInitFile(chosen)) {
        services_.prompt.tell(texts::notAnMdmFile(), PromptSymbol::Error);
        return;
    }
    setInitFile(chosen);
}

bool DialerDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == init_ && event->type() == QEvent::MouseButtonDblClick) {
        chooseInitFile();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void DialerDialog::dial()
{
    saveSettings();
    outcome_ = call();
    // The dialer closes with OK whatever became of the call, except after a cancel.
    if (outcome_ == DialOutcome::Cancelled)
        reject();
    else
        accept();
}

DialOutcome DialerDialog::call()
{
    const QString number = number_->text().trimmed();
    const bool pulse = mode_->currentText().trimmed() == kPulse;
    const ModemInit init = readModemInit(initFile_);
    if (!init.ok) {
        services_.prompt.tell(modemInitMessage(initFile_, init), PromptSymbol::Error);
        return DialOutcome::InitFailed;
    }
    std::unique_ptr<LoggerProtocol> port = services_.makePort();
    Prompt& prompt = services_.prompt;
    const LinkWatch watch(*port, [&prompt](const LinkFailure& f) { prompt.tell(*linkMessage(f)); });
    ModemDialer dialer(*port);
    DialOutcome outcome = dialer.call(init.commands, number, pulse);
    if (outcome == DialOutcome::Waiting)
        outcome = dialing_->run(dialer);
    if (outcome == DialOutcome::Cancelled) {
        const WaitCursor busy;
        dialer.hangUp();
        return outcome;
    }
    const QString text = dialOutcomeText(outcome);
    if (!text.isEmpty()) {
        const bool refused = outcome == DialOutcome::InitFailed || outcome == DialOutcome::DialFailed;
        services_.prompt.tell(text, refused ? PromptSymbol::Error : PromptSymbol::Information);
    }
    return outcome;
}

} // namespace qz
