#include "config/ui/delayed_start_dialog.h"

#include "config/config_texts.h"
#include "config/ui/dialog_texts.h"
#include "config/ui/model_caption.h"
#include "model/datetime_number.h"
#include "model/logger_date.h"
#include "platform/clock.h"
#include "platform/prompt.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace qz {

namespace {

constexpr int kHelpContext = 8;

template <class W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLineEdit* maskedField(QWidget* parent, const char* name, const QString& mask, const QString& text)
{
    auto* field = named(new QLineEdit(parent), name);
    field->setInputMask(mask);
    field->setText(text);
    return field;
}

} // namespace

DelayedStartDialog::DelayedStartDialog(Prompt& prompt, Clock& clock, ProgramFolder folder, QWidget* parent)
    : QDialog(parent), prompt_(prompt), clock_(clock), folder_(std::move(folder))
{
    setObjectName(QStringLiteral("BtnBottomDlg"));
    baseCaption_ = texts::delayedStartCaption();
    setWindowTitle(baseCaption_);
    // One dialog at a time: the configuration behind waits until the start is chosen.
    setWindowModality(Qt::WindowModal);

    auto* label1 = named(new QLabel(QStringLiteral("Delayed Record"), this), "Label1");
    rbDate_ = named(new QRadioButton(QStringLiteral("Date"), this), "rbDate");
    rbDelay_ = named(new QRadioButton(QStringLiteral("Delay"), this), "rbDelay");
    rbDate_->setChecked(true);
    lDate_ = named(new QLabel(QStringLiteral("Start"), this), "lDate");
    lTime_ = named(new QLabel(QStringLiteral("Start"), this), "lTime");
    lDate2_ = named(new QLabel(QStringLiteral("Date "), this), "lDate2");
    lTime2_ = named(new QLabel(QStringLiteral("Time "), this), "lTime2");
    lHours_ = named(new QLabel(QStringLiteral("Hours    "), this), "lHours");
    // Masks: every date digit required; the first hour digit may be a blank.
    meDateStart_ = maskedField(this, "meDateStart", QStringLiteral("99/99/99;_"), {});
    meTimeStart_ = maskedField(this, "meTimeStart", QStringLiteral("09:99:99;_"), {});
    meDelayDays_ = maskedField(this, "meDelayDays", QStringLiteral("00;_"), QStringLiteral("00"));
    meDelayHours_ = maskedField(this, "meDelayHours", QStringLiteral("00;_"), QStringLiteral("00"));
    meDelayMinutes_ = maskedField(this, "meDelayMinutes", QStringLiteral("00;_"), QStringLiteral("00"));
    for (QLineEdit* f : {meDateStart_, meTimeStart_})
        f->installEventFilter(this);
    lDateFormat_ = named(new QLabel(texts::dateFormat(), this), "lDateFormat");
    lTimeFormat_ = named(new QLabel(texts::timeFormat(), this), "lTimeFormat");
    for (QLabel* l : {lDateFormat_, lTimeFormat_})
        l->setEnabled(false);

    auto* ok = named(new QPushButton(tr("OK"), this), "OKBtn");
    auto* cancel = named(new QPushButton(tr("Cancel"), this), "CancelBtn");
    auto* help = named(new QPushButton(tr("Help"), this), "HelpBtn");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &DelayedStartDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &DelayedStartDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });
    connect(rbDate_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            showDateMode();
    });
    connect(rbDelay_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            showDelayMode();
    });

    auto* grid = new QGridLayout;
    grid->addWidget(label1, 0, 0, 1, 3);
    grid->addWidget(rbDate_, 1, 0);
    grid->addWidget(rbDelay_, 1, 1, 1, 2);
    grid->addWidget(lDate_, 2, 0);
    grid->addWidget(lDate2_, 2, 1);
    grid->addWidget(meDateStart_, 2, 2);
    grid->addWidget(lDateFormat_, 2, 3);
    grid->addWidget(meDelayDays_, 2, 2);
    grid->addWidget(lHours_, 3, 0);
    grid->addWidget(meDelayHours_, 3, 2);
    grid->addWidget(lTime_, 4, 0);
    grid->addWidget(lTime2_, 4, 1);
    grid->addWidget(meTimeStart_, 4, 2);
    grid->addWidget(lTimeFormat_, 4, 3);
    grid->addWidget(meDelayMinutes_, 4, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    showDateMode();
}

bool DelayedStartDialog::initialize(ConstByteView image)
{
    return captionWithModel(this, baseCaption_, folder_, image).accepted;
}

