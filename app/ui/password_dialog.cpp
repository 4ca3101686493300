#include "app/ui/password_dialog.h"

#include "support_tools/access_code.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace qz {

PasswordDialog::PasswordDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PasswordDlg"));
    setWindowTitle(QStringLiteral("Please enter password"));
    setFixedSize(236, 93);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setBold(true);
    setFont(font);

    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("Password"));
    password_->setEchoMode(QLineEdit::Password);
    // A star for every character typed, whatever the style's own character.
    password_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    password_->setGeometry(16, 16, 204, 24);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setGeometry(38, 56, 75, 25);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setGeometry(123, 56, 75, 25);
    connect(ok, &QPushButton::clicked, this, &PasswordDialog::checkAndClose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    password_->setFocus();
}

void PasswordDialog::checkAndClose()
{
    done(accessCodeMatches(password_->text()) ? QDialog::Accepted : QDialog::Rejected);
}

bool PasswordDialog::askAccessCode(QWidget* parent)
{
    PasswordDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace qz
