#pragma once
// Where the program's own files live: the settings file and the device catalogue.
#include <QString>

namespace qz {

class ProgramFolder {
public:
    // The executable's folder (QCoreApplication::applicationDirPath()).
    static ProgramFolder forApplication();
    explicit ProgramFolder(QString folder) : folder_(std::move(folder)) {}

    const QString& folder() const { return folder_; }
    // The settings file: beside the executable, or in the user's configuration folder
    // when the executable's folder cannot be written.
    QString settingsFile() const;
    // A data file shipped with the program (devices.ini, Default.mdm): beside the
    // executable, else in the installed data folder.
    QString dataFile(const QString& name) const;

private:
    QString folder_;
};

} // namespace qz
