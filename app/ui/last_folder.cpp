#include "app/ui/last_folder.h"

#include <QDir>
#include <QFileInfo>

namespace qz {

namespace {
const QString kSection = QStringLiteral("Files");
const QString kKey = QStringLiteral("LastFolder");
} // namespace

QString LastFolder::folder() const
{
    const QString kept = IniFile::readValue(settingsPath_, kSection, kKey);
    if (!kept.isEmpty() && QFileInfo(kept).isDir())
        return kept;
    return QDir::homePath();
}

IniResult LastFolder::remember(const QString& chosenFile) const
{
    if (chosenFile.isEmpty())
        return {};
    const QString path = QFileInfo(chosenFile).absolutePath();
    if (IniFile::readValue(settingsPath_, kSection, kKey) == path)
        return {};
    return IniFile::writeValue(settingsPath_, kSection, kKey, path);
}

} // namespace qz
