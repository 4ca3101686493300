#pragma once
// What a download shows: the progress dialog, and the messages and questions of the
// download. The dialog gets out of the way before any message, so that no message box
// appears behind or beside a bar that no longer moves; when the download goes on after
// a warning, the dialog comes back with the next step.
#include "platform/progress.h"
#include "platform/prompt.h"

namespace qz {

class ProgressDialog;

class DownloadDisplay final : public Progress, public Prompt {
public:
    DownloadDisplay(ProgressDialog& gauge, Prompt& prompt) : gauge_(gauge), prompt_(prompt) {}

    void setCaption(const QString& caption) override;
    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    void setCancelEnabled(bool enabled) override;
    void setText(const QString& text) override;
    bool cancelled() override;

    PromptAnswer ask(const QString& text, PromptSymbol symbol, PromptButtons buttons) override;

    // Hides the dialog for good (the download has ended).
    void dismiss();

private:
    ProgressDialog& gauge_;
    Prompt& prompt_;
    bool hiddenForMessage_ = false;
};

} // namespace qz
