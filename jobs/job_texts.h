#pragma once
// What the logger jobs' results tell the user, beside the link's texts (link/link_texts.h)
// and the configuration's (config/config_texts.h), exactly as shown.
#include <QString>

namespace qz::texts {

inline QString confirmStop()
{
    return QStringLiteral("Quorvant running\rConfirming stop ?");
}
inline QString alreadyStopped()
{
    return QStringLiteral("Quorvant Already stopped");
}
// A logger that was sent a stop and still says it runs.
inline QString stillRunning()
{
    return QStringLiteral("The Quorvant did not stop\rIt still reports a recording");
}
// Read back after a send: the input table or the run state differ from what was sent.
inline QString configurationNotHeld()
{
    return QStringLiteral("The Quorvant does not hold the configuration sent");
}
// Blocks whose stamp is no date, taken into the recording: the count and the first.
inline QString measurementsDateErrors(int count, int first)
{
    return QStringLiteral("Measurements date error: %1 blocks, the first is block %2").arg(count).arg(first);
}

} // namespace qz::texts
