#pragma once
// What the download shows while it runs: a bar that only moves forward (the header's
// areas take its first steps, every block one step after them) and the line "Block 37 of
// 508, 2:05 left". The time left is what reading to the end of the memory still takes at
// the pace of the blocks read so far; the recording may end earlier, at an erased block.
#include "platform/clock.h"
#include "platform/progress.h"

#include <cstdint>

namespace qz {

class DownloadProgress {
public:
    static constexpr int kMaximum = 1000;
    static constexpr int kHeaderSteps = 3; // calibration, program, input table

    DownloadProgress(Progress& progress, Clock& clock) : progress_(progress), clock_(clock) {}

    // The caption, an empty bar and Cancel.
    void begin();
    // Header area step (1 .. kHeaderSteps) has been reached.
    void header(int step);
    // Block index (0-based) of count is about to be read.
    void block(int index, int count);
    // The full bar.
    void end();
    bool cancelled() { return progress_.cancelled(); }

private:
    void moveTo(int position);

    Progress& progress_;
    Clock& clock_;
    int position_ = 0;
    std::int64_t firstBlockMs_ = 0;
};

// "Block 37 of 508", with ", 2:05 left" (or ", 1:02:05 left") when secondsLeft >= 0.
QString blockProgressText(int block, int count, std::int64_t secondsLeft);

} // namespace qz
