#pragma once
// What a configured logger will do, in the user's words: when it starts, how often it
// measures, and when its memory is full (or that it records cyclically). Worked out from
// the device image as sent and the start, the way the logger fills its memory: one
// measurement of every recorded input per interval, a block of 120 bytes holding whole
// measurements only.
#include "model/byte_view.h"

#include <QDateTime>
#include <QString>

namespace qz {

struct RecordingPlan {
    QString serial;
    QDateTime start;
    int intervalSeconds = 0;
    bool cyclic = false;
    int blocks = 0; // of the memory
    int recordsPerBlock = 0;
    // The last measurement that fits (start + every record of the memory x interval).
    QDateTime full;
};

RecordingPlan recordingPlan(ConstByteView deviceImage, const QDateTime& start);

// "10 s", "5 min", "1 min 30 s", "60 min".
QString intervalText(int seconds);
// "14:00" on the day of now, "2026-12-10 14:00" on another; ":ss" after a time that
// is not on a whole minute.
QString instantText(const QDateTime& when, const QDateTime& now);

// "SIM1 configured: starts 14:00, every 5 min, memory full on 2027-01-05", or
// "... every 10 s, cyclic recording".
QString configuredText(const RecordingPlan& plan, const QDateTime& now);

} // namespace qz
