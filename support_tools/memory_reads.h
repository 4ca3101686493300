#pragma once
// What the memory panel and the hexdump command read: logger memory 128 bytes at a time,
// the logger's clock record, and bytes of a recording file at an image address.
#include "link/logger_protocol.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace qz {

struct LoggerBytes {
    std::vector<std::uint8_t> bytes; // what came, in order, before any failure
    LinkStatus status = LinkStatus::Ok;
};

// length bytes from address on, read 128 at a time (addresses wrap at 65536); ends at the
// first read that fails, whose status it keeps. Tells the user nothing.
LoggerBytes readLoggerBytes(LoggerProtocol& protocol, std::uint16_t address, int length);

// "Device Not Responding: no bytes at 0080" for a read that failed at address.
QString failedReadLine(LinkStatus status, std::uint32_t address);

struct FileBytes {
    std::vector<std::uint8_t> bytes; // fewer than asked for near the end of the file
    bool ok = false; // false: the file did not open or read
    QString reason; // the system's text then
};

// Up to length bytes at image address (file offset: the signature's 8 bytes + address).
FileBytes readFileBytes(const QString& path, std::uint32_t address, int length);

// "End of file after N bytes" when fewer bytes came than were asked for.
QString endOfFileLine(std::size_t obtained);

} // namespace qz
