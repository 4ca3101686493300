#pragma once
// The Download command without windows: ping the logger, read its header and recorded
// blocks into a memory image, find where the recording begins, and hand the image to
// the caller (the graph window, or the command-line tool) to accept.
//
// What is never taken for a recording: an area read differently each time (verified
// download: the header and every block are read twice), a damaged block (not erased, but its header is implausible or its stamp
// does not continue the recording; re-read first, and the part before it is kept only
// when the user says so), blocks that were never read (a ring that stops early declares
// the blocks read, from the oldest of them).
#include "link/logger_protocol.h"
#include "platform/progress.h"
#include "platform/prompt.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace qz {

class LinkReport;

// What the receiver of a downloaded image made of it.
enum class ImageUse {
    Shown, // taken as a recording
    TooFewMeasurements, // fewer than two measurements
    UnknownModel, // the catalogue does not accept the logger's model
};

// Receives the finished image (mem::kImageSize bytes, BlocksUsed and FirstBlock written);
// the receiver copies what it keeps.
using AcceptImage = std::function<ImageUse(const std::vector<std::uint8_t>& image)>;
// Saves an image whose model the catalogue does not know, as it is; true when saved (a
// failure is told by the saver).
using SaveImage = std::function<bool(const std::vector<std::uint8_t>& image)>;

struct DownloadReceiver {
    DownloadReceiver() = default;
    DownloadReceiver(AcceptImage a, SaveImage s = {}) : accept(std::move(a)), saveAnyway(std::move(s)) {}

    AcceptImage accept;
    SaveImage saveAnyway;
};

// A choice the download may have to make: ask the user, or already made.
enum class Decision {
    Ask,
    Yes,
    No
};

struct DownloadOptions {
    // The header and every block read twice (and a third time on a tie): about twice
    // the time.
    bool verify = false;
    // Keep the blocks read before a damaged block.
    Decision keepPartial = Decision::Ask;
    // Save an image whose model the catalogue does not know.
    Decision saveUnknownModel = Decision::Ask;
};

// What the download after the ping came to.
enum class DownloadEnd {
    Accepted, // the receiver took a recording
    Ended, // cancelled, or too few measurements (after their message)
    NothingUsable, // no block passed
    Stopped, // a failure was told (link, unsteady block, a save that failed)
    PartNotKept, // a damaged block was told and the part before it not kept
    ModelRefused, // the model is unknown and the image was not saved (after the message)
    SavedAnyway, // the model is unknown; the image was saved as it is
};

// Reads the header and the recorded blocks and hands the image to the receiver. Link
// failures, damaged and unsteady blocks, impossible dates, a recording too short to show
// and an unknown model are told through report.
DownloadEnd downloadRecording(LoggerProtocol& protocol, Progress& progress, LinkReport& report,
                              const DownloadOptions& options, const DownloadReceiver& receiver);

enum class DownloadOutcome {
    Accepted, // the receiver took a recording
    NotConnected, // the logger did not answer and the user did not ask to go on
    Failed, // "This device is not a QuorvantZK" was shown
    Ended, // cancelled, or too few measurements: nothing taken, no error
    Stopped, // a failure was told (the port, the link, an unsteady block): nothing taken
    PartNotKept, // a damaged block ended the recording and the part before it was not kept
    SavedAnyway, // the model is unknown to the catalogue; the image was saved as it is
};

// The Download command: ping, ask to connect when there is no answer, download, and
// report a failure.
DownloadOutcome runDownload(LoggerProtocol& protocol, Progress& progress, Prompt& prompt,
                            const DownloadOptions& options, const DownloadReceiver& receiver);

} // namespace qz
