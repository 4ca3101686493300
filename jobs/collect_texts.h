#pragma once
// What a collection's outcome says when it did not collect, beside the link's texts, exactly
// as the table and the store show it.
#include "link/link_texts.h"

#include <QString>

namespace qz::texts {

inline QString collectionCancelled()
{
    return QStringLiteral("cancelled");
}
inline QString modelNotCollected(int deviceCode)
{
    return notAQuorvant() + QStringLiteral(" (device code %1)").arg(deviceCode);
}
inline QString noInterval()
{
    return QStringLiteral("The logger's recording interval is 0: its measurements have no times");
}
inline QString unsteadyHeaderRead()
{
    return QStringLiteral("The logger's header read differently each time");
}
inline QString unsteadyBlockRead(int block)
{
    return QStringLiteral("Block %1 of the logger's memory read differently each time").arg(block);
}
inline QString damagedBlockRead(int block)
{
    return QStringLiteral("Block %1 of the logger's memory is damaged").arg(block);
}
inline QString collectedElsewhere()
{
    return QStringLiteral("skipped: another collector is collecting it");
}
inline QString noOrigin()
{
    return measurementsDateError() + QStringLiteral(": the recording's first block has no time");
}

} // namespace qz::texts
