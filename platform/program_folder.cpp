#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qz {

ProgramFolder ProgramFolder::forApplication()
{
    return ProgramFolder(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::settingsFile() const
{
    const QString beside = QDir(folder_).filePath(QStringLiteral("QUORZK.INI"));
    const QFileInfo dir(folder_);
    if (QFileInfo::exists(beside) || (dir.isDir() && dir.isWritable()))
        return beside;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return QDir(config).filePath(QStringLiteral("QUORZK.INI"));
}

QString ProgramFolder::dataFile(const QString& name) const
{
    const QString beside = QDir(folder_).filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed =
        QStandardPaths::locate(QStandardPaths::AppDataLocation, name);
    return installed.isEmpty() ? beside : installed;
}

} // namespace qz
