#include "config/ui/configuration_dialog.h"

#include "config/config_texts.h"
#include "config/configuration_rules.h"
#include "config/fixed_inputs.h"
#include "config/recording_plan.h"
#include "config/ui/delayed_start_dialog.h"
#include "config/ui/dialog_texts.h"
#include "config/ui/inputs_scaling_dialog.h"
#include "config/ui/model_caption.h"
#include "jobs/job_messages.h"
#include "jobs/logger_ports.h"
#include "model/datetime_number.h"
#include "model/image_reader.h"
#include "model/logger_date.h"
#include "model/values.h"
#include "platform/clock.h"
#include "platform/date_settings.h"
#include "platform/prompt.h"
#include "ui/internal_messages.h"
#include "ui/progress_dialog.h"
#include "ui/rule_validator.h"

#include <QCheckBox>

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>

namespace qz {

namespace {

constexpr int kHelpContext = 8;

template <class W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A note beside a field: what is wrong with it as it is typed.
QLabel* noteLabel(QWidget* parent, const char* name)
{
    auto* note = named(new QLabel(parent), name);
    QPalette palette = note->palette();
    palette.setColor(QPalette::WindowText, QColor(0xA0, 0x10, 0x10));
    note->setPalette(palette);
    return note;
}

// Two digits at most, up to max; refused as typed with the limit.
QString digitsRefusal(const QString& text, int max, const QString& tooLarge)
{
    if (text.size() > 2 || std::any_of(text.begin(), text.end(), [](QChar c) { return !c.isDigit(); }))
        return tooLarge;
    return text.toInt() > max ? tooLarge : QString();
}

// "2 days 3 h 30 min", "45 min".
QString delayText(double days)
{
    const long long minutes = std::llround(days * 1440);
    QStringList parts;
    if (const long long d = minutes / 1440; d > 0)
        parts << (d == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(d));
    if (const long long h = minutes % 1440 / 60; h > 0)
        parts << QStringLiteral("%1 h").arg(h);
    if (const long long m = minutes % 60; m > 0)
        parts << QStringLiteral("%1 min").arg(m);
    return parts.join(QLatin1Char(' '));
}

} // namespace

ConfigurationDialog::ConfigurationDialog(ConfigurationServices services, QWidget* parent)
    : QDialog(parent), services_(std::move(services))
{
    setObjectName(QStringLiteral("BtnRightDlg1"));
    baseCaption_ = texts::configurationCaption();
    setWindowTitle(baseCaption_);
    delayed_ = new DelayedStartDialog(services_.prompt, services_.clock, services_.folder, this);
    scaling_ = new InputsScalingDialog(services_.prompt, services_.folder, this);
    connect(delayed_, &DelayedStartDialog::helpRequested, this, &ConfigurationDialog::helpRequested);
    connect(delayed_, &DelayedStartDialog::startChosen, this, &ConfigurationDialog::updateStartText);
    connect(scaling_, &InputsScalingDialog::helpRequested, this, &ConfigurationDialog::helpRequested);
    buildControls();
}

ConfigurationDialog::~ConfigurationDialog() = default;

void ConfigurationDialog::buildControls()
{
    pcDate_ = named(new QLabel(QStringLiteral("PC Date: "), this), "Label1");
    pcDate_->setCursor(Qt::ArrowCursor);
    pcDate_->installEventFilter(this);
    systemClock_ = named(new QLabel(this), "SystemClock");
    auto* serialLabel = named(new QLabel(QStringLiteral("S/N  :"), this), "SerialLabel");
    serial_ = named(new QLabel(this), "laSN");
    auto* commentLabel = named(new QLabel(QStringLiteral("Comment:"), this), "Label3");
    comment_ = named(new QLineEdit(this), "UserComment");
    comment_->installEventFilter(this);
    commentNote_ = noteLabel(this, "lbCommentNote");
    guardField(
        comment_,
        [](const QString& text) {
            return loggerTextRefusal(texts::commentWhat(), int(mem::kRecordNameSize), text);
        },
        [this](const QString& why) { commentNote_->setText(why); });
    connect(comment_, &QLineEdit::textEdited, commentNote_, &QLabel::clear);

    auto* intervalLabel = named(new QLabel(QStringLiteral("Recording interval:"), this), "Label7");
    minutes_ = named(new QLineEdit(this), "mInterval");
    seconds_ = named(new QLineEdit(this), "sInterval");
    intervalNote_ = noteLabel(this, "lbIntervalNote");
    const std::pair<QLineEdit*, std::pair<int, QString>> limits[] = {
        {minutes_, {60, texts::minutesTooLarge()}},
        {seconds_, {59, texts::secondsTooLarge()}},
    };
    for (const auto& [f, limit] : limits) {
        guardField(
            f, [limit](const QString& text) { return digitsRefusal(text, limit.first, limit.second); },
            [this](const QString& why) { intervalNote_->setText(why); });
        f->setFixedWidth(f->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
        f->installEventFilter(this);
        // The duration and the note follow every key.
        connect(f, &QLineEdit::textEdited, this, &ConfigurationDialog::intervalChanged);
    }
    auto* minLabel = named(new QLabel(QStringLiteral("Min"), this), "Label8");
    auto* secLabel = named(new QLabel(QStringLiteral("Sec"), this), "Label9");

    // The sampling selector offers only 1 s and stays hidden.
    auto* samplingLabel = named(new QLabel(QStringLiteral("Sampling interval:"), this), "Label2");
    sampling_ = named(new QComboBox(this), "cbSampling");
    sampling_->addItem(QStringLiteral("1"));
    auto* samplingSec = named(new QLabel(QStringLiteral("Sec"), this), "Label6");
    for (QWidget* w : std::initializer_list<QWidget*>{samplingLabel, sampling_, samplingSec})
        w->hide();

    auto* durationLabel = named(new QLabel(QStringLiteral("Recording duration:"), this), "lbRecduration");
    duration_ = named(new QLabel(this), "lbReclen");

    auto* startBox = named(new QGroupBox(QStringLiteral("Recording Start"), this), "Label5");
    delayedRec_ = named(new QCheckBox(QStringLiteral("Delayed Start"), startBox), "DelayedRec");
    delay_ = named(new QPushButton(QStringLiteral("Delay"), startBox), "Delay");
    delay_->setEnabled(false);
    delay_->setAutoDefault(false);
    start_ = named(new QLabel(startBox), "lbStart");
    auto* startLayout = new QVBoxLayout(startBox);
    startLayout->addWidget(delayedRec_);
    startLayout->addWidget(delay_);
    startLayout->addWidget(start_);

    auto* stopBox = named(new QGroupBox(QStringLiteral("Recording Stop"), this), "Label4");
    eofMem_ = named(new QRadioButton(QStringLiteral("Memory Full"), stopBox), "EofMem");
    cyclic_ = named(new QRadioButton(QStringLiteral("Cyclic Recording"), stopBox), "Cyclic");
    auto* stopLayout = new QVBoxLayout(stopBox);
    stopLayout->addWidget(eofMem_);
    stopLayout->addWidget(cyclic_);

    scalingButton_ = named(new QPushButton(QStringLiteral("Scaling"), this), "bSelPage2");
    auto* config = named(new QPushButton(QStringLiteral("Config  "), this), "BitBtn1");
    auto* cancel = named(new QPushButton(tr("Cancel"), this), "CancelBtn");
    auto* help = named(new QPushButton(tr("Help"), this), "HelpBtn");
    for (QPushButton* b : {scalingButton_, config, cancel, help})
        b->setAutoDefault(false);

    connect(delayedRec_, &QCheckBox::clicked, this, &ConfigurationDialog::delayedRecClicked);
    connect(delay_, &QPushButton::clicked, this, &ConfigurationDialog::delayClicked);
    connect(scalingButton_, &QPushButton::clicked, this, &ConfigurationDialog::scalingClicked);
    connect(config, &QPushButton::clicked, this, &ConfigurationDialog::sendConfiguration);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });

