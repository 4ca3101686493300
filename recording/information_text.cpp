// The recording information text: what the information window shows and every export
// begins with.
#include "recording/exports.h"
#include "recording/recording_data.h"

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

QStringList informationLines(const RecordingData& data, const DataRange& range)
{
    const RangeStatistics stats = rangeStatistics(data, range.first, range.last);
    std::array<long double, mem::kInputs> maxValue{};
    std::array<long double, mem::kInputs> minValue{};
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!data.isEnabled(i))
            continue;
        maxValue[i] = data.normalize(i, data.physicalValue(i, stats[i].rawMax));
        minValue[i] = data.normalize(i, data.physicalValue(i, stats[i].rawMin));
    }

    const ImageReader& r = data.reader();
    QString inputs, scaleMax, scaleMin, minimum, maximum, average;
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!data.isEnabled(i) || !range.inputs[std::size_t(i)])
            continue;
        const QString unit = QLatin1Char(' ') + r.inputUnit(i);
        QString name = column(r.inputName(i));
        name[2] = QLatin1Char(char('1' + i));
        inputs += name;
        scaleMax += column(r.scaleHighText(i) + unit);
        scaleMin += column(r.scaleLowText(i) + unit);
        minimum += column(formatValue(data.valueFormat(i), static_cast<double>(minValue[i])) + unit);
        maximum += column(formatValue(data.valueFormat(i), static_cast<double>(maxValue[i])) + unit);
        const long double avg = data.physicalValue(i, stats[i].average);
        average += column(formatValueShort(static_cast<double>(avg)) + unit);
    }

    QStringList lines;
    lines << QStringLiteral("Record Name        : ") + trimLeadingBlanks(trimTrailingBlanks(r.recordName()))
          << QStringLiteral("Serial Number      : ") + serialNumberText(r.serialNumber())
          << QStringLiteral("Recording Interval : ") + intervalText(r.interval())
          << QStringLiteral("Start Date/Time    : ") + r.recordDateText(range.first) + QLatin1Char(' ')
            + r.recordTimeText(range.first)
          << QStringLiteral("End Date/Time      : ") + r.recordDateText(range.last) + QLatin1Char(' ')
            + r.recordTimeText(range.last)
          << QStringLiteral("Inputs             : ") + inputs
          << QStringLiteral("Scale max          : ") + scaleMax
          << QStringLiteral("Scale min          : ") + scaleMin
          << QStringLiteral("Minimum            : ") + minimum
          << QStringLiteral("Maximum            : ") + maximum
          << QStringLiteral("Average            : ") + average
          << QStringLiteral("# Measurements     : ") + QString::number(range.last - range.first + 1)
          << QStringLiteral("Battery Voltage    : ") + r.batteryText() << QString();
    return lines;
}

} // namespace qz
