#pragma once
// What the configuration dialogs tell beside their fields, exactly as shown.
#include <QString>

namespace qz::texts {

// The recording interval, as it is typed.
inline QString intervalZero()
{
    return QStringLiteral("The recording interval cannot be 0");
}
inline QString minutesTooLarge()
{
    return QStringLiteral("The minutes can be at most 60");
}
inline QString secondsTooLarge()
{
    return QStringLiteral("The seconds can be at most 59");
}

// When the logger will start, under Recording Start.
inline QString startsWhenSent()
{
    return QStringLiteral("Starts when sent");
}
inline QString startsAt(const QString& when)
{
    return QStringLiteral("Starts ") + when;
}
inline QString startsAfter(const QString& delay)
{
    return QStringLiteral("Starts ") + delay + QStringLiteral(" after sending");
}
inline QString noStartChosen()
{
    return QStringLiteral("No start chosen yet: press Delay");
}

// The delayed start dialog.
inline QString dateFormat()
{
    return QStringLiteral("dd/mm/yy");
}
inline QString timeFormat()
{
    return QStringLiteral("hh:mm:ss");
}
inline QString delayZero()
{
    return QStringLiteral("The delay cannot be 0");
}

// The texts the logger keeps.
inline QString commentWhat()
{
    return QStringLiteral("The comment");
}
inline QString functionWhat()
{
    return QStringLiteral("A function name");
}
inline QString unitWhat()
{
    return QStringLiteral("A unit");
}

} // namespace qz::texts