    auto* grid = new QGridLayout;
    grid->addWidget(pcDate_, 0, 0);
    grid->addWidget(systemClock_, 0, 1, 1, 5);
    grid->addWidget(serialLabel, 1, 0);
    grid->addWidget(serial_, 1, 1, 1, 5);
    grid->addWidget(commentLabel, 2, 0);
    grid->addWidget(comment_, 2, 1, 1, 5);
    grid->addWidget(commentNote_, 3, 1, 1, 5);
    grid->addWidget(intervalLabel, 4, 0);
    grid->addWidget(minutes_, 4, 1);
    grid->addWidget(minLabel, 4, 2);
    grid->addWidget(seconds_, 4, 3);
    grid->addWidget(secLabel, 4, 4);
    grid->addWidget(intervalNote_, 4, 5);
    grid->addWidget(samplingLabel, 5, 0);
    grid->addWidget(sampling_, 5, 1);
    grid->addWidget(samplingSec, 5, 2);
    grid->addWidget(durationLabel, 6, 0);
    grid->addWidget(duration_, 6, 1, 1, 5);
    grid->setColumnStretch(5, 1);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(startBox);
    boxes->addWidget(stopBox);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(scalingButton_);
    buttons->addStretch();
    buttons->addWidget(config);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(boxes);
    layout->addLayout(buttons);
    comment_->setMinimumWidth(comment_->fontMetrics().horizontalAdvance(QString(34, QLatin1Char('M'))));
}

