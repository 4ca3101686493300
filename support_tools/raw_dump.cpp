#include "support_tools/raw_dump.h"

#include "link/link_texts.h"
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

} // namespace qz
