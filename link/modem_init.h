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
};

// The commands of the file at path. No path: no commands. A file that cannot be read (a
// missing one too: the user chose it, so its commands are wanted), is not a regular file
// or is too large for one is refused with the reason.
ModemInit readModemInit(const QString& path);

// "Error during modem initialization", with the file and the reason when it was not read.
QString modemInitMessage(const QString& path, const ModemInit& init);

// Whether a chosen file has the extension mdm (letter case ignored).
bool isModemInitFile(const QString& path);
// The file's name as the dialer shows it: without folder, cut before its first "."
// (empty when the name has none).
QString modemInitShownName(const QString& path);

} // namespace qz
