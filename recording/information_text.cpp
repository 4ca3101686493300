// The recording information text: what the information window shows and every export
// begins with.
#include "recording/recording.h"

#include "model/simulated_logger.h"
#include "model/values.h"

namespace qz {

namespace {

// "%14s": right-justified in 14 characters, a longer text is not cut.
QString column(const QString& text)
{
    return text.rightJustified(14, QLatin1Char(' '));
}

QString intervalText(int seconds)
{
    QString s;
    if (seconds / 60 != 0)
        s += QString::number(seconds / 60) + QStringLiteral(" Min  ");
    if (seconds % 60 != 0)
        s += QString::number(seconds % 60) + QStringLiteral(" Sec");
    return s;
}

} // namespace

QStringList Recording::infoLines(const ViewRecord& view) const
{
    QStringList lines;
    appendInfoLines(lines, view);
    return lines;
}

void Recording::appendInfoLines(QStringList& lines, const ViewRecord& view) const
{
    std::array<long double, mem::kInputs> maxValue{};
    std::array<long double, mem::kInputs> minValue{};
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!enabled_[i])
            continue;
        maxValue[i] = normalize(i, physicalValue(i, view.rawMax[i]));
        minValue[i] = normalize(i, physicalValue(i, view.rawMin[i]));
    }

    const ImageReader& r = reader_;
    QString inputs, scaleMax, scaleMin, minimum, maximum, average;
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!isInputDrawn(i))
            continue;
        const QString unit = QLatin1Char(' ') + r.inputUnit(i);
        QString name = column(r.inputName(i));
        name[2] = QLatin1Char(char('1' + i));
        inputs += name;
        scaleMax += column(r.scaleHighText(i) + unit);
        scaleMin += column(r.scaleLowText(i) + unit);
        minimum += column(formatValue(formats_[i], static_cast<double>(minValue[i])) + unit);
        maximum += column(formatValue(formats_[i], static_cast<double>(maxValue[i])) + unit);
        const long double avg = physicalValue(i, view.average[i]);
        average += column(formatValueShort(static_cast<double>(avg)) + unit);
    }

    lines << QStringLiteral("Record Name        : ") + trimLeadingBlanks(trimTrailingBlanks(r.recordName()))
          << QStringLiteral("Serial Number      : ") + serialNumberText(r.serialNumber())
          << QStringLiteral("Recording Interval : ") + intervalText(r.interval())
          << QStringLiteral("Start Date/Time    : ") + r.recordDateText(view.first) + QLatin1Char(' ')
            + r.recordTimeText(view.first)
          << QStringLiteral("End Date/Time      : ") + r.recordDateText(view.last) + QLatin1Char(' ')
            + r.recordTimeText(view.last)
          << QStringLiteral("Inputs             : ") + inputs
          << QStringLiteral("Scale max          : ") + scaleMax
          << QStringLiteral("Scale min          : ") + scaleMin
          << QStringLiteral("Minimum            : ") + minimum
          << QStringLiteral("Maximum            : ") + maximum
          << QStringLiteral("Average            : ") + average
          << QStringLiteral("# Measurements     : ") + QString::number(view.last - view.first + 1)
          << QStringLiteral("Battery Voltage    : ") + r.batteryText() << QString();
}

} // namespace qz
