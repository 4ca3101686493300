#pragma once
// What every logger job returns beside what it read: what it found on the way, the
// logger's clock next to the host's, the link failure it stopped on, and the question it
// left open.
//
// A job never asks. Where the user has a say, the caller decides before the job runs (a
// policy) or afterwards: a question the job left open is answered either by running the
// job again with the answer as policy (nothing was sent to the logger yet) or by a function
// applied to the result (what was read is in it; reading it again would be wrong).
#include "link/link_failure.h"
#include "model/memory_image.h"
#include "platform/message.h"

#include <QDateTime>
#include <QList>

#include <array>
#include <cstdint>

namespace qz {

// A choice made before the job runs: leave it to the user (the job stops with the
// question open), or already made.
enum class Decision {
    Ask,
    Yes,
    No
};

enum class Question {
    None,
    Connect, // "Please Connect The Quorvant": run again, without a ping (or, for Stop, with one)
    KeepPartial, // a damaged block ended the recording: keepPartRead() on the result
    SaveUnknownModel, // the catalogue does not know the model: the image is in the result
    RestartRecording, // the logger records: run again with the restart allowed
    ConfirmStop, // the logger runs: run again with the stop confirmed
};

enum class FindingKind {
    ImpossibleDate, // blocks whose stamp is no date (taken): how many, and the first
    DamagedBlock, // the block that ended the recording (the part before it kept)
    BatteryLow, // the battery count at or below 3.3 V
    BlocksMissed, // blocks a raw dump did not get: how many, of how many
};

struct Finding {
    FindingKind kind = FindingKind::ImpossibleDate;
    int count = 1;
    int first = 0; // the first place found (a block), or the value (a battery count)
    int of = 0; // BlocksMissed: the blocks of the memory

    bool operator==(const Finding&) const = default;
};

using Findings = QList<Finding>;

// A clock read of the logger and the host's local time when its reply came.
struct ClockReading {
    std::array<std::uint8_t, mem::kClockRecordSize> logger{};
    QDateTime host;

    bool read() const { return host.isValid(); }
    std::uint8_t runState() const { return logger[mem::kRunState]; }
};

struct JobResult {
    Findings findings;
    ClockReading clock; // the job's last clock read (the ping is one)
    LinkFailure link; // the failure the job stopped on
    Question question = Question::None;
};

// Counts one more place for a finding of this kind (a new finding at the first).
void addFinding(Findings& findings, FindingKind kind, int place);

// Each finding's message, in the order they were found: a finding that repeats is told once
// with its count and first place.
Messages findingMessages(const Findings& findings);

} // namespace qz
