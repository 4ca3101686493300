#pragma once
// Serves an Emulator on a pseudo-terminal: the far end (the slave device) behaves as a
// serial port with a logger on it. The slave is put in raw mode (no echo, no line
// editing, no CR/LF translation) and kept open here, so a client may close and reopen
// the device without the server seeing a hang-up.
#include "sim/emulator.h"

#include <csignal>
#include <string>
#include <vector>

namespace qz::sim::tool {

class PtyServer {
public:
    explicit PtyServer(Emulator& emulator) : emulator_(emulator) {}
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pseudo-terminal; false with a message in error.
    bool open(std::string& error);
    const std::string& devicePath() const { return path_; }

    // Serves until stop becomes non-zero (set from a signal handler).
    void serve(const volatile std::sig_atomic_t& stop);
    // Serves several loggers, each on its own pseudo-terminal, at once.
    static void serve(const std::vector<PtyServer*>& servers, const volatile std::sig_atomic_t& stop);

private:
    std::int64_t nowUs() const;
    void pump();
    // Microseconds until this logger next needs serving (a byte due out), at most limitUs.
    std::int64_t waitUs(std::int64_t limitUs) const;

    Emulator& emulator_;
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

} // namespace qz::sim::tool
