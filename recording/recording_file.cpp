// Recording files: the signature "QUORVANT" followed by the memory image, cut after the
// last data block in use.
#include "recording/recording.h"

#include "model/block_check.h"
#include "model/memory_image.h"
#include "platform/prompt.h"
#include "platform/regular_file.h"
#include "platform/safe_file.h"
#include "platform/system_reason.h"
#include "recording/complete_blocks.h"
#include "recording/recording_file.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

namespace qz {

static_assert(sizeof kFileSignature == kFileSignatureSize + 1);

SaveResult writeRecordingFile(const QString& name, const std::uint8_t* image, qint64 length)
{
    // The previous file stays untouched until the new one is complete.
    SafeFile file(name);
    const bool ok = file.open() && file.write(kFileSignature, kFileSignatureSize)
        && file.write(reinterpret_cast<const char*>(image), length) && file.commit();
    if (!ok)
        return {SaveError::CannotWrite, file.reason()};
    return {};
}

int Recording::storedBlocks() const
{
    // The header's word may say anything; the image holds at most 508 blocks.
    return std::min(int(reader_.blocksUsed()), mem::kMaxBlocks);
}

SaveResult Recording::save(const QString& name)
{
    const SaveResult saved =
        writeRecordingFile(name, image_.data(), qint64(mem::blockAddress(storedBlocks())));
    if (!saved.ok())
        return saved;
    fileName_ = name;
    saved_ = true;
    return {};
}

LoadResult Recording::load(const QString& name)
{
    fileName_ = name;
    saved_ = true;
    QFile file;
    const FileOpenResult opened = openRegularFile(file, name);
    if (!opened.ok())
        return {opened.status == FileOpenStatus::NotRegular ? LoadError::NotAFile : LoadError::CannotOpen,
                opened.reason};
    return loadFrom(file, file.size());
}

LoadResult Recording::loadFrom(QIODevice& device, qint64 size)
{
    saved_ = true;
    char signature[kFileSignatureSize] = {};
    if (size < kMinFileSize || size > kMaxFileSize
        || device.read(signature, kFileSignatureSize) != kFileSignatureSize
        || !std::equal(signature, signature + kFileSignatureSize, kFileSignature)) {
        return {LoadError::NotARecording, QString()};
    }
    // Whatever a previous content left is cleared: a short image reads as empty blocks.
    std::fill(image_.begin(), image_.end(), 0);
    initialized_ = false;
    const qint64 body = size - kFileSignatureSize;
    errno = 0;
    if (device.read(reinterpret_cast<char*>(image_.data()), body) != body) {
        const int error = errno;
        std::fill(image_.begin(), image_.end(), 0);
        rebind();
        return {LoadError::CannotRead, failureReason(device.errorString(), error)};
    }
    LoadResult result;
    const auto held = int((body - qint64(mem::kHeaderSize)) / qint64(mem::kBlockSize));
    // A memory dump of a linear logger carries the logger's own BlocksUsed, which stays 0
    // while it records: its blocks in use are found as a download finds them. A saved
    // recording with no block in use holds no block, so it is not touched.
    ByteView view{image_.data(), image_.size()};
    if (view.u16(mem::kBlocksUsed) == 0 && held > 0) {
        view.setU16(mem::kBlocksUsed,
                    std::uint16_t(linearBlocksInUse(image_.data() + mem::blockAddress(0), held)));
        view.setU16(mem::kFirstBlock, 0);
    }
    const CompleteBlocks blocks = keepCompleteBlocks({image_.data(), image_.size()}, held);
    result.missingBlocks = blocks.missing();
    result.declaredBlocks = blocks.declared;
    switch (initialize().error) {
    case InitError::None:
        break;
    case InitError::CatalogUnreadable:
        result.error = LoadError::CatalogUnreadable;
        result.reason = catalogMessage(model_);
        break;
    case InitError::NotAccepted:
        result.error = LoadError::NotAccepted;
        break;
    case InitError::TooFewMeasurements:
        result.error = LoadError::TooFewMeasurements;
        break;
    }
    return result;
}

bool Recording::saveChanges(Prompt& prompt) const
{
    return prompt.confirm(QStringLiteral("The record ") + caption_ + QStringLiteral("  has not been saved ,")
                          + QStringLiteral("Close anyway ?"));
}

bool Recording::mayClose(Prompt& prompt)
{
    const bool canClose = saved_ || saveChanges(prompt);
    if (canClose)
        saved_ = true;
    return canClose;
}

} // namespace qz
