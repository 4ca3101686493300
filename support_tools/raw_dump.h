#pragma once
// The raw memory dump as a command: read the logger's whole memory, write it to a file in
// the recording file layout, and tell the user what went wrong, once.
#include "link/raw_download.h"
#include "recording/file_results.h"

#include <QString>

namespace qz {

class Prompt;

enum class RawDumpEnd {
    Written, // every block came and the file is written
    WrittenWithGaps, // the file is written; some blocks did not come (told)
    NotRead, // the header did not come (told); no file
    Cancelled, // no file, nothing told
    WriteFailed, // the file could not be written (the caller tells, with its wording)
};

struct RawDumpOutcome {
    RawDumpEnd end = RawDumpEnd::NotRead;
    int blocks = 0;
    int missedBlocks = 0;
    SaveResult save;
};

// "Device Not Responding: 3 of 60 blocks were not read".
QString missedBlocksText(int missed, int blocks);

// The signature, the header and every block, through a temporary file and a rename.
SaveResult writeRawDump(const QString& fileName, const RawDownload& download);

// Reads the logger's memory (no ping first) and writes it to fileName. Link failures of
// the header and the count of blocks that did not come are told through prompt.
RawDumpOutcome runRawDump(LoggerProtocol& protocol, Progress& progress, Prompt& prompt,
                          const QString& fileName);

} // namespace qz