void DelayedStartDialog::reset()
{
    plan_ = DelayedStart{};
    edited_ = false;
    for (QLineEdit* f : {meDelayDays_, meDelayHours_, meDelayMinutes_})
        f->setText(QStringLiteral("00"));
    rbDate_->setChecked(true);
    fillNextHour();
}

void DelayedStartDialog::showDialog()
{
    show();
    raise();
    activateWindow();
}

void DelayedStartDialog::showEvent(QShowEvent* event)
{
    // A start typed before that has passed since is no start to offer again.
    if (!edited_ || !typedStartToCome())
        fillNextHour();
    QDialog::showEvent(event);
}

bool DelayedStartDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Typing a start of one's own stops the fields from following the clock.
    if (event->type() == QEvent::FocusIn && (watched == meDateStart_ || watched == meTimeStart_))
        edited_ = true;
    return QDialog::eventFilter(watched, event);
}

void DelayedStartDialog::fillNextHour()
{
    const QDateTime now = clock_.localNow();
    const QDateTime next = QDateTime(now.date(), QTime(now.time().hour(), 0)).addSecs(3600);
    LoggerDate d;
    d.setDateTime(toDateTimeNumber(next));
    meDateStart_->setText(d.dateText());
    meTimeStart_->setText(d.timeText());
}

bool DelayedStartDialog::typedStartToCome() const
{
    double instant = 0;
    return checkStartTexts(fieldText(meDateStart_), fieldText(meTimeStart_), instant) == StartCheck::Ok
        && instant > toDateTimeNumber(clock_.localNow());
}

void DelayedStartDialog::showDateMode()
{
    lDate_->setText(QStringLiteral("Start"));
    lTime_->setText(QStringLiteral("Start"));
    lHours_->hide();
    lDate2_->show();
    lTime2_->show();
    lDateFormat_->show();
    lTimeFormat_->show();
    for (QLineEdit* f : {meDelayDays_, meDelayHours_, meDelayMinutes_})
        f->hide();
    for (QLineEdit* f : {meDateStart_, meTimeStart_}) {
        f->show();
        f->setEnabled(true);
    }
    if (!edited_)
        fillNextHour();
}

void DelayedStartDialog::showDelayMode()
{
    lDate2_->hide();
    lTime2_->hide();
    lDateFormat_->hide();
    lTimeFormat_->hide();
    lDate_->setText(QStringLiteral("Days"));
    lTime_->setText(QStringLiteral("Mins"));
    lHours_->show();
    meDateStart_->hide();
    meTimeStart_->hide();
    for (QLineEdit* f : {meDelayDays_, meDelayHours_, meDelayMinutes_})
        f->show();
}

DelayedStart DelayedStartDialog::plan() const
{
    DelayedStart p = plan_;
    p.mode = rbDelay_->isChecked() ? DelayedStart::Mode::Delay : DelayedStart::Mode::Date;
    return p;
}

QString DelayedStartDialog::fieldText(const QLineEdit* field)
{
    QString text = field->displayText();
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

bool DelayedStartDialog::hasStart() const
{
    return rbDelay_->isChecked() ? plan_.delay > 0 : plan_.startInstant > 0;
}

void DelayedStartDialog::accept()
{
    // A refusal keeps the dialog open on what was typed, to be put right.
    if (rbDate_->isChecked()) {
        double instant = 0;
        if (const StartCheck check =
                checkStartTexts(fieldText(meDateStart_), fieldText(meTimeStart_), instant);
            check != StartCheck::Ok) {
            prompt_.tell(startRefusal(check), PromptSymbol::Error);
            return;
        }
        // A start that has passed would be refused only when Config is pressed.
        if (instant <= toDateTimeNumber(clock_.localNow())) {
            prompt_.tell(texts::startElapsed(), PromptSymbol::Error);
            return;
        }
        plan_.startInstant = instant;
    } else if (rbDelay_->isChecked()) {
        QString bad;
        double delay = 0;
        const DelayCheck check =
            checkDelayTexts(meDelayDays_->text(), meDelayHours_->text(), meDelayMinutes_->text(), delay, bad);
        if (check != DelayCheck::Ok) {
            prompt_.tell(delayRefusal(check, bad), PromptSymbol::Error);
            return;
        }
        if (delay <= 0) {
            prompt_.tell(texts::delayZero(), PromptSymbol::Error);
            return;
        }
        plan_.delay = delay;
    }
    hide();
    emit startChosen();
}

void DelayedStartDialog::reject()
{
    hide();
}

} // namespace qz
