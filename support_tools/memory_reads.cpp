#include "support_tools/memory_reads.h"

#include "link/link_failure.h"
#include "model/memory_image.h"
#include "recording/recording_file.h"
#include "support_tools/dump_address.h"

#include <QFile>

#include <algorithm>

namespace qz {

LoggerBytes readLoggerBytes(LoggerProtocol& q, std::uint16_t address, int length)
{
    LoggerBytes r;
    r.bytes.reserve(std::size_t(std::max(length, 0)));
    std::uint32_t at = address;
    while (int(r.bytes.size()) < length) {
        std::uint8_t chunk[kDumpLength];
        r.status = q.readMemory(std::uint16_t(at % kLoggerAddressSpace), chunk);
        if (r.status != LinkStatus::Ok)
            break;
        const int take = std::min<int>(kDumpLength, length - int(r.bytes.size()));
        r.bytes.insert(r.bytes.end(), chunk, chunk + take);
        at += kDumpLength;
    }
    return r;
}

QString failedReadLine(LinkStatus status, std::uint32_t address)
{
    QString text = failureText(status);
    if (text.isEmpty())
        text = QString::fromLatin1(linkStatusName(status));
    return text + QStringLiteral(": no bytes at ") + addressText(address);
}

FileBytes readFileBytes(const QString& path, std::uint32_t address, int length)
{
    FileBytes r;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        r.reason = file.errorString();
        return r;
    }
    const qint64 offset = qint64(kFileSignatureSize) + address;
    if (offset >= file.size() || length <= 0) {
        r.ok = true;
        return r;
    }
    if (!file.seek(offset)) {
        r.reason = file.errorString();
        return r;
    }
    r.bytes.resize(std::size_t(length));
    const qint64 got = file.read(reinterpret_cast<char*>(r.bytes.data()), length);
    if (got < 0) {
        r.bytes.clear();
        r.reason = file.errorString();
        return r;
    }
    r.bytes.resize(std::size_t(got));
    r.ok = true;
    return r;
}

QString endOfFileLine(std::size_t obtained)
{
    return QStringLiteral("End of file after %1 bytes").arg(obtained);
}

} // namespace qz
