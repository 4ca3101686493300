#include "jobs/raw_dump_job.h"

#include "jobs/logger_presence.h"
#include "link/raw_download.h"
#include "support_tools/raw_dump.h"

namespace qz {

RawDumpResult rawDumpJob(LoggerProtocol& q, const QString& fileName, Progress& progress)
{
    RawDumpResult r;
    const LinkWatch watch(q);
    if (!loggerIsThere(q, ConnectPolicy::GoOn, watch, r))
        return r;
    const RawDownload download = rawDownload(q, progress);
    r.blocks = download.blocks;
    r.missedBlocks = download.missedBlocks;
    switch (download.end) {
    case RawDownloadEnd::HeaderFailed:
        r.link = watch.failure(download.link);
        return r;
    case RawDownloadEnd::Cancelled:
        r.status = RawDumpStatus::Cancelled;
        return r;
    case RawDownloadEnd::Complete:
    case RawDownloadEnd::BlocksMissed:
        break;
    }
    r.save = writeRawDump(fileName, download);
    if (!r.save.ok()) {
        r.status = RawDumpStatus::WriteFailed;
        return r;
    }
    if (download.missedBlocks > 0)
        r.findings << Finding{FindingKind::BlocksMissed, download.missedBlocks, 0, download.blocks};
    r.status = RawDumpStatus::Written;
    return r;
}

} // namespace qz
