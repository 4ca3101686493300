#pragma once
// A prompt that keeps every message and answers from a script (default: OK / No).
#include "platform/prompt.h"

#include <deque>
#include <functional>
#include <vector>

namespace qz::test {

struct PromptRecord {
    QString text;
    PromptSymbol symbol;
    PromptButtons buttons;
    PromptAnswer answer;
};

class RecordingPrompt final : public Prompt {
public:
    PromptAnswer ask(const QString& text, PromptSymbol symbol, PromptButtons buttons) override;

    // Answers given in order to the next questions; when the script is empty an OK box
    // is answered Ok, the question before unsaved work goes Cancel, and any other box No.
    void script(std::initializer_list<PromptAnswer> answers) { answers_.insert(answers_.end(), answers); }
    const std::vector<PromptRecord>& records() const { return records_; }
    QStringList texts() const;
    void clear()
    {
        records_.clear();
        answers_.clear();
    }
    // Runs before each message is kept (to look at the screen as the user would).
    std::function<void(const QString& text)> onAsk;

private:
    std::deque<PromptAnswer> answers_;
    std::vector<PromptRecord> records_;
};

} // namespace qz::test
