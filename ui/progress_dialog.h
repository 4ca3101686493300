#pragma once
// The small progress dialog shown while a transfer runs: a bar, an optional Cancel and a
// line saying where the transfer stands. A transfer on this thread asks cancelled(), which
// lets pending events through first; a logger job on a worker hears of Cancel through
// cancelRequested.
#include "platform/progress.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qz {

class EventPump;

class ProgressDialog final : public QDialog, public Progress {
    Q_OBJECT
public:
    // Shown as soon as it is created, or else when its caption is first set.
    ProgressDialog(EventPump& pump, QWidget* parent = nullptr, bool showAtOnce = true);

    void setCaption(const QString& caption) override;
    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    void setCancelEnabled(bool enabled) override;
    void setText(const QString& text) override;
    bool cancelled() override;

    void dismiss();
    int position() const;
    int maximum() const;
    bool cancelVisible() const;
    QString text() const;
    // What the Cancel button does; a job running elsewhere hears of it through the signal.
    void requestCancel()
    {
        cancelRequest_ = true;
        emit cancelRequested();
    }

signals:
    void cancelRequested();

protected:
    void reject() override;

private:
    EventPump& pump_;
    QProgressBar* gauge_;
    QPushButton* cancelBtn_;
    QLabel* text_;
    bool cancelRequest_ = false;
};

} // namespace qz
