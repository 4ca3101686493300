// quorzk-sim: an emulated logger on a pseudo-terminal, for trying the program and the
// command-line tool without a logger, and for the serial tests.
#include "options.h"
#include "pty_server.h"

#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

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

    // One logger, or a fleet of them: each with its own serial number and noise.
    const int count = options.fleet > 0 ? options.fleet : 1;
    std::vector<std::unique_ptr<Emulator>> emulators;
    std::vector<std::unique_ptr<tool::PtyServer>> servers;
    for (int i = 0; i < count; ++i) {
        EmulatorOptions eo = options.emulator;
        MemoryPreset memory = options.memory;
        if (options.fleet > 0) {
            eo.seed += std::uint64_t(i);
            memory.serial = tool::fleetSerial(i, options.memory.serial);
        }
        auto emulator = std::make_unique<Emulator>(eo);
        if (options.battery >= 0)
            emulator->logger().sensors().setBatteryCount(options.battery);
        loadMemory(emulator->logger(), memory);
        if (options.setClock)
            emulator->logger().setClock(options.clock);
        for (const Fault& f : options.faults)
            emulator->addFault(f);
        emulator->setByteErrors(options.byteErrorRate, options.byteErrorSeed);
        emulator->setSilent(options.silent);
        auto server = std::make_unique<tool::PtyServer>(*emulator);
        if (!server->open(error)) {
            std::fprintf(stderr, "quorzk-sim: %s\n", error.c_str());
            return 1;
        }
        emulators.push_back(std::move(emulator));
        servers.push_back(std::move(server));
    }

    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::vector<tool::PtyServer*> all;
    for (const auto& s : servers) {
        std::printf("%s\n", s->devicePath().c_str());
        all.push_back(s.get());
    }
    std::fflush(stdout);
    tool::PtyServer::serve(all, gStop);
    return 0;
}
