#pragma once
// The access code question before the memory panel shows: "Please enter password", the
// typed characters shown as stars. OK closes it accepted only for the right code; a wrong
// code closes it as Cancel, without a message.
#include <QDialog>

class QLineEdit;

namespace qz {

class PasswordDialog final : public QDialog {
    Q_OBJECT
public:
    explicit PasswordDialog(QWidget* parent = nullptr);

    QLineEdit* passwordEdit() const { return password_; }
    // Shows the dialog modally; true when it ended with the right code.
    static bool askAccessCode(QWidget* parent);

    // What OK does: Cancel, unless the text starts with the code.
    void checkAndClose();

private:
    QLineEdit* password_;
};

} // namespace qz
