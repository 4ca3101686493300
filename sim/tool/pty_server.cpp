#include "pty_server.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace qz::sim::tool {

namespace {
std::int64_t steadyUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
const std::int64_t kStartUs = steadyUs();
} // namespace

PtyServer::~PtyServer()
{
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

std::int64_t PtyServer::nowUs() const
{
    return steadyUs() - kStartUs;
}

bool PtyServer::open(std::string& error)
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(master_);
    if (!name) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    path_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        error = "cannot open " + path_ + ": " + std::strerror(errno);
        return false;
    }
    termios t{};
    if (::tcgetattr(slave_, &t) != 0) {
        error = std::string("cannot read the line settings: ") + std::strerror(errno);
        return false;
    }
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B19200);
    ::cfsetospeed(&t, B19200);
    t.c_cflag |= CLOCAL | CREAD;
    if (::tcsetattr(slave_, TCSANOW, &t) != 0) {
        error = std::string("cannot set raw mode: ") + std::strerror(errno);
        return false;
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    // Wake when a paced byte is due, not up to 50 us later.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    return true;
}

void PtyServer::pump()
{
    std::uint8_t in[512];
    for (;;) {
        const ssize_t n = ::read(master_, in, sizeof in);
        if (n <= 0)
            break;
        const std::int64_t t = nowUs();
        for (ssize_t i = 0; i < n; ++i)
            emulator_.receive(in[i], t);
    }
    const std::int64_t t = nowUs();
    emulator_.advanceTo(t);
    std::uint8_t out[512];
    std::int64_t n;
    while ((n = emulator_.read(out, sizeof out, t)) > 0) {
        std::int64_t done = 0;
        while (done < n) {
            const ssize_t w = ::write(master_, out + done, std::size_t(n - done));
            if (w >= 0) {
                done += w;
                continue;
            }
            if (errno == EINTR)
                continue;
            pollfd p{master_, POLLOUT, 0};
            if (errno != EAGAIN || ::poll(&p, 1, 100) <= 0)
                break; // nobody reads: the bytes are lost, as in a full input queue
        }
    }
}

std::int64_t PtyServer::waitUs(std::int64_t limitUs) const
{
    const std::int64_t next = emulator_.arrivalOf(1);
    if (next < 0)
        return limitUs;
    return std::max<std::int64_t>(0, std::min(limitUs, next - nowUs()));
}

void PtyServer::serve(const volatile std::sig_atomic_t& stop)
{
    serve(std::vector<PtyServer*>{this}, stop);
}

void PtyServer::serve(const std::vector<PtyServer*>& servers, const volatile std::sig_atomic_t& stop)
{
    std::vector<pollfd> fds;
    for (PtyServer* s : servers)
        fds.push_back({s->master_, POLLIN, 0});
    std::int64_t lastRoundUs = -1;
    while (!stop) {
        // Wake for input, for the next byte due out, and at least every 50 ms so that
        // the recorders keep their time.
        std::int64_t wait = 50000;
        for (PtyServer* s : servers)
            wait = s->waitUs(wait);
        for (pollfd& p : fds)
            p.revents = 0;
        const timespec ts{time_t(wait / 1000000), long(wait % 1000000) * 1000};
        const int r = ::ppoll(fds.data(), nfds_t(fds.size()), &ts, nullptr);
        if (r < 0 && errno != EINTR)
            break;
        // Only the loggers with input or a byte due, and every one of them now and then
        // for its recorder: with many loggers, a byte of one wakes the loop often.
        const std::int64_t now = servers.front()->nowUs();
        const bool round = lastRoundUs < 0 || now - lastRoundUs >= 50000;
        if (round)
            lastRoundUs = now;
        for (std::size_t i = 0; i < servers.size(); ++i) {
            if (round || (fds[i].revents & POLLIN) || servers[i]->waitUs(1) == 0)
                servers[i]->pump();
        }
    }
}

} // namespace qz::sim::tool
