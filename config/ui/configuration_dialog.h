#pragma once
// "Quorvant Configuration": prepares the connected logger's next recording (interval,
// stop mode, comment, immediate or delayed start, inputs) in the main window's device
// image, and sends it. Modeless: created once, shown by the Configuration command after
// the logger has been read, hidden by Cancel or after a complete send.
#include "config/send_configuration.h"
#include "jobs/configure_job.h"
#include "model/byte_view.h"
#include "platform/program_folder.h"

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qz {

class Clock;
class DateSettings;
class DelayedStartDialog;
class EventPump;
class InputsScalingDialog;
class LoggerPorts;
class Prompt;

// What the dialog needs from the program around it.
struct ConfigurationServices {
    Prompt& prompt;
    Clock& clock;
    EventPump& pump;
    ProgramFolder folder;
    // Where the send runs: after any job still queued on the port.
    LoggerPorts& ports;
    // The program's link settings for the port.
    std::function<LinkSettings(const QString& port)> linkFor;
};

// What the last press of Config came to.
enum class SendOutcome {
    Sent, // the logger holds the configuration and its clock and start are set
    StartElapsed, // a delayed start that is not in the future (told); nothing sent
    Refused, // the entries were refused (the check told why); nothing sent
    NotConfirmed, // the logger records and the user kept it recording; nothing sent
    LinkFailed, // a step failed (told); later steps were not tried
    NotKept, // the program block still differed after three writes (told)
};

class ConfigurationDialog final : public QDialog {
    Q_OBJECT
public:
    ConfigurationDialog(ConfigurationServices services, QWidget* parent = nullptr);
    ~ConfigurationDialog() override;

    // Binds the dialog and its delayed start and inputs scaling dialogs to the image
    // (never copied), and names the model in the caption. False when the catalogue does
    // not accept the logger's model.
    bool initialize(const QString& port, ByteView deviceImage);
    void showConfiguration();

    // The image into the controls (the Delayed Start box keeps its state).
    void updateConfigScreen();
    // The controls into the image, under the interval rules; false (after the message)
    // when the interval or the comment is refused.
    bool updateConfiguration();
    void updateRecDuration();
    // The PC's date and time, refreshed by the main window's timer.
    void showPcClock();
    // The Config button: the checks here, then the send on the port's worker; its
    // messages and the question about a recording logger come when it has ended.
    void sendConfiguration();
    // True from the Config button until the send's last message.
    bool sending() const { return sending_; }

    // "PC Date:" opens these settings (none: nothing happens); the label shows the hand
    // cursor only where it opens something.
    void setDateSettings(DateSettings* settings);
    DelayedStartDialog* delayedStart() const { return delayed_; }
    InputsScalingDialog* inputsScaling() const { return scaling_; }
    const QString& port() const { return port_; }
    // What the last send came to (Sent before any).
    SendOutcome lastSend() const { return lastSend_; }

signals:
    void helpRequested(int context);
    // A send has ended with the logger configured: what it will do, in a line.
    void configured(const QString& summary);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // The entries into the image when they are accepted, without a word: the notes beside
    // the fields say what is wrong as it is typed, and Config tells it.
    bool storeEntries();
    // What is wrong with the interval typed, or an empty string.
    QString intervalProblem() const;
    QString commentProblem() const;
    // The interval's note and the recording duration, after each change of the fields.
    void intervalChanged();
    void leaveIntervalField(QLineEdit* field, int max);
    void updateStartText();
    void delayedRecClicked(bool checked);
    void delayClicked();
    void scalingClicked();
    void startSend(const StartRequest& start, const ConfigurePolicy& policy);
    void sendDone(const ConfigureResult& result, const StartRequest& start, ConfigurePolicy policy);

    ConfigurationServices services_;
    QString baseCaption_;
    QString port_;
    ByteView image_;
    DateSettings* dateSettings_ = nullptr;
    DelayedStartDialog* delayed_;
    InputsScalingDialog* scaling_;
    bool sending_ = false;
    SendOutcome lastSend_ = SendOutcome::Sent;

    QLabel* pcDate_;
    QLabel* systemClock_;
    QLabel* serial_;
    QLineEdit* comment_;
    QLabel* commentNote_;
    QLineEdit* minutes_;
    QLineEdit* seconds_;
    QLabel* intervalNote_;
    QComboBox* sampling_;
    QLabel* duration_;
    QCheckBox* delayedRec_;
    QPushButton* delay_;
    QLabel* start_;
    QRadioButton* eofMem_;
    QRadioButton* cyclic_;
    QPushButton* scalingButton_;
};

} // namespace qz
