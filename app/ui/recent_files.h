#pragma once
// The File menu's last files: the 8 recording files opened or saved last, newest first,
// kept in the settings file ([Recent Files] File1..File8) from one start to the next.
#include "model/ini_file.h"

#include <QString>
#include <QStringList>

namespace qz {

inline constexpr int kRecentFiles = 8;

class RecentFiles {
public:
    explicit RecentFiles(QString settingsPath) : settingsPath_(std::move(settingsPath)) {}

    // Newest first; files that are gone since are left out.
    QStringList files() const;
    // Puts a file first (once); the settings file's result (not written when it is first
    // already).
    IniResult add(const QString& file) const;

private:
    QStringList kept() const;
    QString settingsPath_;
};

} // namespace qz
