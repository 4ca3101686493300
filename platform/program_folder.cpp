#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qz {

namespace {

// The family's folder in the installation and in the desktop's data and settings folders.
constexpr QLatin1String kSubfolder("quorzk");

} // namespace

ProgramFolder ProgramFolder::forApplication()
{
    return ProgramFolder(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::installedDataFolder() const
{
    return QDir::cleanPath(QDir(folder_).filePath(QStringLiteral("../share/") + kSubfolder));
}

// A program started from PREFIX/bin next to PREFIX/share/quorzk is an installed one: its
// folder is the system's (or the administrator's, when run as root), never a place for
// one user's settings.
bool ProgramFolder::isInstalled() const
{
    return QFileInfo(installedDataFolder()).isDir();
}

QString ProgramFolder::settingsFile() const
{
    const QString beside = QDir(folder_).filePath(QStringLiteral("QUORZK.INI"));
    const QFileInfo dir(folder_);
    if (QFileInfo::exists(beside) || (dir.isDir() && dir.isWritable() && !isInstalled()))
        return beside;
    // Named by the program family, not by the running program's application name, so the
    // desktop program and the command-line tool share one settings file.
    const QString config =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath(kSubfolder);
    QDir().mkpath(config);
    return QDir(config).filePath(QStringLiteral("QUORZK.INI"));
}

QString ProgramFolder::dataFile(const QString& name) const
{
    const QString beside = QDir(folder_).filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir(installedDataFolder()).filePath(name);
    if (QFileInfo::exists(installed))
        return installed;
    const QString shared =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QString(kSubfolder) + u'/' + name);
    return shared.isEmpty() ? beside : shared;
}

} // namespace qz
