#pragma once
// "Quorvant Delayed Start": the start of the next recording as a date and time, or as a
// delay from the moment the configuration is sent. Modal over the configuration dialog
// while it shows; it opens on the next whole hour and takes only a start still to come.
// What it accepted is kept until the next logger is read.
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
    // Forgets the start, the delay and what was typed (a new logger was read): back to the
    // date mode on the next whole hour.
    void reset();
    // Shown without blocking the caller, modal to the windows behind it. The date and time
    // fields propose the next whole hour until the user has typed a start still to come.
    void showDialog();
    // The last accepted start and delay, in the mode the radio buttons show now.
    DelayedStart plan() const;
    // A start was accepted in the mode shown (a date, or a delay above 0).
    bool hasStart() const;
    bool edited() const { return edited_; }

    // The OK button: checks and keeps the start (date mode) or the delay (delay mode) and
    // hides; a refusal is told and the dialog stays open with what was typed.
    void accept() override;
    // Cancel: hides, nothing kept.
    void reject() override;

signals:
    void helpRequested(int context);
    // A start or a delay was accepted.
    void startChosen();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showDateMode();
    void showDelayMode();
    // The next whole hour after now.
    void fillNextHour();
    // The date and time typed, when they form a start after now.
    bool typedStartToCome() const;
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
    QLabel* lDateFormat_;
    QLabel* lTimeFormat_;
    QLineEdit* meDateStart_;
    QLineEdit* meTimeStart_;
    QLineEdit* meDelayDays_;
    QLineEdit* meDelayHours_;
    QLineEdit* meDelayMinutes_;
};

} // namespace qz
