#pragma once
// "Quorvant Delayed Start": the start of the next recording as a date and time, or as a
// delay from the moment the configuration is sent. Modeless; what it accepted (the start,
// the delay and the mode) is kept for the rest of the run, across loggers.
#include "config/delayed_start.h"
#include "model/byte_view.h"
#include "platform/program_folder.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qz {

class Clock;
class Prompt;

class DelayedStartDialog final : public QDialog {
    Q_OBJECT
public:
    DelayedStartDialog(Prompt& prompt, Clock& clock, ProgramFolder folder, QWidget* parent = nullptr);

    // Binds to the logger's image and puts its model into the caption; false when the
    // catalogue does not accept the model.
    bool initialize(ConstByteView deviceImage);
    // Shown without blocking; the date and time fields show the current ones until the
    // user has typed in them.
    void showDialog();
    // The last accepted start and delay, in the mode the radio buttons show now.
    DelayedStart plan() const;
    bool edited() const { return edited_; }

    // The OK button: checks and keeps the start (date mode) or the delay (delay mode),
    // tells a refusal, and hides the dialog in every case.
    void accept() override;
    // Cancel: hides, nothing kept.
    void reject() override;

signals:
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showDateMode();
    void showDelayMode();
    void fillNow();
    // The fields' texts with the mask's blanks as blanks.
    static QString fieldText(const QLineEdit* field);

    Prompt& prompt_;
    Clock& clock_;
    ProgramFolder folder_;
    QString baseCaption_;
    DelayedStart plan_;
    bool edited_ = false;

    QRadioButton* rbDate_;
    QRadioButton* rbDelay_;
    QLabel* lDate_;
    QLabel* lTime_;
    QLabel* lDate2_;
    QLabel* lTime2_;
    QLabel* lHours_;
    QLineEdit* meDateStart_;
    QLineEdit* meTimeStart_;
    QLineEdit* meDelayDays_;
    QLineEdit* meDelayHours_;
    QLineEdit* meDelayMinutes_;
};

} // namespace qz
