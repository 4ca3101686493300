#include "support/recording_prompt.h"

#include <QStringList>

namespace qz::test {

PromptAnswer RecordingPrompt::ask(const QString& text, PromptSymbol symbol, PromptButtons buttons)
{
    if (onAsk)
        onAsk(text);
    PromptAnswer answer = buttons == PromptButtons::Ok ? PromptAnswer::Ok
        : buttons == PromptButtons::SaveDiscardCancel  ? PromptAnswer::Cancel
                                                       : PromptAnswer::No;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    records_.push_back({text, symbol, buttons, answer});
    return answer;
}

QStringList RecordingPrompt::texts() const
{
    QStringList out;
    for (const auto& r : records_)
        out << r.text;
    return out;
}

} // namespace qz::test
