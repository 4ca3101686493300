// The recording information text: what the information window shows and every export
// begins with.
#include "recording/recording.h"

#include "model/values.h"

namespace qz {

namespace {

// "%14s": right-justified in 14 characters, a longer text is not cut.
QString Column(const QString& text)
{
    return text.rightJustified(14, QLatin1Char(' '));
}

QString IntervalText(int seconds)
{
    QString s;
    if (seconds / 60 != 0)
        s += QString::number(seconds / 60) + QStringLiteral(" Min  ");
    if (seconds % 60 != 0)
        s += QString::number(seconds % 60) + QStringLiteral(" Sec");
    return s;
}

} // namespace

QStringList Recording::InfosZk300(const ViewRecord& view)
{
    QStringList lines;
    InfosZk300(lines, view);
    return lines;
}

void Recording::InfosZk300(QStringList& lines, const ViewRecord& view)
{
    std::array<long double, kInputCount> maxValue{};
    std::array<long double, kInputCount> minValue{};
    for (int i = 0; i < kInputCount; ++i) {
        if (!enabled_[i])
            continue;
        data_.CurrentInput = i;
        maxValue[i] = Normalize(i, PhysicalValue(i, view.rawMax[i]));
        minValue[i] = Normalize(i, PhysicalValue(i, view.rawMin[i]));
    }

    QString inputs, scaleMax, scaleMin, minimum, maximum, average;
    for (int i = 0; i < kInputCount; ++i) {
        if (!IsInputDrawn(i))
            continue;
        data_.CurrentInput = i;
        const QString unit = QLatin1Char(' ') + data_.GetInputUnit();
        QString name = Column(data_.GetInputName());
        name[2] = QLatin1Char(char('1' + i));
        inputs += name;
        scaleMax += Column(FormatValueShort(data_.GetScaleHigh()) + unit);
        scaleMin += Column(FormatValueShort(data_.GetScaleLow()) + unit);
        minimum += Column(FormatValue(formats_[i], static_cast<double>(minValue[i])) + unit);
        maximum += Column(FormatValue(formats_[i], static_cast<double>(maxValue[i])) + unit);
        const long double avg = PhysicalValue(i, view.average[i]);
        average += Column(FormatValueShort(static_cast<double>(avg)) + unit);
    }

    lines << QStringLiteral("Record Name        : ") + TrimLeadingBlanks(TrimTrailingBlanks(data_.GetRecordName()))
          << QStringLiteral("Serial Number      : ") + data_.GetSerialNumber()
          << QStringLiteral("Recording Interval : ") + IntervalText(data_.GetInterval())
          << QStringLiteral("Start Date/Time    : ") + data_.GetRecordDateText(view.first) + QLatin1Char(' ')
                 + data_.GetRecordTimeText(view.first)
          << QStringLiteral("End Date/Time      : ") + data_.GetRecordDateText(view.last) + QLatin1Char(' ')
                 + data_.GetRecordTimeText(view.last)
          << QStringLiteral("Inputs             : ") + inputs
          << QStringLiteral("Scale max          : ") + scaleMax
          << QStringLiteral("Scale min          : ") + scaleMin
          << QStringLiteral("Minimum            : ") + minimum
          << QStringLiteral("Maximum            : ") + maximum
          << QStringLiteral("Average            : ") + average
          << QStringLiteral("# Measurements     : ") + QString::number(view.last - view.first + 1)
          << QStringLiteral("Battery Voltage    : ") + data_.GetBatteryText()
          << QString();
}

} // namespace qz
