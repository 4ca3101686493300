#pragma once
// A stored range of a logger's recording as a memory image, so that the graph draws it as it
// draws a recording read from the logger: the recording's own header, then its
// measurements laid into data blocks from block 0 on, each block stamped one step before
// its first.
//
// What is drawn is the newest run of consecutive measurements in the range: a gap (the
// ring overwrote measurements, or none were taken) is never bridged with values. A run
// longer than the logger's memory holds is drawn by the lowest and the highest value of
// each input in each stretch of time, in the order they came: every curve keeps its
// extremes and its shape, and the picture (a few measurements to a pixel) is the same.
#include "store/fleet_store.h"

#include <QByteArray>

#include <optional>

namespace qz {

struct StoredImage {
    QByteArray image; // empty: nothing to draw (see error)
    QString error;
    LoggerSeconds first = 0; // the run drawn: its first and last measurement
    LoggerSeconds last = 0;
    std::int64_t measurements = 0; // in the run (records)
    int perRecord = 1; // measurements behind each record drawn (1: all of them as they are)
    bool cut = false; // an earlier part of the range was left out at a gap
};

StoredImage storedImage(FleetStore& store, const StoredRecording& recording, LoggerSeconds from,
                        LoggerSeconds to);

} // namespace qz
