#include "config/recording_plan.h"

#include "model/image_reader.h"
#include "model/memory_image.h"
#include "model/values.h"

namespace qz {

RecordingPlan recordingPlan(ConstByteView image, const QDateTime& start)
{
    const ImageReader reader = ImageReader::deviceImage(image);
    RecordingPlan plan;
    plan.serial = trimTrailingBlanks(reader.serialNumber());
    plan.start = start;
    plan.intervalSeconds = reader.interval();
    plan.cyclic = reader.stopMode() == 0;
    plan.blocks = reader.memoryBlocks();
    plan.recordsPerBlock = int(mem::kSampleArea) / reader.inputCount();
    const qint64 records = qint64(plan.blocks) * plan.recordsPerBlock;
    plan.full = start.addSecs(records * plan.intervalSeconds);
    return plan;
}

QString intervalText(int seconds)
{
    const int minutes = seconds / 60;
    const int rest = seconds % 60;
    if (minutes == 0)
        return QStringLiteral("%1 s").arg(rest);
    if (rest == 0)
        return QStringLiteral("%1 min").arg(minutes);
    return QStringLiteral("%1 min %2 s").arg(minutes).arg(rest);
}

QString instantText(const QDateTime& when, const QDateTime& now)
{
    const QString time = when.time().toString(when.time().second() == 0 ? QStringLiteral("hh:mm")
                                                                        : QStringLiteral("hh:mm:ss"));
    if (when.date() == now.date())
        return time;
    return when.date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') + time;
}

QString configuredText(const RecordingPlan& plan, const QDateTime& now)
{
    QString text = QStringLiteral("%1 configured: starts %2, every %3, ")
                       .arg(plan.serial, instantText(plan.start, now), intervalText(plan.intervalSeconds));
    if (plan.cyclic)
        text += QStringLiteral("cyclic recording");
    else
        text += QStringLiteral("memory full on ") + plan.full.date().toString(QStringLiteral("yyyy-MM-dd"));
    return text;
}

} // namespace qz
