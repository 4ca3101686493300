#pragma once
// The program's messages and questions, shown in modal message boxes.
#include "platform/prompt.h"

class QWidget;

namespace qz {

class MessageBoxPrompt final : public Prompt {
public:
    explicit MessageBoxPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    PromptAnswer ask(const QString& text, PromptSymbol symbol, PromptButtons buttons) override;

    // The box's caption for a symbol, and the text as the box shows it (a carriage return
    // alone starts a new line).
    static QString captionFor(PromptSymbol symbol);
    static QString displayText(const QString& text);

private:
    QWidget* parent_;
};

} // namespace qz
