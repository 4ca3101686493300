#include "app/ui/download_display.h"

#include "ui/progress_dialog.h"

namespace qz {

void DownloadDisplay::setCaption(const QString& caption)
{
    hiddenForMessage_ = false;
    gauge_.setCaption(caption);
}

void DownloadDisplay::setMaximum(int maximum)
{
    gauge_.setMaximum(maximum);
}

void DownloadDisplay::setPosition(int position)
{
    if (hiddenForMessage_) {
        hiddenForMessage_ = false;
        gauge_.show();
    }
    gauge_.setPosition(position);
}

void DownloadDisplay::setText(const QString& text)
{
    gauge_.setText(text);
}

void DownloadDisplay::setCancelEnabled(bool enabled)
{
    gauge_.setCancelEnabled(enabled);
}

bool DownloadDisplay::cancelled()
{
    return gauge_.cancelled();
}

PromptAnswer DownloadDisplay::ask(const QString& text, PromptSymbol symbol, PromptButtons buttons)
{
    if (gauge_.isVisible()) {
        gauge_.hide();
        hiddenForMessage_ = true;
    }
    return prompt_.ask(text, symbol, buttons);
}

void DownloadDisplay::dismiss()
{
    hiddenForMessage_ = false;
    gauge_.dismiss();
}

} // namespace qz
