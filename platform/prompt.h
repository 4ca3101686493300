#pragma once
// Messages and questions for the user. The program shows them in message boxes; tests
// script the answers and keep the texts.
#include "platform/message.h"

#include <QString>

namespace qz {

using PromptSymbol = MessageSymbol;
enum class PromptButtons {
    Ok,
    YesNo,
    YesNoCancel,
    OkCancel,
    // Before unsaved work goes: Save, Close without saving (Discard), Cancel.
    SaveDiscardCancel
};
enum class PromptAnswer {
    Ok,
    Yes,
    No,
    Cancel,
    Save,
    Discard
};

class Prompt {
public:
    virtual ~Prompt() = default;
    virtual PromptAnswer ask(const QString& text, PromptSymbol symbol, PromptButtons buttons) = 0;

    // One message with an OK button.
    void tell(const QString& text, PromptSymbol symbol) { ask(text, symbol, PromptButtons::Ok); }
    // Yes/No question; true for Yes.
    bool confirm(const QString& text, PromptSymbol symbol = PromptSymbol::Confirmation)
    {
        return ask(text, symbol, PromptButtons::YesNo) == PromptAnswer::Yes;
    }
    void tell(const Message& message) { tell(message.text, message.symbol); }
    // Each in turn, each with its OK button.
    void tell(const Messages& messages)
    {
        for (const Message& m : messages)
            tell(m);
    }
    // A question as a message: Yes/No with its symbol; true for Yes.
    bool confirm(const Message& question) { return confirm(question.text, question.symbol); }
};

} // namespace qz
