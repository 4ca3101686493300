#pragma once
// Modem initialisation files (.mdm): text read line by line; a line that begins with "AT"
// (either case) is a command, sent as it stands (blanks included) with a carriage return;
// every other line (comments, blank lines) is passed over.
#include <QByteArray>
#include <QList>
#include <QString>

namespace qz {

// The command lines of a file's bytes, in order. Lines end with LF, CR LF or CR.
QList<QByteArray> modemInitCommands(const QByteArray& content);

struct ModemInit {
    bool ok = true;
    QList<QByteArray> commands;
    QString reason; // why the file was not read: the system's text, or what it is instead
    bool notFound = false; // a path was saved, but no file is there: dialled without commands
};

// The commands of the file at path. No path, no file there (notFound) or an empty file: no
// commands, the modem is dialled as it is. A file that is there but cannot be read, is not
// a regular file or is too large for one is refused with the reason.
ModemInit readModemInit(const QString& path);

// "Error during modem initialization", with the file and the reason when it was not read.
QString modemInitMessage(const QString& path, const ModemInit& init);

// The dialing status's word on a saved file that is not there, told once per call.
QString modemInitNotFoundMessage(const QString& path);

// Whether a chosen file has the extension mdm (letter case ignored).
bool isModemInitFile(const QString& path);
// The file's name as the dialer shows it: without folder, cut before its first "."
// (empty when the name has none).
QString modemInitShownName(const QString& path);

} // namespace qz
