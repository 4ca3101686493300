#pragma once
// "Dialing": shown modally while the modem sets up a call, with a picture and Cancel. It
// polls the dialer once a second until the modem gives its result word or the wait times
// out; Cancel (or Escape) ends the wait, and the dialer hangs up.
#include "link/dial_outcome.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace qz {

class ModemDialer;

class DialingDialog final : public QDialog {
    Q_OBJECT
public:
    explicit DialingDialog(QWidget* parent = nullptr);

    // Shows the dialog while the dialer waits; the outcome, or Cancelled.
    DialOutcome run(ModemDialer& dialer);
    // What Cancel does.
    void cancel();
    // A word under the picture for this call (empty: none), such as an initialisation file
    // that was not found.
    void setNote(const QString& note);
    QString note() const;

    QTimer* pollTimer() const { return timer_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    void reject() override { cancel(); }

private:
    void tick();
    void finish(DialOutcome outcome);

    ModemDialer* dialer_ = nullptr;
    DialOutcome outcome_ = DialOutcome::Cancelled;
    QTimer* timer_;
    QPushButton* cancel_;
    QLabel* note_;
};

} // namespace qz
