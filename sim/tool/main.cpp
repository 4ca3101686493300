// quorzk-sim: an emulated logger on a pseudo-terminal, for trying the program and the
// command-line tool without a logger, and for the serial tests.
#include "options.h"
#include "pty_server.h"

#include <csignal>
#include <cstdio>

namespace {
volatile std::sig_atomic_t gStop = 0;
extern "C" void onSignal(int)
{
    gStop = 1;
}
} // namespace

int main(int argc, char** argv)
{
    using namespace qz::sim;
    tool::Options options;
    std::string error;
    if (!tool::parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quorzk-sim: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(tool::helpText().c_str(), stdout);
        return 0;
    }

    Emulator emulator(options.emulator);
    if (options.battery >= 0)
        emulator.logger().sensors().setBatteryCount(options.battery);
    loadMemory(emulator.logger(), options.memory);
    if (options.setClock)
        emulator.logger().setClock(options.clock);
    for (const Fault& f : options.faults)
        emulator.addFault(f);
    emulator.setByteErrors(options.byteErrorRate, options.byteErrorSeed);
    emulator.setSilent(options.silent);

    tool::PtyServer server(emulator);
    if (!server.open(error)) {
        std::fprintf(stderr, "quorzk-sim: %s\n", error.c_str());
        return 1;
    }

    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::printf("%s\n", server.devicePath().c_str());
    std::fflush(stdout);
    server.serve(gStop);
    return 0;
}
