#include "support/small_file_system.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

namespace qz::test {

SmallFileSystem::SmallFileSystem(int kilobytes)
{
#ifdef Q_OS_LINUX
    if (!dir_.isValid())
        return;
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    mounted_ =
        ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) == 0;
#else
    (void)kilobytes;
#endif
}

SmallFileSystem::~SmallFileSystem()
{
#ifdef Q_OS_LINUX
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
#endif
}

} // namespace qz::test
