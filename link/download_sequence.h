#pragma once
// The Download command without windows: ping the logger, read its header and recorded
// blocks into a memory image, find where the recording begins, and hand the image to
// the caller (the graph window, or the command-line tool) to accept.
#include "link/logger_protocol.h"
#include "platform/progress.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace qz {

// 384 header bytes and 508 data blocks: the largest memory a device code describes.
inline constexpr int kDownloadImageSize = 65408;

// What the receiver of a downloaded image made of it.
struct ImageAcceptance {
    bool initialized = false;  // the recording is shown (or kept)
    int measurementCount = 0;  // measurements found in the image
};

// Receives the finished image (BlocksUsed and FirstBlock written); the receiver copies
// what it keeps.
using AcceptImage = std::function<ImageAcceptance(const std::vector<std::uint8_t>& image)>;

// GetDloadData: false when nothing usable was downloaded. A cancelled download and a
// recording of fewer than two measurements are true (the latter after its message).
bool GetDloadData(LoggerProtocol& quorvant, Progress& progress, Prompt& prompt,
                  const AcceptImage& accept);

enum class DownloadOutcome {
    Accepted,      // the receiver took a recording
    NotConnected,  // the logger did not answer and the user did not ask to go on
    Failed,        // "This device is not a QuorvantZK" was shown
    Ended,         // cancelled, or too few measurements: nothing taken, no error
};

// The Download command: ping, ask to connect when there is no answer, download, and
// report a failure.
DownloadOutcome RunDownload(LoggerProtocol& quorvant, Progress& progress, Prompt& prompt,
                            const AcceptImage& accept);

// The block loop's bar position for block i: 10, 19, ..., 100 every 11 blocks.
inline int BlockBar(int i) { return (i % 11) * 9 + 10; }

} // namespace qz
