#pragma once
// The logger's state as the Logger status window shows it, from a device read: model,
// serial number, run state, its clock (with the year worked out) and how far it is from
// this computer's, the battery, the recording's interval, the memory used and when it will
// be full.
#include "config/recording_plan.h"
#include "jobs/device_read_job.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace qz {

class DeviceCatalog;

struct LoggerStatus {
    QString model; // the catalogue's description, or why it is not accepted
    QString serial;
    std::uint8_t runState = 0;
    QDateTime loggerClock; // invalid when the clock record holds no time
    QDateTime host; // this computer's time when the clock was read
    std::optional<qint64> driftSeconds; // the logger's clock less this computer's
    int battery = -1; // converter count; -1 when not read
    QString comment;
    RecordingPlan plan; // from the start the logger keeps
    // Blocks written by now (recording: from its clock, start and interval); none while
    // stopped, when only a download can tell.
    std::optional<int> usedBlocks;
};

LoggerStatus loggerStatus(const DeviceReadResult& read, const DeviceCatalog& catalog);

// "waiting to start", "recording", "stopped".
QString runStateText(std::uint8_t state);

// The window's lines: label and text, in order.
QList<std::pair<QString, QString>> statusLines(const LoggerStatus& status);

} // namespace qz
