#include "support_tools/raw_dump.h"

#include "link/link_report.h"
#include "link/link_texts.h"
#include "platform/prompt.h"
#include "recording/recording_file.h"

namespace qz {

QString missedBlocksText(int missed, int blocks)
{
    return texts::deviceNotResponding()
        + QStringLiteral(": %1 of %2 blocks were not read").arg(missed).arg(blocks);
}

SaveResult writeRawDump(const QString& fileName, const RawDownload& download)
{
    return writeRecordingFile(fileName, download.image.data(), qint64(download.image.size()));
}

RawDumpOutcome runRawDump(LoggerProtocol& q, Progress& progress, Prompt& prompt, const QString& fileName)
{
    LinkReport report(q, prompt);
    const RawDownload download = rawDownload(q, progress, report);
    RawDumpOutcome r;
    r.blocks = download.blocks;
    r.missedBlocks = download.missedBlocks;
    switch (download.end) {
    case RawDownloadEnd::HeaderFailed:
        r.end = RawDumpEnd::NotRead;
        return r;
    case RawDownloadEnd::Cancelled:
        r.end = RawDumpEnd::Cancelled;
        return r;
    case RawDownloadEnd::Complete:
    case RawDownloadEnd::BlocksMissed:
        break;
    }
    r.save = writeRawDump(fileName, download);
    if (!r.save.ok()) {
        r.end = RawDumpEnd::WriteFailed;
        return r;
    }
    if (download.end == RawDownloadEnd::BlocksMissed) {
        r.end = RawDumpEnd::WrittenWithGaps;
        prompt.tell(missedBlocksText(download.missedBlocks, download.blocks), PromptSymbol::Warning);
        return r;
    }
    r.end = RawDumpEnd::Written;
    return r;
}

} // namespace qz
