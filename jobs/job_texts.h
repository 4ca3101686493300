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
// The stop was sent, but the run state did not read alike twice afterwards.
inline QString stopNotReadBack()
{
    return QStringLiteral("The stop was sent\rThe Quorvant's run state could not be read back");
}
// Read back after a send (two reads alike): the logger was not started as asked.
inline QString configurationNotHeld()
{
    return QStringLiteral("The Quorvant does not hold the configuration sent");
}
// Read back after a send: no two reads alike, so whether it was started is not known.
inline QString configurationNotReadBack()
{
    return QStringLiteral("The configuration was sent\rIt could not be read back from the Quorvant");
}
// Blocks whose stamp is no date, taken into the recording: the count and the first.
inline QString measurementsDateErrors(int count, int first)
{
    return QStringLiteral("Measurements date error: %1 blocks, the first is block %2").arg(count).arg(first);
}

// A verified read that took more than two reads of some blocks (the line damaged replies),
// and then read each of them alike twice.
inline QString rereadBlocks(int count)
{
    return count == 1 ? QStringLiteral("1 block needed more than two reads")
                      : QStringLiteral("%1 blocks needed more than two reads").arg(count);
}

} // namespace qz::texts
