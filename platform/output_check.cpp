#include "platform/output_check.h"

#include "platform/regular_file.h"
#include "platform/system_reason.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace qz {

namespace {

// 0 when the path may be used so; otherwise the system's error number.
int accessError(const QString& path, bool folder)
{
#ifdef Q_OS_UNIX
    const int mode = folder ? (W_OK | X_OK) : W_OK;
    return ::access(QFile::encodeName(path).constData(), mode) == 0 ? 0 : errno;
#else
    return QFileInfo(path).isWritable() ? 0 : EACCES;
#endif
}

} // namespace

OutputCheck checkOutputFile(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.fileName().isEmpty())
        return {OutputUse::NoName, QStringLiteral("no file name")};
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists())
        return {OutputUse::NoFolder, systemReason(ENOENT)};
    if (!folder.isDir())
        return {OutputUse::NoFolder, systemReason(ENOTDIR)};
    if (const QString kind = nonRegularKind(path); !kind.isEmpty())
        return {OutputUse::NotAFile, kind};
    if (const int error = accessError(folder.filePath(), true); error != 0)
        return {OutputUse::FolderShut, systemReason(error)};
    if (info.exists()) {
        if (const int error = accessError(path, false); error != 0)
            return {OutputUse::ReadOnly, systemReason(error)};
    }
    return {};
}

} // namespace qz
