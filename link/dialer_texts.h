#pragma once
// The modem dialer's messages to the user, exactly as shown.
#include <QString>

namespace qz::texts {

inline QString connected()
{
    return QStringLiteral("Connected");
}
inline QString connectionTimeOut()
{
    return QStringLiteral("Connection time out");
}
inline QString lineBusy()
{
    return QStringLiteral("The line is busy");
}
inline QString noCarrier()
{
    return QStringLiteral("No carrier");
}
inline QString noDialTone()
{
    return QStringLiteral("No dial tone");
}
inline QString modemInitError()
{
    return QStringLiteral("Error during modem initialization");
}
// A saved initialisation file that is no longer there: the modem is dialled without it.
inline QString modemInitNotFound(const QString& path)
{
    return QStringLiteral("Modem initialisation file not found: %1\nDialing without initialisation commands")
        .arg(path);
}
inline QString cannotDial()
{
    return QStringLiteral("Cannot dial phone number");
}
inline QString notAnMdmFile()
{
    return QStringLiteral("Not a file with the mdm extension");
}
inline QString dialerCaption()
{
    return QStringLiteral("Quorvant Dialer");
}
inline QString dialingCaption()
{
    return QStringLiteral("Dialing");
}
// The chooser of the modem initialisation file.
inline QString initFileTitle()
{
    return QStringLiteral("Open");
}
inline QString initFileFilter()
{
    return QStringLiteral("Quorvant mdm files (*.mdm)|*.mdm|All files (*.*)|*.*|");
}
inline QString initFileExtension()
{
    return QStringLiteral("mdm");
}

} // namespace qz::texts
