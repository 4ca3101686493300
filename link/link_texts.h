#pragma once
// The link's messages to the user, exactly as shown.
#include <QString>

namespace qz::texts {

inline QString unableToOpenPort()
{
    return QStringLiteral("Unable to open com port");
}
// "Unable to open com port PORT: reason"; without a reason when none is known.
inline QString unableToOpenPort(const QString& port, const QString& reason)
{
    QString text = unableToOpenPort();
    if (!port.isEmpty())
        text += QLatin1Char(' ') + port;
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    return text;
}
inline QString deviceNotResponding()
{
    return QStringLiteral("Device Not Responding");
}
inline QString pleaseConnect()
{
    return QStringLiteral("Please Connect The Quorvant");
}
inline QString notAQuorvant()
{
    return QStringLiteral("This device is not a QuorvantZK");
}
inline QString lowBattery()
{
    return QStringLiteral("Low Battery \r  (< 3.3 V) ");
}
inline QString tooFewMeasurements()
{
    return QStringLiteral("   Cannot display a record\rwith less than two measurements ");
}
inline QString measurementsDateError()
{
    return QStringLiteral("Measurements date error");
}
inline QString damagedBlock(int block)
{
    return QStringLiteral("Block %1 of the logger's memory is damaged; the recording ends before it")
        .arg(block);
}
inline QString keepWhatWasRead()
{
    return QStringLiteral("Keep what was read before it?");
}
inline QString unsteadyBlock(int block)
{
    return QStringLiteral("Block %1 of the logger's memory read differently each time; "
                          "the download is stopped")
        .arg(block);
}
inline QString unsteadyHeader()
{
    return QStringLiteral("The logger's header read differently each time; the download is stopped");
}
inline QString unknownModel(int deviceCode)
{
    return notAQuorvant()
        + QStringLiteral("\nThe logger catalogue does not know device code %1.").arg(deviceCode);
}
inline QString saveAnyway()
{
    return QStringLiteral("Save the downloaded memory to a file anyway?");
}
inline QString connectionCaption()
{
    return QStringLiteral("Connection...");
}
inline QString downloadingCaption()
{
    return QStringLiteral("Downloading Quorvant ...");
}

} // namespace qz::texts
