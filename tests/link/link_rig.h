#pragma once
// A protocol object on the scripted logger, with a virtual clock and a recording prompt.
#include "fake_logger.h"
#include "link/logger_protocol.h"
#include "platform/progress.h"
#include "support/link_teller.h"
#include "support/print_link.h"
#include "support/print_qt.h"
#include "support/recording_prompt.h"
#include "support/virtual_clock.h"

#include <memory>
#include <vector>

namespace qz::test {

// A protocol object with what a logger command tells of its link beside it.
struct Session {
    Session(std::unique_ptr<LoggerProtocol> p, Prompt& prompt)
        : protocol(std::move(p)), report(*protocol, prompt)
    {}
    LoggerProtocol* operator->() { return protocol.get(); }
    LoggerProtocol& operator*() { return *protocol; }

    std::unique_ptr<LoggerProtocol> protocol;
    LinkTeller report;
};

struct LinkRig {
    VirtualClock clock;
    RecordingPrompt prompt;
    FakeLoggerState logger;

    std::unique_ptr<LoggerProtocol> make(bool modem = false, const QString& port = "fake")
    {
        return std::make_unique<LoggerProtocol>(LinkSettings{port, modem},
                                                std::make_unique<FakeLoggerLine>(logger, clock), clock);
    }
    Session open(bool modem = false) { return Session(make(modem), prompt); }
    // Frames the logger saw with this command letter.
    int framesOf(char letter) const
    {
        int n = 0;
        for (const auto& f : logger.frames)
            n += f.size() > 3 && f[3] == letter;
        return n;
    }
};

// A progress display that keeps what it was shown and cancels on request.
class RecordingProgress final : public Progress {
public:
    void setCaption(const QString& c) override { caption = c; }
    void setMaximum(int m) override { maximum = m; }
    void setPosition(int p) override { positions.push_back(p); }
    void setCancelEnabled(bool e) override { cancelEnabled.push_back(e); }
    void setText(const QString& t) override { texts.push_back(t); }
    bool cancelled() override { return ++cancelChecks == cancelAt; }

    QString caption;
    std::vector<QString> texts;
    int maximum = 0;
    std::vector<int> positions;
    std::vector<bool> cancelEnabled;
    int cancelChecks = 0;
    int cancelAt = -1; // the cancel test that answers true
};

} // namespace qz::test
