#pragma once
// The Download command's work without windows: is the logger there, read its header and
// recorded blocks into a memory image, find where the recording begins, and judge the
// image as the graph window will (the catalogue knows the model, two measurements at
// least).
//
// What is never taken for a recording: an area read differently each time (verified
// download: the header and every block are read twice), a damaged block (not erased, but
// its header is implausible or its stamp does not continue the recording; re-read first,
// and the part before it is kept only when the user says so), blocks that were never read
// (a ring that stops early declares the blocks read, from the oldest of them).
#include "jobs/job_result.h"
#include "jobs/logger_presence.h"
#include "model/device_catalog.h"
#include "platform/progress.h"

#include <cstdint>
#include <vector>

namespace qz {

struct DownloadPolicy {
    ConnectPolicy connect = ConnectPolicy::Ask;
    // The header and every block read twice (and a third time on a tie): about twice the
    // time.
    bool verify = false;
    // A damaged block ended the recording: keep the blocks read before it (Yes), or not.
    Decision keepPartial = Decision::Ask;
    // The catalogue does not know the model: keep the image to be saved as it is (Yes).
    Decision saveUnknownModel = Decision::Ask;
};

enum class DownloadStatus {
    Read, // image holds the recording, BlocksUsed and FirstBlock written
    NotConnected, // no answer to the ping: the question to connect is open
    LinkFailed, // the port did not open, or a transaction gave up (link)
    Cancelled,
    NothingUsable, // not one block passed: no logger of this family
    UnsteadyHeader, // a header area read differently each time
    UnsteadyBlock, // block `block` read differently each time
    Damaged, // block `block` is damaged: KeepPartial open, or the part before it not kept
    TooFewMeasurements, // the recording holds fewer than two measurements
    UnknownModel, // the catalogue does not accept the model (saveAsItIs: keep the image)
};

struct DownloadResult : JobResult {
    DownloadStatus status = DownloadStatus::LinkFailed;
    // The whole memory image (mem::kImageSize bytes) as read; cleared where nothing was
    // read. Read, TooFewMeasurements and UnknownModel: BlocksUsed and FirstBlock written.
    // Damaged with KeepPartial open: blocks 0 .. taken - 1 hold what was read before it.
    std::vector<std::uint8_t> image;
    bool ring = false; // the logger reports a used-block count: its memory wraps
    int blocks = 0; // blocks in the logger's memory
    int taken = 0; // blocks read that hold the recording
    int block = -1; // the damaged or unsteady block
    std::uint16_t deviceCode = 0;
    LoggerModel model; // the catalogue's answer for the device code
    bool saveAsItIs = false; // UnknownModel: the policy keeps the image, the caller saves it
};

DownloadResult downloadJob(LoggerProtocol& protocol, const DownloadPolicy& policy,
                           const DeviceCatalog& catalog, Progress& progress);

// The answer Yes to KeepPartial: the recording is what was read before the damaged block.
// The result goes on from the question (its findings were told with it): Read, or a
// judgement of the image (too few measurements, an unknown model under saveUnknownModel).
DownloadResult keepPartRead(const DownloadResult& asked, const DeviceCatalog& catalog,
                            Decision saveUnknownModel);

} // namespace qz
