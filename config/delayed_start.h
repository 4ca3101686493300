#pragma once
// A delayed start: the start given as a date and time or as a delay from the moment of
// sending, the checks of what the user typed, and the clock record and date fields that
// a send writes into the device image.
#include "model/byte_view.h"
#include "model/logger_date.h"

#include <QString>

namespace qz {

class Clock;

// What the delayed start dialog keeps between showings (and across loggers).
struct DelayedStart {
    enum class Mode {
        Date,
        Delay
    };
    Mode mode = Mode::Date;
    double startInstant = 0; // last accepted start, a date-time number (0 until one is)
    double delay = 0; // last accepted delay, in days
};

enum class StartCheck {
    Ok,
    InvalidDate,
    InvalidTime
};
// "dd/mm/yy" (yy 81..99 is 19yy, 00..79 20yy) and "hh:mm:ss" (a leading blank allowed).
// On Ok, instant is the start as a date-time number; otherwise it is left as it was.
StartCheck checkStartTexts(const QString& date, const QString& time, double& instant);
// The same rules for a date given with its whole year (1981..2099).
StartCheck checkStartFields(int year, int month, int day, int hour, int minute, int second, double& instant);
QString startRefusal(StartCheck check);

enum class DelayCheck {
    Ok,
    DaysOutOfRange, // above 30
    HoursOutOfRange, // above 23
    MinutesOutOfRange, // above 59
    NotANumber,
};
// On Ok, delay is days + hours/24 + minutes/1440; otherwise it is left as it was.
DelayCheck checkDelay(int days, int hours, int minutes, double& delay);
// The three fields as typed; badText receives the text of a field that is not a number.
DelayCheck checkDelayTexts(const QString& days, const QString& hours, const QString& minutes, double& delay,
                           QString& badText);
QString delayRefusal(DelayCheck check, const QString& badText);

// The logger's alarm holds the start's day, month and time but no year, so a start at or
// beyond the same day and time one year after now would come a year early (or more). The
// first start it cannot hold, from now (29 February gives 28 February of the next year).
double startLimit(double now);
bool withinStartLimit(double start, double now);
// The refusal of a start at or beyond limit, the limit in the form given ("dd/MM/yy
// hh:mm:ss" as the dialog's fields, "yyyy-MM-dd hh:mm:ss" as the command line's option).
QString startTooFarRefusal(double limit, const QString& format);
// The delayed start dialog's form of the limit, as its date and time fields read.
inline const QString kStartLimitForm = QStringLiteral("dd/MM/yy hh:mm:ss");

// What a send's clock programming came to.
struct StartProgram {
    bool inFuture = true; // false for a delayed start that is not after the PC time
    bool withinLimit = true; // false for a start the alarm cannot hold (startLimit)
    LoggerDate now; // the PC time written into the clock record
    LoggerDate start; // the start instant written
};

// Writes the clock record (the PC time, the run state 0xB0 for a delayed start or 0xC2
// for an immediate one, the start time) and the image's YearBits, YearBcd and StartStamp.
// The image is filled also when the start has already passed.
StartProgram programTimeVars(ByteView deviceImage, Clock& clock, bool delayed, const DelayedStart& plan);

} // namespace qz