void ConfigurationDialog::setDateSettings(DateSettings* settings)
{
    dateSettings_ = settings;
    // The hand promises a click that does something.
    pcDate_->setCursor(settings && settings->available() ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

bool ConfigurationDialog::initialize(const QString& port, ByteView image)
{
    port_ = port;
    image_ = image;
    // A start chosen for the logger before is not this one's.
    delayed_->reset();
    delayedRec_->setChecked(false);
    delay_->setEnabled(false);
    delayed_->initialize(image);
    scaling_->initialize(image);
    const LoggerModel model = captionWithModel(this, baseCaption_, services_.folder, image);
    scalingButton_->setVisible(!hasFixedInputs(ImageReader::deviceImage(image).deviceCode()));
    return model.accepted;
}

void ConfigurationDialog::showConfiguration()
{
    show();
    raise();
    activateWindow();
}

void ConfigurationDialog::showEvent(QShowEvent* event)
{
    updateConfigScreen();
    updateRecDuration();
    showPcClock();
    commentNote_->clear();
    intervalNote_->clear();
    updateStartText();
    QDialog::showEvent(event);
}

void ConfigurationDialog::updateConfigScreen()
{
    const ImageReader reader = ImageReader::deviceImage(image_);
    serial_->setText(reader.serialNumber());
    // Without its padding, so that the user can type at the end; storing pads it again.
    comment_->setText(trimTrailingBlanks(reader.recordName()));
    comment_->setCursorPosition(0);
    const int interval = reader.interval();
    minutes_->setText(QString::number(interval / 60));
    seconds_->setText(QString::number(interval % 60));
    if (reader.stopMode() != 0)
        eofMem_->setChecked(true);
    else
        cyclic_->setChecked(true);
}

QString ConfigurationDialog::intervalProblem() const
{
    const int total = minutes_->text().toInt() * 60 + seconds_->text().toInt();
    // "A multiple of 1 sec" does not say what is wrong with 0.
    if (total == 0)
        return texts::intervalZero();
    return intervalRefusal(checkInterval(total, sampling_->currentText().toInt()), sampling_->currentText());
}

QString ConfigurationDialog::commentProblem() const
{
    return loggerTextRefusal(texts::commentWhat(), int(mem::kRecordNameSize), comment_->text());
}

bool ConfigurationDialog::storeEntries()
{
    if (!image_.bound() || !commentProblem().isEmpty())
        return false;
    ConfigurationEntry entry;
    entry.intervalSeconds = minutes_->text().toInt() * 60 + seconds_->text().toInt();
    entry.samplingInterval = sampling_->currentText().toInt();
    entry.comment = comment_->text();
    entry.stop = eofMem_->isChecked() ? StopChoice::MemoryFull
        : cyclic_->isChecked()        ? StopChoice::Cyclic
                                      : StopChoice::Unchanged;
    return storeConfiguration(image_, entry) == IntervalCheck::Ok;
}

bool ConfigurationDialog::updateConfiguration()
{
    if (!image_.bound())
        return false;
    if (const QString problem = commentProblem(); !problem.isEmpty()) {
        services_.prompt.tell(problem, PromptSymbol::Warning);
        comment_->setFocus();
        return false;
    }
    if (storeEntries())
        return true;
    services_.prompt.tell(intervalProblem(), PromptSymbol::Warning);
    seconds_->setFocus();
    return false;
}

void ConfigurationDialog::intervalChanged()
{
    intervalNote_->setText(intervalProblem());
    if (storeEntries())
        updateRecDuration();
    else
        duration_->clear(); // no duration for an interval that cannot be sent
}

void ConfigurationDialog::updateRecDuration()
{
    duration_->setText(recordingDurationText(image_));
}

void ConfigurationDialog::showPcClock()
{
    LoggerDate now;
    now.setNow(services_.clock);
    systemClock_->setText(now.dateText() + QStringLiteral("  ") + now.timeText());
}

void ConfigurationDialog::leaveIntervalField(QLineEdit* field, int max)
{
    field->setText(intervalFieldExit(field->text(), max));
    intervalChanged();
}

void ConfigurationDialog::updateStartText()
{
    if (!delayedRec_->isChecked()) {
        start_->setText(texts::startsWhenSent());
        return;
    }
    const DelayedStart plan = delayed_->plan();
    if (!delayed_->hasStart()) {
        start_->setText(texts::noStartChosen());
    } else if (plan.mode == DelayedStart::Mode::Delay) {
        start_->setText(texts::startsAfter(delayText(plan.delay)));
    } else {
        const QDateTime when = fromDateTimeNumber(plan.startInstant);
        start_->setText(texts::startsAt(when.date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ')
                                        + instantText(when, when)));
    }
}

// Delayed Start, Delay and Scaling keep the entries (when they can be sent) and open their
// dialog: an interval still being typed is told beside its fields and checked by Config.
void ConfigurationDialog::delayedRecClicked(bool checked)
{
    delay_->setEnabled(checked);
    updateStartText();
    storeEntries();
    if (checked)
        delayed_->showDialog();
}

void ConfigurationDialog::delayClicked()
{
    storeEntries();
    delayed_->showDialog();
}

void ConfigurationDialog::scalingClicked()
{
    storeEntries();
    if (!port_.isEmpty())
        scaling_->showDialog();
}

void ConfigurationDialog::sendConfiguration()
{
    if (sending_ || !image_.bound())
        return;
    const StartRequest start{delayedRec_->isChecked(), delayed_->plan()};
    // The start is checked first, on a copy: the clock record itself is built by the send,
    // right before it goes out.
    std::array<std::uint8_t, mem::kDeviceImageSize> trial{};
    std::copy_n(image_.data, std::min(image_.size, trial.size()), trial.begin());
    if (!programTimeVars(ByteView{trial.data(), trial.size()}, services_.clock, start.delayed, start.plan)
             .inFuture) {
        services_.prompt.tell(texts::startElapsed(), PromptSymbol::Error);
        lastSend_ = SendOutcome::StartElapsed;
        if (delayedRec_->isChecked())
            delayed_->showDialog();
        return;
    }
    if (!updateConfiguration()) {
        lastSend_ = SendOutcome::Refused;
        return;
    }
    sending_ = true;
    startSend(start, ConfigurePolicy{});
}

void ConfigurationDialog::startSend(const StartRequest& start, const ConfigurePolicy& policy)
{
    std::array<std::uint8_t, mem::kDeviceImageSize> image{};
    std::copy_n(image_.data, std::min(image_.size, image.size()), image.begin());
    // Shown when the transfer begins, after the question.
    auto* gauge = new ProgressDialog(services_.pump, this, false);
    services_.ports.run(
        services_.linkFor(port_), this, gauge, nullptr,
        [image, start, policy](LoggerProtocol& q, Progress& progress) {
            return configureJob(q, image, start, policy, progress);
        },
        [this, gauge, start, policy](ConfigureResult r) {
            delete gauge;
            sendDone(r, start, policy);
        });
}

void ConfigurationDialog::sendDone(const ConfigureResult& r, const StartRequest& start,
                                   ConfigurePolicy policy)
{
    services_.prompt.tell(messagesOf(r));
    if (const std::optional<Message> question = questionOf(r);
        question && services_.prompt.confirm(*question)) {
        // Nothing was sent yet: the send runs again, the restart allowed.
        policy.restart = Decision::Yes;
        startSend(start, policy);
        return;
    }
    sending_ = false;
    switch (r.status) {
    case ConfigureStatus::Sent:
    case ConfigureStatus::NotHeld: {
        // The image says what the logger got: the clock record and the start sent.
        std::copy_n(r.image.begin(), std::min(image_.size, r.image.size()), image_.data);
        lastSend_ = SendOutcome::Sent;
        hide();
        if (r.status == ConfigureStatus::Sent) {
            const QDateTime now = fromDateTimeNumber(r.start.now.asDateTime());
            const QDateTime startAt = fromDateTimeNumber(r.start.start.asDateTime());
            emit configured(
                configuredText(recordingPlan(ConstByteView{r.image.data(), r.image.size()}, startAt), now));
        }
        return;
    }
    case ConfigureStatus::LinkFailed:
        lastSend_ = SendOutcome::LinkFailed;
        return;
    case ConfigureStatus::NotConfirmed:
        lastSend_ = SendOutcome::NotConfirmed;
        return;
    case ConfigureStatus::StartElapsed:
        // The start passed while the question was open.
        lastSend_ = SendOutcome::StartElapsed;
        if (delayedRec_->isChecked())
            delayed_->showDialog();
        return;
    case ConfigureStatus::NotKept:
        lastSend_ = SendOutcome::NotKept;
        return;
    }
}

bool ConfigurationDialog::event(QEvent* event)
{
    if (internalMessageOf(event->type()) == kMsgTimerTick) {
        showPcClock();
        return true;
    }
    if (event->type() == QEvent::WindowActivate && isVisible() && !sending_ && image_.bound())
        storeEntries();
    return QDialog::event(event);
}

bool ConfigurationDialog::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == minutes_ || watched == seconds_) {
        auto* field = static_cast<QLineEdit*>(watched);
        if (type == QEvent::FocusIn)
            QTimer::singleShot(0, field, &QLineEdit::selectAll);
        if (type == QEvent::FocusOut) {
            // Only a move to another control of this dialog leaves the field; a message
            // box or another window taking the focus does not.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !sending_)
                leaveIntervalField(field, field == minutes_ ? 60 : 59);
        }
    } else if (watched == pcDate_ && type == QEvent::MouseButtonRelease) {
        if (dateSettings_)
            dateSettings_->open();
        return true;
    } else if (watched == comment_ && type == QEvent::MouseButtonRelease) {
        comment_->deselect();
        comment_->setCursorPosition(0);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qz
