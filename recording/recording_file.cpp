// Recording files: the signature "QUORVANT" followed by the memory image, cut after the
// last data block in use.
#include "recording/recording.h"

#include "model/memory_image.h"
#include "platform/prompt.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace qz {

namespace {

constexpr char kSignature[kFileSignatureSize + 1] = "QUORVANT";

QString InvalidDataFile()
{
    return QStringLiteral("Invalid data file ");
}

} // namespace

int Recording::StoredBlocks() const
{
    // The header's word may say anything; the image holds at most 508 blocks.
    const int used = image_[mem::kBlocksUsed] | (image_[mem::kBlocksUsed + 1] << 8);
    return std::min(used, mem::kMaxBlocks);
}

bool Recording::save(const QString& name)
{
    lastError_.clear();
    const qint64 length = kImageHeaderSize + qint64(kImageBlockSize) * StoredBlocks();
    // The previous file stays untouched until the new one is complete.
    QSaveFile file(name);
    bool ok = file.open(QIODevice::WriteOnly)
        && file.write(kSignature, kFileSignatureSize) == kFileSignatureSize
        && file.write(reinterpret_cast<const char*>(image_.data()), length) == length
        && file.commit();
    if (!ok) {
        lastError_ = QStringLiteral("Cannot save ") + name + QStringLiteral(": ") + file.errorString();
        file.cancelWriting();
        return false;
    }
    fileName_ = name;
    saved_ = true;
    return true;
}

bool Recording::LoadFile(const QString& name, Prompt& prompt)
{
    lastError_.clear();
    fileName_ = name;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        lastError_ = QStringLiteral("Cannot open ") + name + QStringLiteral(": ") + file.errorString();
        prompt.tell(lastError_, PromptSymbol::Error);
        saved_ = true;
        return false;
    }
    return LoadFrom(file, file.size(), prompt);
}

bool Recording::LoadFrom(QIODevice& device, qint64 size, Prompt& prompt)
{
    saved_ = true;
    char signature[kFileSignatureSize] = {};
    if (size < kFileSignatureSize || size > kMaxFileSize
        || device.read(signature, kFileSignatureSize) != kFileSignatureSize
        || !std::equal(signature, signature + kFileSignatureSize, kSignature)) {
        prompt.tell(InvalidDataFile(), PromptSymbol::Error);
        return false;
    }
    // Whatever a previous content left is cleared: a short image reads as empty blocks.
    std::fill(image_.begin(), image_.end(), 0);
    initialized_ = false;
    const qint64 body = size - kFileSignatureSize;
    if (body > 0 && device.read(reinterpret_cast<char*>(image_.data()), body) != body) {
        lastError_ = QStringLiteral("Cannot read ") + fileName_;
        return false;
    }
    return Initialize();
}

bool Recording::SaveChanges(Prompt& prompt)
{
    return prompt.confirm(QStringLiteral("The record ") + caption_
                          + QStringLiteral("  has not been saved ,") + QStringLiteral("Close anyway ?"));
}

bool Recording::MayClose(Prompt& prompt)
{
    const bool canClose = saved_ || SaveChanges(prompt);
    if (canClose)
        saved_ = true;
    return canClose;
}

} // namespace qz
