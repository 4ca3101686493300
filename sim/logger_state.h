#pragma once
// A simulated logger kept between runs of the programs: its whole state as bytes, with the
// moment it was saved, so that it can run on for the time that passed meanwhile.
//
// The bytes: "QZSIMLOG", a format number, the state, and a SHA-256 of all before it. Bytes
// that are cut, changed or of another format read as Damaged, and so does a state no
// logger can be in (a recorder that would write outside its blocks, a clock outside
// 2000..2099), so a saved state never makes the logger write where it must not.
#include "sim/logger.h"

#include <QByteArray>

#include <cstdint>

namespace qz::sim {

struct SavedLogger {
    LoggerState logger;
    std::int64_t savedAtMs = 0; // milliseconds since 1970 (UTC) on the saving computer's clock
};

enum class SavedLoggerStatus {
    Read,
    Damaged,
};

struct SavedLoggerRead {
    SavedLoggerStatus status = SavedLoggerStatus::Damaged;
    SavedLogger saved;
};

QByteArray encodeSavedLogger(const SavedLogger& saved);
SavedLoggerRead decodeSavedLogger(const QByteArray& bytes);

} // namespace qz::sim
