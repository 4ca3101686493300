#pragma once
// "Quorvant Dialer": the number to call, the modem initialisation file (chosen by a double
// click on its field) and the dial mode. OK saves them and makes the call: initialise the
// modem, dial, wait in the dialing dialog for the modem's answer, and tell it. Shown
// modally by the Modem connection command.
#include "link/dial_outcome.h"
#include "platform/prompt.h"

#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qz {

class DialingDialog;
class LoggerProtocol;

struct DialerServices {
    Prompt& prompt;
    // The settings file (section "Modem").
    QString settingsPath;
    // A protocol object on the port of the communication options.
    std::function<std::unique_ptr<LoggerProtocol>()> makePort;
    // Asks for the initialisation file (texts::initFileTitle, initFileFilter); empty when
    // none was chosen.
    std::function<QString(QWidget* parent)> chooseInitFile;
};

class DialerDialog final : public QDialog {
    Q_OBJECT
public:
    explicit DialerDialog(DialerServices services, QWidget* parent = nullptr);

    // Reads the settings into the fields and shows the dialog modally; what became of the
    // call (Cancelled when none was made).
    DialOutcome run();
    // What OK does.
    void dial();
    // What a double click on the initialisation file's field does.
    void chooseInitFile();

    const QString& initFile() const { return initFile_; }
    QLineEdit* numberEdit() const { return number_; }
    QLineEdit* initEdit() const { return init_; }
    QComboBox* modeBox() const { return mode_; }
    DialingDialog* dialingDialog() const { return dialing_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadSettings();
    void saveSettings();
    void setInitFile(const QString& path);
    // Makes the call on a port of its own; Cancelled after a hang-up.
    DialOutcome call();

    DialerServices services_;
    QString initFile_;
    DialOutcome outcome_ = DialOutcome::Cancelled;
    QLineEdit* number_;
    QLineEdit* init_;
    QComboBox* mode_;
    QPushButton* ok_;
    QPushButton* cancel_;
    DialingDialog* dialing_;
};

} // namespace qz
