#include "link/device_line.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace qz {

namespace {

std::int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

DeviceLine::~DeviceLine()
{
    close();
}

bool DeviceLine::refuse(int fd)
{
    openError_ = lastError_ = errno;
    if (fd >= 0)
        ::close(fd);
    return false;
}

bool DeviceLine::open(const QString& name)
{
    if (fd_ >= 0)
        return false;
    openError_ = 0;
    if (name.isEmpty()) {
        openError_ = ENOENT;
        return false;
    }
    const QByteArray path = QFile::encodeName(name);
    int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refuse(fd);
    // Exclusive use, as the logger link needs: a second program on the same port would
    // steal echoes.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return refuse(fd);
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return refuse(fd);
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    // Closing the port must leave DTR up: a modem set to hang up when DTR drops would
    // end the call between the dialer and the logger commands, which open the port
    // each in turn. The dialer hangs up with its own commands.
    tio.c_cflag &= ~static_cast<tcflag_t>(HUPCL);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    // Non-blocking reads then report "nothing yet" as EAGAIN, not as an end of file.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, B19200);
    ::cfsetospeed(&tio, B19200);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        return refuse(fd);
    ::ioctl(fd, TIOCEXCL);
    fd_ = fd;
    rx_.clear();
    rxHead_ = 0;
    ::tcflush(fd_, TCIOFLUSH);
    return true;
}

void DeviceLine::close()
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
    rx_.clear();
    rxHead_ = 0;
}

bool DeviceLine::raiseDtr()
{
    if (fd_ < 0)
        return false;
    int bits = TIOCM_DTR;
    if (::ioctl(fd_, TIOCMBIS, &bits) != 0) {
        lastError_ = errno; // ENOTTY on a pseudo-terminal: no modem lines there
        return false;
    }
    return true;
}

std::int64_t DeviceLine::write(const std::uint8_t* data, std::int64_t count)
{
    if (fd_ < 0 || count < 0)
        return -1;
    std::int64_t done = 0;
    const std::int64_t deadline = nowMs() + 1000;
    while (done < count) {
        const ssize_t n = ::write(fd_, data + done, static_cast<size_t>(count - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            lastError_ = errno;
            return done > 0 ? done : -1;
        }
        const std::int64_t left = deadline - nowMs();
        if (left <= 0)
            break;
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
    return done;
}

bool DeviceLine::drain()
{
    if (fd_ < 0)
        return false;
    if (rxHead_ > 0 && rxHead_ == rx_.size()) {
        rx_.clear();
        rxHead_ = 0;
    }
    std::uint8_t chunk[512];
    for (;;) {
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n > 0) {
            rx_.insert(rx_.end(), chunk, chunk + n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno == EAGAIN)
            return true;
        lastError_ = errno;
        return false; // the other side is gone (EIO on a closed pseudo-terminal)
    }
}

std::int64_t DeviceLine::bytesWaiting()
{
    if (fd_ < 0)
        return 0;
    drain();
    return queued();
}

std::int64_t DeviceLine::waitForBytes(std::int64_t count, std::int64_t timeoutMs)
{
    if (fd_ < 0)
        return 0;
    const std::int64_t deadline = nowMs() + (timeoutMs > 0 ? timeoutMs : 0);
    for (;;) {
        const bool alive = drain();
        if (queued() >= count || !alive)
            return queued();
        const std::int64_t left = deadline - nowMs();
        if (left <= 0)
            return queued();
        pollfd p{fd_, POLLIN, 0};
        const int r = ::poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno != EINTR) {
            lastError_ = errno;
            return queued();
        }
        if (r > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) && !(p.revents & POLLIN)) {
            // Nobody on the other side (a closed pseudo-terminal): nothing more will
            // come, so sleep out the wait instead of polling a line that never blocks.
            const std::int64_t rest = deadline - nowMs();
            if (rest > 0)
                ::poll(nullptr, 0, static_cast<int>(rest));
            return queued();
        }
    }
}

std::int64_t DeviceLine::read(std::uint8_t* data, std::int64_t count)
{
    if (fd_ < 0 || count < 0)
        return -1;
    drain();
    const std::int64_t n = std::min(count, queued());
    if (n > 0) {
        std::memcpy(data, rx_.data() + rxHead_, static_cast<size_t>(n));
        rxHead_ += static_cast<std::size_t>(n);
    }
    return n;
}

void DeviceLine::purge()
{
    if (fd_ < 0)
        return;
    ::tcflush(fd_, TCIOFLUSH);
    rx_.clear();
    rxHead_ = 0;
}

} // namespace qz
