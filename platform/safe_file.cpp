#include "platform/safe_file.h"

#include "platform/regular_file.h"
#include "platform/system_reason.h"

#include <cerrno>

namespace qz {

bool writeAll(QIODevice& out, const char* data, qint64 size, QString& reason)
{
    qint64 done = 0;
    while (done < size) {
        errno = 0;
        const qint64 n = out.write(data + done, size - done);
        const int error = errno;
        if (n <= 0) {
            reason = failureReason(out.errorString(), error);
            return false;
        }
        done += n;
    }
    return true;
}

SafeFile::SafeFile(const QString& path) : file_(path)
{}

bool SafeFile::open()
{
    if (const QString kind = nonRegularKind(file_.fileName()); !kind.isEmpty()) {
        reason_ = kind;
        return false;
    }
    errno = 0;
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        reason_ = failureReason(file_.errorString(), errno);
        return false;
    }
    open_ = true;
    return true;
}

bool SafeFile::write(const char* data, qint64 size)
{
    if (!open_)
        return false;
    return writeAll(file_, data, size, reason_);
}

bool SafeFile::commit()
{
    if (!open_)
        return false;
    open_ = false;
    if (!reason_.isEmpty()) {
        file_.cancelWriting();
        file_.commit(); // discards the temporary file
        return false;
    }
    errno = 0;
    if (!file_.commit()) {
        reason_ = failureReason(file_.errorString(), errno);
        return false;
    }
    return true;
}

} // namespace qz
