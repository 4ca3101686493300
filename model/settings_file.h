#pragma once
// The settings file (QUORZK.INI) as a whole: the check made once at start, and the texts
// that tell the user about a file that is refused or cannot be written. Every reader of
// the file gets the refusal again from IniFile and uses its defaults; every writer leaves
// a refused file untouched, so nothing needs to remember the refusal.
#include "model/ini_file.h"

namespace qz {

// Reads the file with the settings checks (the result only).
IniResult checkSettingsFile(const QString& path);
// "The settings file QUORZK.INI could not be read: PATH: reason. Default settings are
// used; the file is left as it is."; empty for a file that is read or missing.
QString settingsReadWarning(const QString& path, const IniResult& result);
// "The settings file QUORZK.INI could not be written: PATH: reason"; empty unless writing
// failed (a refused file is not written on purpose and was told about at start).
QString settingsWriteMessage(const QString& path, const IniResult& result);

} // namespace qz
