#pragma once
// Where the program's own files live: the settings file and the data shipped with it
// (device catalogue, modem commands, help pages).
#include <QString>

namespace qz {

class ProgramFolder {
public:
    // The executable's folder (QCoreApplication::applicationDirPath()).
    static ProgramFolder forApplication();
    explicit ProgramFolder(QString folder) : folder_(std::move(folder)) {}

    const QString& folder() const { return folder_; }
    // The settings file: beside the executable when it is there already, or when the
    // executable's folder is writable and not part of an installation; otherwise in the
    // user's configuration folder (quorzk/QUORZK.INI), shared by every quorzk program.
    QString settingsFile() const;
    // A data file shipped with the program (devices.ini, Default.mdm, help/index.html):
    // beside the executable, else in the installation's share/quorzk beside its bin
    // folder, else in quorzk/ of the desktop's data folders. When it is nowhere, the name
    // beside the executable (so a message names where it was expected).
    QString dataFile(const QString& name) const;
    // The installation's data folder for a program in PREFIX/bin: PREFIX/share/quorzk.
    QString installedDataFolder() const;

private:
    bool isInstalled() const;

    QString folder_;
};

} // namespace qz
