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
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    connect(cancel_, &QPushButton::clicked, this, &DialingDialog::cancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture);
    layout->addLayout(buttons);
    setFixedSize(220, 130);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("PollTimer"));
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &DialingDialog::tick);
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
