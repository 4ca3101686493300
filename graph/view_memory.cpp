#include "graph/view_memory.h"

#include "graph/view_time.h"
#include "model/values.h"
#include "recording/recording_data.h"

#include <QDate>
#include <QStringList>

#include <cmath>

namespace qz {

namespace {

const QString kInputs = QStringLiteral("Inputs");
const QString kColours = QStringLiteral("Colours");
const QString kAutoScale = QStringLiteral("AutoScale");
const QString kOwnScales = QStringLiteral("OwnScales");
const QString kGrid = QStringLiteral("Grid");
const QString kAxes = QStringLiteral("Axes");

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// "1" or "0"; anything else leaves the value as it was.
void readFlag(const IniFile& file, const QString& section, const QString& key, bool& value)
{
    const QString text = file.value(section, key).trimmed();
    if (text == QLatin1String("1"))
        value = true;
    else if (text == QLatin1String("0"))
        value = false;
}

// An input number 1..8 of a recorded input, 0 for none; -1 when unreadable.
int readAxis(const QString& text, const RecordingData& data)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 0 || n > mem::kInputs)
        return -2;
    if (n == 0)
        return -1;
    return data.isEnabled(n - 1) ? n - 1 : -2;
}

} // namespace

QString viewSection(const RecordingData& data)
{
    const Timeline t = timelineOf(data);
    const double seconds = t.first();
    const double days = std::floor(seconds / 86400);
    const QDate date = QDate(1899, 12, 30).addDays(std::int64_t(days));
    const std::int64_t s = std::int64_t(seconds - days * 86400);
    const QString start = QStringLiteral("%1 %2:%3:%4")
                              .arg(date.toString(QStringLiteral("yyyy-MM-dd")))
                              .arg(s / 3600, 2, 10, QLatin1Char('0'))
                              .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                              .arg(s % 60, 2, 10, QLatin1Char('0'));
    // Brackets, separators or control bytes in a serial number would end the section name.
    QString serial = trimLeadingBlanks(trimTrailingBlanks(data.reader().serialNumber()));
    for (QChar& c : serial)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'-')
            c = u'_';
    return QStringLiteral("Graph ") + serial + u' ' + start;
}

void rememberView(IniFile& file, const RecordingData& data, const DisplaySettings& settings,
                  const ColourTable& colours)
{
    const QString section = viewSection(data);
    QStringList inputs;
    QStringList table;
    for (int i = 0; i < mem::kInputs; ++i) {
        if (data.isEnabled(i) && settings.shown[std::size_t(i)])
            inputs << QString::number(i + 1);
        table << QStringLiteral("%1")
                     .arg(colours[std::size_t(1 + i)] & 0xFFFFFFu, 6, 16, QLatin1Char('0'))
                     .toUpper();
    }
    file.setValue(section, kInputs, inputs.join(u','));
    file.setValue(section, kColours, table.join(u','));
    file.setValue(section, kAutoScale, flag(settings.autoScale));
    file.setValue(section, kOwnScales, flag(settings.ownScales));
    file.setValue(section, kGrid, flag(settings.grid));
    file.setValue(section, kAxes,
                  QStringLiteral("%1,%2").arg(settings.leftAxisInput + 1).arg(settings.rightAxisInput + 1));
}

bool recallView(const IniFile& file, const RecordingData& data, DisplaySettings& settings,
                ColourTable& colours)
{
    const QString section = viewSection(data);
    if (!file.hasSection(section))
        return false;
    if (file.contains(section, kInputs)) {
        std::array<bool, mem::kInputs> shown{};
        bool readable = true;
        for (const QString& part : file.value(section, kInputs).split(u',', Qt::SkipEmptyParts)) {
            bool ok = false;
            const int n = part.trimmed().toInt(&ok);
            if (!ok || n < 1 || n > mem::kInputs)
                readable = false;
            else
                shown[std::size_t(n - 1)] = true;
        }
        if (readable) {
            for (int i = 0; i < mem::kInputs; ++i)
                if (data.isEnabled(i))
                    settings.shown[std::size_t(i)] = shown[std::size_t(i)];
        }
    }
    const QStringList table = file.value(section, kColours).split(u',');
    if (table.size() == mem::kInputs) {
        for (int i = 0; i < mem::kInputs; ++i) {
            bool ok = false;
            const uint c = table[i].trimmed().toUInt(&ok, 16);
            if (ok && c <= 0xFFFFFFu)
                colours[std::size_t(1 + i)] = c;
        }
    }
    readFlag(file, section, kAutoScale, settings.autoScale);
    readFlag(file, section, kOwnScales, settings.ownScales);
    readFlag(file, section, kGrid, settings.grid);
    const QStringList axes = file.value(section, kAxes).split(u',');
    if (axes.size() == 2) {
        const int left = readAxis(axes[0], data);
        const int right = readAxis(axes[1], data);
        if (left >= -1)
            settings.leftAxisInput = left;
        if (right >= -1)
            settings.rightAxisInput = right;
    }
    return true;
}

} // namespace qz
