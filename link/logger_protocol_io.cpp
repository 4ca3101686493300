#include "link/logger_protocol.h"
#include "link/link_texts.h"

#include <algorithm>

namespace qz {

LoggerProtocol::LoggerProtocol(const LinkSettings& settings, std::unique_ptr<LineBackend> line,
                     Clock& clock, Prompt& prompt)
    : SerialPort(std::move(line), clock), settings_(settings), prompt_(prompt)
{
    PortName = settings.port;
}

bool LoggerProtocol::Send(const std::uint8_t* frame, std::uint16_t length)
{
    notResponding_ = false;
    if (!IsOpen() || length == 0 || length > MaxFrame)
        return false;
    PurgeInput();
    PurgeOutput();
    const std::int32_t echoLimit = settings_.modemLink ? 2000 : 300;
    StartTimer(settings_.modemLink ? 60 : 8);

    std::array<std::uint8_t, MaxFrame> echo{};
    std::uint16_t sent = 0;
    std::uint16_t echoes = 0;
    while (sent < length && TimeLeft() > 0) {
        TransmitChar(frame[sent]);
        ++sent;
        if (sent == length)
            break; // the last echo is awaited below, up to the overall limit
        const std::int32_t moment = TimeLeft();
        // Paced by the echo: block until it comes, for a little over the echo limit.
        if (WaitForBytes(1, std::min<std::int64_t>(echoLimit + 1, moment)) == 0) {
            StartTimer(-1);
            return false;
        }
        std::uint8_t byte = 0;
        if (Read(&byte, 1) != 1) {
            StartTimer(-1);
            return false;
        }
        // The first two echoes are checked at the end only; from the third byte on a
        // wrong echo ends the frame, after a pause that lets the logger's parser reset.
        if (sent > 2 && byte != frame[sent - 1]) {
            StartTimer(-1);
            Delay(1000);
            return false;
        }
        echo[echoes++] = byte;
    }
    if (sent != length)
        return false;
    if (WaitForBytes(1, TimeLeft()) > 0) {
        std::uint8_t byte = 0;
        if (Read(&byte, 1) == 1)
            echo[echoes++] = byte;
    }
    return std::equal(echo.begin(), echo.begin() + echoes, frame);
}

bool LoggerProtocol::Receive(std::uint8_t* buffer, std::uint16_t length)
{
    if (!IsOpen() || length < 2)
        return false;
    StartTimer(1);
    WaitForBytes(length, TimeLeft());
    if (Read(buffer, length) < length)
        return false;
    std::uint16_t sum = 0;
    for (int i = 0; i + 2 < length; ++i)
        sum = static_cast<std::uint16_t>(sum + buffer[i]);
    return sum == buffer[length - 2] + 256 * buffer[length - 1];
}

bool LoggerProtocol::TestChecksum(const std::uint8_t* buffer, std::uint16_t lastIndex)
{
    std::uint16_t sum = 0;
    for (int i = 0; i <= lastIndex; ++i)
        sum = static_cast<std::uint16_t>(sum + buffer[i]);
    return sum == buffer[lastIndex + 1] + 256 * buffer[lastIndex + 2];
}

bool LoggerProtocol::DeviceIsOpen()
{
    if (IsOpen())
        return true;
    Open();
    if (!IsOpen())
        prompt_.tell(texts::unableToOpenPort(), PromptSymbol::Error);
    Delay(500);
    return true;
}

void LoggerProtocol::PopupDeviceNotReady()
{
    notResponding_ = true;
    prompt_.tell(texts::deviceNotResponding(), PromptSymbol::Warning);
}

bool LoggerProtocol::ConfirmConnect()
{
    return prompt_.confirm(texts::pleaseConnect(), PromptSymbol::Warning);
}

} // namespace qz
