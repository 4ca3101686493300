#include "jobs/logger_status.h"

#include "model/device_catalog.h"
#include "model/image_reader.h"
#include "model/logger_clock.h"
#include "model/memory_image.h"
#include "model/simulated_logger.h"
#include "model/values.h"

#include <QDate>
#include <QTime>

#include <algorithm>

namespace qz {

namespace {

const QString kDateTime = QStringLiteral("yyyy-MM-dd hh:mm:ss");
const QString kDateMinute = QStringLiteral("yyyy-MM-dd hh:mm");

// The start stamp: year of the century, month, day, hour, minute, second (binary).
QDateTime startOf(const std::array<std::uint8_t, mem::kStartStampSize>& s)
{
    const int year = s[0] < 80 ? 2000 + s[0] : 1900 + s[0];
    return QDateTime(QDate(year, s[1], s[2]), QTime(s[3], s[4], s[5]));
}

} // namespace

QString runStateText(std::uint8_t state)
{
    switch (state) {
    case mem::kRunStopped:
        return QStringLiteral("stopped");
    case mem::kRunRecording:
        return QStringLiteral("recording");
    case mem::kRunWaiting:
        return QStringLiteral("waiting to start");
    default:
        return QStringLiteral("unknown (0x%1)").arg(state, 2, 16, QLatin1Char('0'));
    }
}

LoggerStatus loggerStatus(const DeviceReadResult& r, const DeviceCatalog& catalog)
{
    LoggerStatus s;
    const ConstByteView image{r.image.data(), r.image.size()};
    const ImageReader reader = ImageReader::deviceImage(image);
    const LoggerModel model = catalog.lookUp(reader.deviceCode());
    s.model = model.accepted
        ? model.description
        : QStringLiteral("device code %1 (not a model this program accepts)").arg(reader.deviceCode());
    s.serial = serialNumberText(trimTrailingBlanks(reader.serialNumber()));
    s.runState = r.clock.runState();
    s.host = r.clock.host;
    // The year as the command line's status finds it; kept as a wall time, as the start.
    const std::optional<QDateTime> clock =
        loggerClockTime(r.clock.logger, image.u8(mem::kYearBcd), r.clock.host.date().year());
    if (clock) {
        s.loggerClock = QDateTime(clock->date(), clock->time());
        if (s.host.isValid())
            s.driftSeconds = clockDriftSeconds(*clock, s.host);
    }
    s.battery = r.battery;
    s.comment = trimTrailingBlanks(reader.recordName());
    s.plan = recordingPlan(image, startOf(reader.startStamp()));
    const qint64 records = qint64(s.plan.blocks) * s.plan.recordsPerBlock;
    if (s.runState == mem::kRunWaiting) {
        s.usedBlocks = 0;
    } else if (s.runState == mem::kRunRecording && s.loggerClock.isValid() && s.plan.start.isValid()
               && s.plan.intervalSeconds > 0 && s.plan.recordsPerBlock > 0) {
        // The first measurement comes one interval after the start.
        const qint64 taken = std::max<qint64>(0, s.plan.start.secsTo(s.loggerClock) / s.plan.intervalSeconds);
        const qint64 inMemory = std::min(taken, records);
        s.usedBlocks = int((inMemory + s.plan.recordsPerBlock - 1) / s.plan.recordsPerBlock);
    }
    return s;
}

QList<std::pair<QString, QString>> statusLines(const LoggerStatus& s)
{
    QList<std::pair<QString, QString>> out;
    out.append({QStringLiteral("Model:"), s.model});
    out.append({QStringLiteral("Serial number:"), s.serial});
    out.append({QStringLiteral("State:"), runStateText(s.runState)});
    QString clock = QStringLiteral("no valid time");
    if (s.loggerClock.isValid())
        clock = s.loggerClock.toString(kDateTime)
            + (s.driftSeconds ? QStringLiteral(", ") + clockDriftText(*s.driftSeconds) : QString());
    out.append({QStringLiteral("Logger clock:"), clock});
    QString battery = QStringLiteral("not read");
    if (s.battery >= 0) {
        battery = QString::number(adcToVolts(s.battery), 'f', 2) + QStringLiteral(" V");
        if (s.battery > 0 && adcToVolts(s.battery) <= lowBatteryLimit())
            battery += QStringLiteral(" (low)");
    }
    out.append({QStringLiteral("Battery:"), battery});

    const QString every = QStringLiteral("every ") + intervalText(s.plan.intervalSeconds);
    const bool running = s.runState == mem::kRunRecording || s.runState == mem::kRunWaiting;
    QString recording = every;
    if (running && s.plan.start.isValid())
        recording += (s.runState == mem::kRunWaiting ? QStringLiteral(" from ") : QStringLiteral(" since "))
            + s.plan.start.toString(kDateMinute);
    if (s.plan.cyclic)
        recording += QStringLiteral(", cyclic");
    out.append({QStringLiteral("Recording:"), recording});

    QString used = QStringLiteral("%1 blocks; a download tells what they hold").arg(s.plan.blocks);
    if (s.usedBlocks) {
        const int percent = s.plan.blocks > 0 ? *s.usedBlocks * 100 / s.plan.blocks : 0;
        used = QStringLiteral("%1 of %2 blocks (%3 %)").arg(*s.usedBlocks).arg(s.plan.blocks).arg(percent);
    }
    out.append({QStringLiteral("Memory used:"), used});

    QString full = QStringLiteral("not while it is stopped");
    if (running && s.plan.cyclic)
        full = QStringLiteral("never: cyclic recording overwrites the oldest measurements");
    else if (running && s.plan.full.isValid())
        full = (s.loggerClock.isValid() && s.plan.full <= s.loggerClock ? QStringLiteral("since ")
                                                                        : QStringLiteral("on "))
            + s.plan.full.toString(kDateMinute);
    out.append({QStringLiteral("Memory full:"), full});
    out.append({QStringLiteral("Comment:"), s.comment});
    return out;
}

} // namespace qz
