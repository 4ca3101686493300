#pragma once
// LoggerProtocol: the logger's command language over the serial port. Frame builders, Send
// with its echo check, Receive with its checksum, and the transactions built on them.
// A transaction tries up to five times and tells the user once when it gives up.
#include "link/serial_port.h"
#include "link/link_settings.h"
#include "platform/prompt.h"

#include <array>
#include <cstdint>
#include <memory>

namespace qz {

class LoggerProtocol : public SerialPort {
public:
    // Longest frame the program sends: 7 header bytes and 256 data bytes.
    static constexpr std::uint16_t MaxFrame = 263;
    static constexpr int Attempts = 5;

    LoggerProtocol(const LinkSettings& settings, std::unique_ptr<LineBackend> line, Clock& clock,
              Prompt& prompt);

    // Frame builders: each writes the frame from byte 0 of frame and returns its length.
    static std::uint16_t SetResetMsg(std::uint8_t* frame);
    static std::uint16_t SetReserveMsg(std::uint8_t* frame);
    static std::uint16_t SetTimeMsg(std::uint8_t* frame); // caller lays the clock at 4..19
    static std::uint16_t GetBlocMsg(std::uint8_t* frame, std::uint16_t address, std::uint8_t count);
    static std::uint16_t GetIdentMsg(std::uint8_t* frame);
    static std::uint16_t GetProgramMsg(std::uint8_t* frame);
    static std::uint16_t GetChannelDataMsg(std::uint8_t* frame);
    static std::uint16_t GetTimeMsg(std::uint8_t* frame);
    static std::uint16_t GetRealTimeACDataMsg(std::uint8_t* frame);
    static std::uint16_t GetRealTimeDCDataMsg(std::uint8_t* frame);
    // Header only (7); the caller appends the data bytes at byte 7.
    static std::uint16_t SetBlocMsg(std::uint8_t* frame, std::uint16_t address, std::uint8_t count);

    // Sends a frame byte by byte, each echoed by the logger before the next goes out.
    bool Send(const std::uint8_t* frame, std::uint16_t length);
    // Collects a reply of length bytes (data + 16-bit sum) within a second; true when all
    // came and the sum matches.
    bool Receive(std::uint8_t* buffer, std::uint16_t length);
    static bool TestChecksum(const std::uint8_t* buffer, std::uint16_t lastIndex);

    // Opens the port when it is closed ("Unable to open com port" when it does not open),
    // then settles for 500 ms. Always true: a closed port shows up as a failing Send.
    bool DeviceIsOpen();
    void PopupDeviceNotReady();
    bool ConfirmConnect();
    bool NotResponding() const { return notResponding_; }
    const LinkSettings& Settings() const { return settings_; }

    // Transactions.
    bool Ping();
    bool ReadIdent(std::uint8_t* out8);
    bool ReadCalibration(std::uint8_t* out32);
    bool ReadProgram(std::uint8_t* out88);
    bool ReadInputTable(std::uint8_t* out256);
    bool ReadClock(std::uint8_t* out16);
    bool ReadRealTimeAC(std::uint8_t* out9);
    bool ReadRealTimeDC(std::uint8_t* out9);
    // Battery converter count 0..255, or -1 when the read failed.
    int ReadBatteryCount();
    bool GetDataBloc(int block, std::uint8_t* out128);
    // Reads 128 bytes anywhere, without a message on failure.
    bool DataHex(std::uint16_t address, std::uint8_t* out128);
    bool WriteProgram(const std::uint8_t* program88);
    bool WriteInputTable(const std::uint8_t* table256);
    bool SetDataBloc(int block, const std::uint8_t* data128);
    bool WriteClock(const std::uint8_t* clock16);
    bool ResetLogger();
    // Stops a recording by rewriting the clock with run state 0. False, with nothing
    // sent, when the clock could not be read first.
    bool StopLogger();
    // True when the logger holds the given program block, rewriting it up to 3 times.
    bool VerifyProgram(const std::uint8_t* program88);
    // 0 stopped, 1 recording or waiting for a delayed start, 2 not answering.
    int ReadRunState();
    bool IsRecording();
    // Whether a data block's header is plausible.
    static bool CheckData(const std::uint8_t* block128);

    // Memory address of data block k (taken modulo 65536).
    static std::uint16_t BlockAddress(int block)
    {
        return static_cast<std::uint16_t>(384 + 128 * block);
    }

private:
    // One read exchange with its attempts; out is written only on success.
    bool readExchange(const std::uint8_t* frame, std::uint16_t frameLength, std::uint8_t* out,
                      std::uint16_t dataLength, bool tellFailure);
    // One write exchange with its attempts.
    bool writeExchange(const std::uint8_t* frame, std::uint16_t frameLength, int attempts);

    LinkSettings settings_;
    Prompt& prompt_;
    bool notResponding_ = false;
};

} // namespace qz
