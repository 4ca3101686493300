#pragma once
// A long operation's progress display with an optional Cancel: the progress dialog in the
// program, a terminal line in the command-line tool, a script in tests.
#include <QString>

namespace qz {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void setCaption(const QString& caption) = 0;
    virtual void setMaximum(int maximum) = 0;
    virtual void setPosition(int position) = 0;
    virtual void setCancelEnabled(bool enabled) = 0;
    // A line under the bar saying where the operation stands ("Block 37 of 508, ..."); an
    // empty text clears it. Displays without room for it ignore it.
    virtual void setText(const QString& text) { (void)text; }
    // True once the user asked to cancel; pending events are processed first.
    virtual bool cancelled() = 0;
};

// No display and no Cancel: for output that must stay clean.
class NullProgress final : public Progress {
public:
    void setCaption(const QString&) override {}
    void setMaximum(int) override {}
    void setPosition(int) override {}
    void setCancelEnabled(bool) override {}
    bool cancelled() override { return false; }
};

} // namespace qz
