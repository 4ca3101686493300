// Recording files: the signature "QUORVANT" followed by the memory image, cut after the
// last data block in use.
#include "recording/recording_file.h"

#include "model/block_check.h"
#include "model/memory_image.h"
#include "platform/regular_file.h"
#include "platform/safe_file.h"
#include "platform/system_reason.h"
#include "recording/complete_blocks.h"
#include "recording/recording_data.h"

#include <QBuffer>
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

namespace {

SaveResult saveUsedBlocks(ConstByteView image, const QString& name)
{
    // The header's word may say anything; the image holds at most 508 blocks.
    const ImageReader reader(image);
    const int blocks = std::min(int(reader.blocksUsed()), mem::kMaxBlocks);
    return writeRecordingFile(name, image.data, qint64(mem::blockAddress(blocks)));
}

} // namespace

SaveResult saveRecordingFile(const RecordingData& data, const QString& name)
{
    return saveUsedBlocks(data.image(), name);
}

SaveResult saveImageFile(const QByteArray& image, const QString& name)
{
    // A short image reads as empty blocks after its end, as a recording made of it would.
    std::vector<std::uint8_t> whole(mem::kImageSize, 0);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(image.constData()),
                std::min<qsizetype>(image.size(), qsizetype(whole.size())), whole.begin());
    return saveUsedBlocks({whole.data(), whole.size()}, name);
}

LoadResult RecordingData::fromFile(const QString& name, const ProgramFolder& folder)
{
    QFile file;
    const FileOpenResult opened = openRegularFile(file, name);
    if (!opened.ok())
        return {opened.status == FileOpenStatus::NotRegular ? LoadError::NotAFile : LoadError::CannotOpen,
                opened.reason};
    return fromDevice(file, file.size(), name, folder);
}

LoadResult RecordingData::fromDevice(QIODevice& device, qint64 size, const QString& name,
                                     const ProgramFolder& folder)
{
    char signature[kFileSignatureSize] = {};
    if (size < kMinFileSize || size > kMaxFileSize
        || device.read(signature, kFileSignatureSize) != kFileSignatureSize
        || !std::equal(signature, signature + kFileSignatureSize, kFileSignature)) {
        return {LoadError::NotARecording, QString()};
    }
    std::unique_ptr<RecordingData> data(new RecordingData());
    data->fileName_ = name;
    const qint64 body = size - kFileSignatureSize;
    errno = 0;
    if (device.read(reinterpret_cast<char*>(data->image_.data()), body) != body) {
        const int error = errno;
        return {LoadError::CannotRead, failureReason(device.errorString(), error)};
    }
    return fromBody(std::move(data), body, folder);
}

LoadResult RecordingData::fromDump(const QByteArray& memory, const QString& name, const ProgramFolder& folder)
{
    QByteArray file(kFileSignature, kFileSignatureSize);
    file += memory;
    QBuffer device(&file);
    device.open(QIODevice::ReadOnly);
    return fromDevice(device, file.size(), name, folder);
}

LoadResult RecordingData::fromBody(std::unique_ptr<RecordingData> data, qint64 body,
                                   const ProgramFolder& folder)
{
    std::vector<std::uint8_t>& image = data->image_;
    LoadResult result;
    const auto held = int((body - qint64(mem::kHeaderSize)) / qint64(mem::kBlockSize));
    // A memory dump of a linear logger carries the logger's own BlocksUsed, which stays 0
    // while it records: its blocks in use are found as a download finds them. A saved
    // recording with no block in use holds no block, so it is not touched.
    ByteView view{image.data(), image.size()};
    if (view.u16(mem::kBlocksUsed) == 0 && held > 0) {
        view.setU16(mem::kBlocksUsed,
                    std::uint16_t(linearBlocksInUse(image.data() + mem::blockAddress(0), held)));
        view.setU16(mem::kFirstBlock, 0);
    }
    const CompleteBlocks blocks = keepCompleteBlocks({image.data(), image.size()}, held);
    result.missingBlocks = blocks.missing();
    result.declaredBlocks = blocks.declared;
    RecordingResult made = derive(std::move(data), folder);
    switch (made.error) {
    case InitError::None:
        result.data = std::move(made.data);
        break;
    case InitError::CatalogUnreadable:
        result.error = LoadError::CatalogUnreadable;
        result.reason = made.reason;
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

} // namespace qz
