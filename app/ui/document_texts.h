#pragma once
// The document commands' messages, exactly as shown.
#include <QString>

namespace qz::texts {

inline QString notAFileWithExtension(const QString& ext)
{
    return QStringLiteral("Not a file with the ") + ext + QStringLiteral(" extension");
}
inline QString recordingFilter()
{
    return QStringLiteral("Quorvant files (*.qrv)|*.qrv|All files (*.*)|*.*|");
}
inline QString fileNotForQuorvant()
{
    return QStringLiteral("This file is not for a QuorvantZK");
}
inline QString graphIsFull(int recordings)
{
    return QStringLiteral("A graph shows at most %1 recordings").arg(recordings);
}
inline QString cannotWrite(const QString& name, const QString& reason)
{
    QString text = QStringLiteral("Cannot write ") + name;
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    return text;
}

} // namespace qz::texts
