#pragma once
// The current readings' texts, exactly as shown.
#include <QString>

namespace qz::texts {

inline QString readingsCaption()
{
    return QStringLiteral("Quorvant Currents Readings");
}
inline QString unitsPlaceholder()
{
    return QStringLiteral("Units");
}
inline QString rawCountLabel()
{
    return QStringLiteral("AD Cnt");
}
inline QString diagnosticMark()
{
    return QStringLiteral("DC");
}
inline QString batteryPrefix()
{
    return QStringLiteral("Vbatt : ");
}
inline QString batterySuffix()
{
    return QStringLiteral(" V");
}

} // namespace qz::texts
