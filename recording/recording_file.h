#pragma once
// The recording file on disk: the signature "QUORVANT" followed by memory image bytes.
// Save writes a recording's header and used blocks through it; the raw memory dump of the
// service tools writes a whole logger memory the same way.
#include "recording/file_results.h"

#include <QString>

#include <cstdint>

namespace qz {

// The file's first bytes; the image starts right after them.
inline constexpr char kFileSignature[] = "QUORVANT";

// Writes the signature and length bytes of image to name, through a temporary file that
// replaces name only when complete.
SaveResult writeRecordingFile(const QString& name, const std::uint8_t* image, qint64 length);

} // namespace qz
