#pragma once
// What preparing and starting a logger tells the user, exactly as shown.
#include <QString>

namespace qz::texts {

// Captions; the model's name goes after the first word.
inline QString configurationCaption()
{
    return QStringLiteral("Quorvant Configuration");
}
inline QString delayedStartCaption()
{
    return QStringLiteral("Quorvant Delayed Start");
}
inline QString inputsScalingCaption()
{
    return QStringLiteral("Quorvant Inputs Scaling ");
}
inline QString sendingCaption()
{
    return QStringLiteral("Sending Configuration ...");
}

// The recording interval.
inline QString intervalTooLong()
{
    return QStringLiteral("The interval cannot be greater than 60 minutes");
}
inline QString intervalNotMultiple(const QString& samplingText)
{
    return QStringLiteral("The interval must be a multiple of ") + samplingText + QStringLiteral(" sec");
}

// Sending.
inline QString startElapsed()
{
    return QStringLiteral("The Start Date/Time Elapsed...");
}
// The logger's alarm holds no year: the limit is the same day and time one year ahead.
inline QString startTooFarAhead(const QString& limit)
{
    return QStringLiteral("The Start Date/Time is too far ahead\rIt must be before ") + limit;
}
inline QString recorderRunning()
{
    return QStringLiteral("Recorder running\rSending configuration will restart it\rSend Configuration ?");
}
// The logger answered every frame but kept a different program block or input table
// after three writes: its clock was not set, and it was stopped.
inline QString configurationNotKept()
{
    return QStringLiteral("The Quorvant did not keep the configuration\rIt has been stopped");
}
// As above, and the stop failed too.
inline QString configurationNotKeptNotStopped()
{
    return QStringLiteral("The Quorvant did not keep the configuration\rIt could not be stopped: it may be "
                          "recording with a mixed configuration");
}

// The delayed start.
inline QString invalidDate()
{
    return QStringLiteral("Invalid Date");
}
inline QString invalidTime()
{
    return QStringLiteral("Invalid Time");
}
inline QString delayDaysOutOfRange()
{
    return QStringLiteral("The delay can be at most 30 days");
}
inline QString delayHoursOutOfRange()
{
    return QStringLiteral("The delay hours must be 0 to 23");
}
inline QString delayMinutesOutOfRange()
{
    return QStringLiteral("The delay minutes must be 0 to 59");
}
inline QString delayNotANumber(const QString& fieldText)
{
    return QStringLiteral("'%1' is not a number of days, hours or minutes").arg(fieldText);
}

// The inputs scaling table: the trimmed cell text comes first.
inline QString notAValidNumber(const QString& trimmedText)
{
    return trimmedText + QStringLiteral(" Is not a valid number");
}
inline QString scaleOutOfRange(const QString& trimmedText)
{
    return trimmedText + QStringLiteral(" Is too large for a scale value (largest 1.7E38)");
}
// The 6-byte real would store it as 0.
inline QString scaleTooSmall(const QString& trimmedText)
{
    return trimmedText + QStringLiteral(" Is too small for a scale value (smallest 2.94E-39, or 0)");
}

} // namespace qz::texts
