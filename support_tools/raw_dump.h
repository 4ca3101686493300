#pragma once
// The raw memory dump written as a file in the recording file layout, and the words for
// the blocks that did not come.
#include "link/raw_download.h"
#include "recording/file_results.h"

#include <QString>

namespace qz {

// "Device Not Responding: 3 of 60 blocks were not read".
QString missedBlocksText(int missed, int blocks);

// The signature, the header and every block, through a temporary file and a rename.
SaveResult writeRawDump(const QString& fileName, const RawDownload& download);

} // namespace qz
