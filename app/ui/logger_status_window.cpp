#include "app/ui/logger_status_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qz {

LoggerStatusWindow::LoggerStatusWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("LoggerStatus"));
    setWindowTitle(QStringLiteral("Quorvant Logger Status"));
    form_ = new QFormLayout;
    when_ = new QLabel(this);
    when_->setObjectName(QStringLiteral("lbReadAt"));
    refresh_ = new QPushButton(QStringLiteral("Refresh"), this);
    refresh_->setObjectName(QStringLiteral("RefreshBtn"));
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    for (QPushButton* b : {refresh_, close})
        b->setAutoDefault(false);
    connect(refresh_, &QPushButton::clicked, this, &LoggerStatusWindow::refreshRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(when_, 1);
    buttons->addWidget(refresh_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form_);
    layout->addLayout(buttons);
}

void LoggerStatusWindow::showStatus(const LoggerStatus& status)
{
    while (form_->rowCount() > 0)
        form_->removeRow(0);
    for (const auto& [label, text] : statusLines(status)) {
        auto* value = new QLabel(text, this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form_->addRow(label, value);
    }
    when_->setText(status.host.isValid()
                       ? QStringLiteral("Read at ") + status.host.toString(QStringLiteral("hh:mm:ss"))
                       : QString());
}

void LoggerStatusWindow::setReading(bool reading)
{
    refresh_->setEnabled(!reading);
}

QString LoggerStatusWindow::line(const QString& label) const
{
    for (int row = 0; row < form_->rowCount(); ++row) {
        const QLayoutItem* name = form_->itemAt(row, QFormLayout::LabelRole);
        const QLayoutItem* value = form_->itemAt(row, QFormLayout::FieldRole);
        const auto* nameLabel = name ? qobject_cast<QLabel*>(name->widget()) : nullptr;
        const auto* valueLabel = value ? qobject_cast<QLabel*>(value->widget()) : nullptr;
        if (nameLabel && valueLabel && nameLabel->text() == label)
            return valueLabel->text();
    }
    return {};
}

} // namespace qz
