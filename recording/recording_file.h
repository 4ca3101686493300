#pragma once
// The recording file on disk: the signature "QUORVANT" followed by memory image bytes.
// Save writes a recording's header and used blocks through it; the raw memory dump of the
// service tools writes a whole logger memory the same way.
#include "model/memory_image.h"
#include "recording/file_results.h"

#include <QString>

#include <cstdint>

namespace qz {

// The file's first bytes; the image starts right after them.
inline constexpr char kFileSignature[] = "QUORVANT";
inline constexpr int kFileSignatureSize = 8;
inline constexpr int kMinFileSize = kFileSignatureSize + int(mem::kHeaderSize); // 392
inline constexpr int kMaxFileSize = kFileSignatureSize + int(mem::kImageSize); // 65,416

// Writes the signature and length bytes of image to name, through a temporary file that
// replaces name only when complete.
SaveResult writeRecordingFile(const QString& name, const std::uint8_t* image, qint64 length);

} // namespace qz
