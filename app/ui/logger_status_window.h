#pragma once
// "Quorvant Logger Status": what the connected logger is doing, read on demand (Refresh):
// its model and serial number, whether it waits to start, records or is stopped, its clock
// beside this computer's, the battery, the memory used and when it will be full.
#include "jobs/logger_status.h"

#include <QDialog>

class QFormLayout;
class QLabel;
class QPushButton;

namespace qz {

class LoggerStatusWindow final : public QDialog {
    Q_OBJECT
public:
    explicit LoggerStatusWindow(QWidget* parent = nullptr);

    void showStatus(const LoggerStatus& status);
    // While the logger is busy (this read or another command) Refresh waits; a read that
    // failed leaves the last status shown.
    void setReading(bool reading);
    // The text shown for a line's label ("State:"), or an empty string.
    QString line(const QString& label) const;

signals:
    void refreshRequested();

private:
    QFormLayout* form_;
    QLabel* when_;
    QPushButton* refresh_;
};

} // namespace qz
