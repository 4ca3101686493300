#pragma once
// The Download command without windows: ping the logger, read its header and recorded
// blocks into a memory image, find where the recording begins, and hand the image to
// the caller (the graph window, or the command-line tool) to accept.
#include "link/logger_protocol.h"
#include "platform/progress.h"
#include "platform/prompt.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace qz {

class LinkReport;

// What the receiver of a downloaded image made of it.
struct ImageAcceptance {
    bool initialized = false;  // the recording is shown (or kept)
    int measurementCount = 0;  // measurements found in the image
};

// Receives the finished image (mem::kImageSize bytes, BlocksUsed and FirstBlock written);
// the receiver copies what it keeps.
using AcceptImage = std::function<ImageAcceptance(const std::vector<std::uint8_t>& image)>;

// What the download after the ping came to.
enum class DownloadEnd {
    Accepted,      // the receiver took a recording
    Ended,         // cancelled, or too few measurements (after their message)
    NothingUsable, // the link failed (after its message), no block passed, or the receiver refused
};

// Reads the header and the recorded blocks and hands the image to accept. Link failures,
// impossible dates and a recording too short to show are told through report.
DownloadEnd downloadRecording(LoggerProtocol& protocol, Progress& progress, LinkReport& report,
                              const AcceptImage& accept);

enum class DownloadOutcome {
    Accepted,      // the receiver took a recording
    NotConnected,  // the logger did not answer and the user did not ask to go on
    Failed,        // "This device is not a QuorvantZK" was shown
    Ended,         // cancelled, or too few measurements: nothing taken, no error
};

// The Download command: ping, ask to connect when there is no answer, download, and
// report a failure.
DownloadOutcome runDownload(LoggerProtocol& protocol, Progress& progress, Prompt& prompt,
                            const AcceptImage& accept);

// The block loop's bar position for block i: 10, 19, ..., 100 every 11 blocks.
inline int blockBar(int i) { return (i % 11) * 9 + 10; }

} // namespace qz
