#include "ui/progress_dialog.h"

#include "platform/event_pump.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace qz {

ProgressDialog::ProgressDialog(EventPump& pump, QWidget* parent, bool showAtOnce)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint), pump_(pump)
{
    setObjectName(QStringLiteral("FormGauge"));
    setFixedSize(338, 99);
    gauge_ = new QProgressBar(this);
    gauge_->setObjectName(QStringLiteral("Gauge"));
    gauge_->setGeometry(0, 64, 338, 35);
    gauge_->setRange(0, 100);
    gauge_->setValue(0);
    gauge_->setTextVisible(false);
    gauge_->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: #0000ff; }"));
    cancelBtn_ = new QPushButton(tr("Cancel"), this);
    cancelBtn_->setObjectName(QStringLiteral("CancelBtn"));
    cancelBtn_->setGeometry(131, 16, 77, 29);
    cancelBtn_->setEnabled(false);
    cancelBtn_->setVisible(false);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("GaugeText"));
    text_->setGeometry(8, 46, 322, 17);
    text_->setAlignment(Qt::AlignCenter);
    connect(cancelBtn_, &QPushButton::clicked, this, [this] { requestCancel(); });
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    if (showAtOnce)
        show();
}

void ProgressDialog::setCaption(const QString& caption)
{
    setWindowTitle(caption);
    if (!isVisible())
        show();
    pump_.processPending();
}

void ProgressDialog::setMaximum(int maximum)
{
    gauge_->setMaximum(maximum > 0 ? maximum : 1);
}

void ProgressDialog::setPosition(int position)
{
    gauge_->setValue(std::clamp(position, gauge_->minimum(), gauge_->maximum()));
}

void ProgressDialog::setCancelEnabled(bool enabled)
{
    cancelBtn_->setEnabled(enabled);
    cancelBtn_->setVisible(enabled);
    repaint();
}

void ProgressDialog::setText(const QString& text)
{
    text_->setText(text);
}

bool ProgressDialog::cancelled()
{
    pump_.processPending();
    return cancelRequest_;
}

void ProgressDialog::dismiss()
{
    cancelRequest_ = false;
    hide();
}

int ProgressDialog::position() const
{
    return gauge_->value();
}
int ProgressDialog::maximum() const
{
    return gauge_->maximum();
}
bool ProgressDialog::cancelVisible() const
{
    return cancelBtn_->isVisible();
}
QString ProgressDialog::text() const
{
    return text_->text();
}

void ProgressDialog::reject()
{
    // Escape or the frame asks for a cancel; the creator frees the dialog.
    if (cancelBtn_->isEnabled())
        requestCancel();
}

} // namespace qz
