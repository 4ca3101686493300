#include "app/ui/recent_files.h"

#include <QFileInfo>

namespace qz {

namespace {

const QString kSection = QStringLiteral("Recent Files");

QString keyOf(int i)
{
    return QStringLiteral("File%1").arg(i + 1);
}

} // namespace

QStringList RecentFiles::kept() const
{
    IniFile ini;
    ini.load(settingsPath_);
    QStringList out;
    for (int i = 0; i < kRecentFiles; ++i)
        if (const QString name = ini.value(kSection, keyOf(i)); !name.isEmpty())
            out << name;
    return out;
}

QStringList RecentFiles::files() const
{
    QStringList out;
    for (const QString& name : kept())
        if (QFileInfo(name).isFile())
            out << name;
    return out;
}

IniResult RecentFiles::add(const QString& file) const
{
    if (file.isEmpty())
        return {};
    const QString name = QFileInfo(file).absoluteFilePath();
    QStringList list = kept();
    if (!list.isEmpty() && list.constFirst() == name)
        return {};
    list.removeAll(name);
    list.prepend(name);
    return IniFile::update(settingsPath_, [&list](IniFile& ini) {
        for (int i = 0; i < kRecentFiles; ++i)
            ini.setValue(kSection, keyOf(i), i < list.size() ? list[i] : QString());
    });
}

} // namespace qz
