#pragma once
// The folder the file dialogs start in: the folder of the file last chosen in any of
// them, kept in the settings file ([Files] LastFolder) from one start to the next; the
// user's home folder before any was chosen or when the one kept is gone.
#include "model/ini_file.h"

#include <QString>

namespace qz {

class LastFolder {
public:
    explicit LastFolder(QString settingsPath) : settingsPath_(std::move(settingsPath)) {}

    QString folder() const;
    // Keeps the folder of a chosen file; the settings file's result (not written when the
    // folder is the one kept already).
    IniResult remember(const QString& chosenFile) const;

private:
    QString settingsPath_;
};

} // namespace qz
