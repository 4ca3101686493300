#include "link/ui/dialing_dialog.h"

#include "link/dialer_texts.h"
#include "link/modem_dialer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace qz {

namespace {

const QSize kPlainSize(220, 130);

} // namespace

DialingDialog::DialingDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("DialerDlg"));
    setWindowTitle(texts::dialingCaption());
    setModal(true);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(48, 48));
    picture->setAlignment(Qt::AlignCenter);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("NoteLabel"));
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignCenter);
    note_->hide();
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    connect(cancel_, &QPushButton::clicked, this, &DialingDialog::cancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture);
    layout->addWidget(note_);
    layout->addLayout(buttons);
    setFixedSize(kPlainSize);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("PollTimer"));
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &DialingDialog::tick);
}

void DialingDialog::setNote(const QString& note)
{
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
    setFixedSize(note.isEmpty() ? kPlainSize : QSize(320, kPlainSize.height() + 60));
}

QString DialingDialog::note() const
{
    return note_->text();
}

DialOutcome DialingDialog::run(ModemDialer& dialer)
{
    dialer_ = &dialer;
    outcome_ = DialOutcome::Cancelled;
    timer_->start();
    exec();
    timer_->stop();
    dialer_ = nullptr;
    return outcome_;
}

void DialingDialog::tick()
{
    if (!dialer_)
        return;
    const DialOutcome outcome = dialer_->poll();
    if (outcome != DialOutcome::Waiting)
        finish(outcome);
}

void DialingDialog::cancel()
{
    finish(DialOutcome::Cancelled);
}

void DialingDialog::finish(DialOutcome outcome)
{
    outcome_ = outcome;
    timer_->stop();
    // Hidden by Cancel or by the modem's answer, the dialog ends its showing with OK.
    done(QDialog::Accepted);
}

} // namespace qz
