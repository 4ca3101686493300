#include "ui/message_box_prompt.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace qz {

QString MessageBoxPrompt::captionFor(PromptSymbol symbol)
{
    switch (symbol) {
    case PromptSymbol::Warning:
        return QStringLiteral("Warning");
    case PromptSymbol::Error:
        return QStringLiteral("Error");
    case PromptSymbol::Information:
        return QStringLiteral("Information");
    case PromptSymbol::Confirmation:
        return QStringLiteral("Confirm");
    }
    return {};
}

QString MessageBoxPrompt::displayText(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

PromptAnswer MessageBoxPrompt::ask(const QString& text, PromptSymbol symbol, PromptButtons buttons)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (symbol) {
    case PromptSymbol::Warning:
        icon = QMessageBox::Warning;
        break;
    case PromptSymbol::Error:
        icon = QMessageBox::Critical;
        break;
    case PromptSymbol::Information:
        icon = QMessageBox::Information;
        break;
    case PromptSymbol::Confirmation:
        icon = QMessageBox::Question;
        break;
    }
    QMessageBox::StandardButtons std = QMessageBox::Ok;
    switch (buttons) {
    case PromptButtons::Ok:
        std = QMessageBox::Ok;
        break;
    case PromptButtons::YesNo:
        std = QMessageBox::Yes | QMessageBox::No;
        break;
    case PromptButtons::YesNoCancel:
        std = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case PromptButtons::OkCancel:
        std = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case PromptButtons::SaveDiscardCancel:
        std = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(icon, captionFor(symbol), displayText(text), std, parent_);
    if (QAbstractButton* discard = box.button(QMessageBox::Discard))
        discard->setText(QStringLiteral("Close without saving"));
    switch (box.exec()) {
    case QMessageBox::Save:
        return PromptAnswer::Save;
    case QMessageBox::Discard:
        return PromptAnswer::Discard;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    default:
        // Closed by the frame: the cautious answer.
        return buttons == PromptButtons::Ok   ? PromptAnswer::Ok
            : buttons == PromptButtons::YesNo ? PromptAnswer::No
                                              : PromptAnswer::Cancel;
    }
}

} // namespace qz
