#pragma once
// The configuration's rules over the 400-byte device image (header and clock record, see
// model/memory_image.h): the interval fields, the interval limits, storing an accepted
// configuration, and the recording duration the memory allows.
#include "model/byte_view.h"

#include <QString>

namespace qz {

// What leaving an interval field makes of its text: an empty field "00", one character
// with a '0' in front, a value above max (60 for minutes, 59 for seconds) max itself.
QString intervalFieldExit(const QString& text, int max);

enum class IntervalCheck {
    Ok,
    TooLong, // above 3600 s
    NotMultiple, // 0, or not a multiple of the sampling interval
};
IntervalCheck checkInterval(int totalSeconds, int samplingInterval);
// The refusal's message; samplingText is the sampling selector's text ("1").
QString intervalRefusal(IntervalCheck check, const QString& samplingText);

// How the recording ends: when the memory is full, or cyclic (the oldest blocks are
// overwritten). Unchanged leaves the logger's own choice.
enum class StopChoice {
    MemoryFull,
    Cyclic,
    Unchanged
};

struct ConfigurationEntry {
    int intervalSeconds = 0;
    int samplingInterval = 1;
    QString comment; // padded or cut to the 50 characters of the field
    StopChoice stop = StopChoice::Unchanged;
};

// The comment as the dialog's field holds it: exactly 50 characters, blank-padded.
QString commentField(const QString& text);

// Stores an accepted configuration into the image: the interval (with the sampling
// period and its reload), the comment, the stop mode, and a recording memory emptied
// (BlocksUsed, FirstBlock and the two reset words 0). The sampling interval is stored
// first, also when the interval is refused; nothing else is stored then.
IntervalCheck storeConfiguration(ByteView deviceImage, const ConfigurationEntry& entry);

// Seconds of recording the memory holds: blocks x 120 samples x interval / inputs, with an
// input count outside 1..8 taken as 1.
long long recordingSeconds(int blocks, int inputCount, int intervalSeconds);
// "42 Days  8 Hours  0 Min" (remaining seconds are dropped).
QString recordingDurationText(long long seconds);
// The duration text of the configuration the image holds.
QString recordingDurationText(ConstByteView deviceImage);

} // namespace qz
