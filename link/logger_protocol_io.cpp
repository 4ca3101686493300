#include "link/logger_protocol.h"

#include "link/deadline.h"
#include "link/logger_frames.h"

#include <algorithm>
#include <array>

namespace qz {

namespace {

// Direct link and modem link: a missing logger shows within the echo limit; a modem's
// latency needs wider limits.
constexpr std::int64_t kEchoLimitMs = 300;
constexpr std::int64_t kModemEchoLimitMs = 2000;
constexpr std::int64_t kFrameLimitMs = 8000;
constexpr std::int64_t kModemFrameLimitMs = 60000;
// After a wrong echo, long enough for the logger's parser to forget the frame.
constexpr std::int64_t kParserResetMs = 1000;
constexpr std::int64_t kReplyWaitMs = 1000;
constexpr std::int64_t kSettleMs = 500;

} // namespace

LoggerProtocol::LoggerProtocol(const LinkSettings& settings, std::unique_ptr<LineBackend> line, Clock& clock)
    : port_(std::move(line), clock), settings_(settings)
{}

LinkStatus LoggerProtocol::openPort()
{
    if (port_.isOpen())
        return LinkStatus::Ok;
    const OpenResult opening = port_.open(settings_.port);
    if (!opening.opened) {
        if (openFailed_)
            openFailed_(settings_.port, opening.osError);
        return LinkStatus::CannotOpen;
    }
    return LinkStatus::Ok;
}

LinkStatus LoggerProtocol::ensureOpen()
{
    if (port_.isOpen())
        return LinkStatus::Ok;
    const LinkStatus opened = openPort();
    if (opened == LinkStatus::Ok)
        port_.delay(kSettleMs);
    return opened;
}

LinkStatus LoggerProtocol::ended(LinkStatus status)
{
    port_.endExchange(status == LinkStatus::Ok ? QString() : QString::fromLatin1(linkStatusName(status)));
    return status;
}

LinkStatus LoggerProtocol::send(const std::uint8_t* frame, std::uint16_t length)
{
    const LinkStatus status = sendFrame(frame, length);
    // A frame sent waits for its reply, or ends a write (writeExchange).
    return status == LinkStatus::Ok ? status : ended(status);
}

LinkStatus LoggerProtocol::receive(std::uint8_t* buffer, std::uint16_t length)
{
    return ended(receiveReply(buffer, length));
}

LinkStatus LoggerProtocol::sendFrame(const std::uint8_t* frame, std::uint16_t length)
{
    if (length == 0 || length > frames::kMaxFrame)
        return LinkStatus::InvalidLength;
    if (!port_.isOpen())
        return LinkStatus::PortClosed;
    port_.purge();
    const std::int64_t echoLimit = settings_.modemLink ? kModemEchoLimitMs : kEchoLimitMs;
    const Deadline frameLimit(port_.clock(), settings_.modemLink ? kModemFrameLimitMs : kFrameLimitMs);

    std::array<std::uint8_t, frames::kMaxFrame> echo{};
    std::uint16_t sent = 0;
    std::uint16_t echoes = 0;
    while (sent < length && !frameLimit.passed()) {
        port_.transmit(frame[sent]);
        ++sent;
        if (sent == length)
            break; // the last echo is awaited below, up to the frame limit
        const std::int64_t left = frameLimit.leftMs();
        // Paced by the echo: block until it comes, for a little over the echo limit.
        if (port_.waitForBytes(1, std::min(echoLimit + 1, left)) == 0)
            return left > echoLimit ? LinkStatus::NoEcho : LinkStatus::Timeout;
        std::uint8_t byte = 0;
        if (port_.read(&byte, 1) != 1)
            return LinkStatus::NoEcho;
        // The first two echoes are checked at the end only; from the third byte on a
        // wrong echo ends the frame, after a pause that lets the logger's parser reset.
        if (sent > 2 && byte != frame[sent - 1]) {
            port_.delay(kParserResetMs);
            return LinkStatus::BadEcho;
        }
        echo[echoes++] = byte;
    }
    if (sent != length)
        return LinkStatus::Timeout;
    // A missing last echo does not fail the frame: the logger has all of it.
    if (port_.waitForBytes(1, frameLimit.leftMs()) > 0) {
        std::uint8_t byte = 0;
        if (port_.read(&byte, 1) == 1)
            echo[echoes++] = byte;
    }
    return std::equal(echo.begin(), echo.begin() + echoes, frame) ? LinkStatus::Ok : LinkStatus::BadEcho;
}

LinkStatus LoggerProtocol::receiveReply(std::uint8_t* buffer, std::uint16_t length)
{
    if (length < frames::kChecksumSize)
        return LinkStatus::InvalidLength;
    if (!port_.isOpen())
        return LinkStatus::PortClosed;
    port_.waitForBytes(length, kReplyWaitMs);
    if (port_.read(buffer, length) < length)
        return LinkStatus::ShortReply;
    return frames::checksumMatches(buffer, length - 3) ? LinkStatus::Ok : LinkStatus::BadChecksum;
}

} // namespace qz
