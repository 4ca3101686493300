// Recording files: the signature "QUORVANT" followed by the memory image, cut after the
// last data block in use.
#include "recording/recording.h"

#include "platform/prompt.h"
#include "recording/recording_file.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace qz {

static_assert(sizeof kFileSignature == kFileSignatureSize + 1);

SaveResult WriteRecordingFile(const QString& name, const std::uint8_t* image, qint64 length)
{
    // The previous file stays untouched until the new one is complete.
    QSaveFile file(name);
    const bool ok = file.open(QIODevice::WriteOnly)
        && file.write(kFileSignature, kFileSignatureSize) == kFileSignatureSize
        && file.write(reinterpret_cast<const char*>(image), length) == length
        && file.commit();
    if (!ok) {
        const SaveResult failed{SaveError::CannotWrite, file.errorString()};
        file.cancelWriting();
        return failed;
    }
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
        WriteRecordingFile(name, image_.data(), qint64(mem::BlockAddress(storedBlocks())));
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
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {LoadError::CannotOpen, file.errorString()};
    return loadFrom(file, file.size());
}

LoadResult Recording::loadFrom(QIODevice& device, qint64 size)
{
    saved_ = true;
    char signature[kFileSignatureSize] = {};
    if (size < kFileSignatureSize || size > kMaxFileSize
        || device.read(signature, kFileSignatureSize) != kFileSignatureSize
        || !std::equal(signature, signature + kFileSignatureSize, kFileSignature)) {
        return {LoadError::NotARecording, QString()};
    }
    // Whatever a previous content left is cleared: a short image reads as empty blocks.
    std::fill(image_.begin(), image_.end(), 0);
    initialized_ = false;
    const qint64 body = size - kFileSignatureSize;
    if (body > 0 && device.read(reinterpret_cast<char*>(image_.data()), body) != body) {
        rebind();
        return {LoadError::CannotRead, device.errorString()};
    }
    if (!initialize())
        return {model_.accepted ? LoadError::TooFewMeasurements : LoadError::NotAccepted, QString()};
    return {};
}

bool Recording::saveChanges(Prompt& prompt) const
{
    return prompt.confirm(QStringLiteral("The record ") + caption_
                          + QStringLiteral("  has not been saved ,") + QStringLiteral("Close anyway ?"));
}

bool Recording::mayClose(Prompt& prompt)
{
    const bool canClose = saved_ || saveChanges(prompt);
    if (canClose)
        saved_ = true;
    return canClose;
}

} // namespace qz
