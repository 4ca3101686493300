#pragma once
// The simulated logger the programs share: the desktop program's "Simulated logger" and
// quorzk-cli's --port sim are one logger, kept in a state file of the user's cache folder
// (simulated-logger in XDG_CACHE_HOME/quorzk, usually ~/.cache/quorzk), so that what one
// command or window sends to it, the next one finds.
//
// A session runs from a line's open to its close. Opening takes the logger for this
// process (a lock file beside the state file, so a second program finds the line "In use"
// as it would a serial device, after waiting a little for the other to finish), reads the
// state and runs the logger on for the real time that passed since it was saved: its clock
// runs with the computer's and it records while it is set to. Closing saves the state,
// through a temporary file and a rename, when the session changed the logger (a reset, a
// write, a clock record) or the saved state is an hour old, and gives the lock back. A
// logger that was only read needs no save: running it on from the older state gives the
// same logger.
//
// A missing state file gives a fresh logger (sim/presets.h), and so does a damaged one,
// with a warning. When the state cannot be saved (a read-only cache folder) the logger is
// kept in this process only, with one warning.
#include "link/line_backend.h"
#include "platform/clock.h"
#include "sim/emulator.h"
#include "sim/logger_state.h"

#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QLockFile;

namespace qz::sim {

enum class SessionStatus {
    Opened,
    InUse, // another session has it, in this process or another
};

class StoredLogger {
public:
    // An empty stateFile keeps the logger in this process only.
    StoredLogger(QString stateFile, Clock& clock);
    ~StoredLogger();
    StoredLogger(const StoredLogger&) = delete;
    StoredLogger& operator=(const StoredLogger&) = delete;

    // The state file in the user's cache folder; empty when there is no cache folder.
    static QString defaultStateFile();
    const QString& stateFile() const { return stateFile_; }

    // Told each warning (a damaged state file replaced, a state that cannot be saved); it
    // may be called on the thread of the session.
    void onWarning(std::function<void(const QString&)> warn) { warn_ = std::move(warn); }
    // How long an open waits for another program's session to end.
    void setLockWaitMs(int ms) { lockWaitMs_ = ms; }
    // The next session begins with a fresh logger.
    void resetAtNextOpen() { reset_ = true; }

    SessionStatus open();
    // The logger of the open session.
    Emulator& emulator() { return *emulator_; }
    bool isOpen() const { return emulator_ != nullptr; }
    void close();

    // A line on this logger: its open opens a session (failing with EWOULDBLOCK, "In use
    // by another program", when it is taken), its close ends it. Line time is the clock's.
    std::unique_ptr<LineBackend> makeLine();

private:
    SavedLogger load(bool& fresh);
    SavedLogger fresh() const;
    void save(const SavedLogger& saved);
    void warn(const QString& text) const;
    std::int64_t nowMs() const;

    QString stateFile_;
    Clock& clock_;
    std::function<void(const QString&)> warn_;
    int lockWaitMs_ = 3000;
    bool reset_ = false;

    std::mutex inUse_; // one session at a time in this process
    std::unique_ptr<QLockFile> lock_; // and across processes
    std::unique_ptr<Emulator> emulator_;
    bool mustSave_ = false;
    std::int64_t loadedSavedAtMs_ = 0;
    // The last state of this process, for when the file cannot hold it.
    std::optional<SavedLogger> kept_;
    bool keptUnsaved_ = false;
    bool saveWarned_ = false;
};

} // namespace qz::sim
