#include "platform/regular_file.h"

#include "platform/system_reason.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qz {

#ifdef Q_OS_UNIX

namespace {

QString kindText(mode_t mode)
{
    return S_ISDIR(mode) ? systemReason(EISDIR) : QStringLiteral("Not a regular file");
}

} // namespace

QString nonRegularKind(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return QString();
    return kindText(st.st_mode);
}

FileOpenResult openRegularFile(QFile& file, const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        const int e = errno;
        return {e == ENOENT ? FileOpenStatus::Missing : FileOpenStatus::Failed, systemReason(e)};
    }
    if (!S_ISREG(st.st_mode))
        return {FileOpenStatus::NotRegular, kindText(st.st_mode)};

    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        return {e == ENOENT ? FileOpenStatus::Missing : FileOpenStatus::Failed, systemReason(e)};
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const FileOpenResult refused{FileOpenStatus::NotRegular, kindText(st.st_mode)};
        ::close(fd);
        return refused;
    }
    // Reads of a regular file do not block; the file is read in the usual mode.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        const FileOpenResult failed{FileOpenStatus::Failed, file.errorString()};
        ::close(fd);
        return failed;
    }
    return {};
}

bool isSameFile(const QString& a, const QString& b)
{
    struct stat sa {};
    struct stat sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0
        || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

#else

QString NonRegularKind(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return QString();
    return info.isDir() ? QStringLiteral("Is a directory") : QStringLiteral("Not a regular file");
}

FileOpenResult OpenRegularFile(QFile& file, const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {FileOpenStatus::Missing, QStringLiteral("No such file or directory")};
    if (!info.isFile())
        return {FileOpenStatus::NotRegular, NonRegularKind(path)};
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return {FileOpenStatus::Failed, file.errorString()};
    return {};
}

bool IsSameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca.compare(QFileInfo(b).canonicalFilePath(), Qt::CaseInsensitive) == 0;
}

#endif

} // namespace qz
