#pragma once
// A prompt that shows nothing: OK boxes are answered Ok, questions No. For benchmarks, the
// fuzz target and tests that do not look at the messages.
#include "platform/prompt.h"

namespace qz::test {

class SilentPrompt final : public Prompt {
public:
    PromptAnswer ask(const QString&, PromptSymbol, PromptButtons buttons) override
    {
        ++messages;
        return buttons == PromptButtons::Ok               ? PromptAnswer::Ok
            : buttons == PromptButtons::SaveDiscardCancel ? PromptAnswer::Cancel
                                                          : PromptAnswer::No;
    }
    int messages = 0; // messages and questions put, for a check that none was
};

} // namespace qz::test
