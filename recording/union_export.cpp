#include "recording/union_export.h"

#include "model/logger_date.h"
#include "model/number_pattern.h"
#include "platform/progress.h"
#include "platform/regular_file.h"
#include "platform/safe_file.h"
#include "recording/csv_export.h"
#include "recording/recording_data.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace qz {

namespace {

constexpr int kProgressStep = 100;
constexpr qsizetype kFlushSize = 1 << 16;
constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::max();

// One recording on its way through the lines: its next measurement and its fields.
struct Cursor {
    const ExportPart* part = nullptr;
    int next = 0;
    int last = 0;
    std::array<std::vector<QByteArray>, mem::kInputs> fields; // of each raw value; none: not written
    QByteArray empty; // the separators of a line where it has no measurement

    std::int64_t instant(int k) const
    {
        return std::int64_t(std::nearbyint(part->data->measurementTime(k) * 86400.0 + part->shiftSeconds));
    }
    std::int64_t nextInstant() const { return next <= last ? instant(next) : kNone; }
};

QByteArray columnNames(const std::vector<ExportPart>& parts)
{
    QString line = QStringLiteral("time");
    for (const ExportPart& p : parts) {
        const ImageReader& r = p.data->reader();
        for (int i = 0; i < mem::kInputs; ++i) {
            if (!p.data->isEnabled(i) || !p.range.inputs[std::size_t(i)])
                continue;
            QString name = csvColumnName(r.inputName(i), r.inputUnit(i), i);
            if (!p.label.isEmpty())
                name = p.label + QStringLiteral(": ") + name;
            line += QLatin1Char(',') + csvField(name);
        }
    }
    return line.toUtf8();
}

} // namespace

ExportOutcome exportPartsFile(const QString& name, const std::vector<ExportPart>& parts, ExportKind kind,
                              Progress& progress)
{
    for (const ExportPart& p : parts)
        if (!p.data->fileName().isEmpty() && isSameFile(p.data->fileName(), name))
            return {ExportResult::SameAsInput, QString()};
    SafeFile file(name);
    if (!file.open())
        return {ExportResult::Failed, file.reason()};
    const ExportOutcome outcome = exportPartsTo(file.device(), parts, kind, progress);
    if (outcome.result == ExportResult::Failed)
        return outcome;
    if (!file.commit())
        return {ExportResult::Failed, file.reason()};
    return outcome;
}

ExportOutcome exportPartsTo(QIODevice& out, const std::vector<ExportPart>& parts, ExportKind kind,
                            Progress& progress)
{
    const bool csv = kind == ExportKind::Csv;
    const char separator = csv ? ',' : '\t';
    const QString point = QLocale().decimalPoint();
    std::vector<Cursor> cursors(parts.size());
    int lines = 0;
    for (std::size_t n = 0; n < parts.size(); ++n) {
        Cursor& c = cursors[n];
        const ExportPart& p = parts[n];
        c.part = &p;
        // Only measurements that exist are written, whatever the range says.
        c.next = std::max(p.range.first, 1);
        c.last = std::min(p.range.last, p.data->measurementCount());
        lines += std::max(0, c.last - c.next + 1);
        for (int i = 0; i < mem::kInputs; ++i) {
            if (!p.data->isEnabled(i) || !p.range.inputs[std::size_t(i)])
                continue;
            c.empty += separator;
            c.fields[std::size_t(i)].reserve(256);
            // As the export of one recording: comma-separated values give the conversion's
            // own value, the text layouts the value as the display rounds it.
            const int decimals = csv ? csvDecimals(*p.data, i) : 0;
            for (int raw = 0; raw < 256; ++raw) {
                if (csv) {
                    c.fields[std::size_t(i)].push_back(separator
                                                       + csvNumber(p.data->physicalValue(i, raw), decimals));
                    continue;
                }
                const long double v = p.data->normalize(i, p.data->physicalValue(i, raw));
                c.fields[std::size_t(i)].push_back(
                    separator + formatNumberPattern(p.data->valueFormat(i), double(v), point).toUtf8());
            }
        }
    }
    progress.setCaption(QStringLiteral("Export..."));
    progress.setMaximum(lines);
    progress.setCancelEnabled(true);

    QByteArray buffer;
    QString reason;
    const auto flush = [&]() {
        const bool ok = writeAll(out, buffer.constData(), buffer.size(), reason);
        buffer.clear();
        return ok;
    };
    const auto failed = [&]() { return ExportOutcome{ExportResult::Failed, reason}; };
    if (csv) {
        buffer += columnNames(parts);
        buffer += "\r\n";
    } else {
        for (const ExportPart& p : parts) {
            for (const QString& line : informationLines(*p.data, p.range)) {
                buffer += line.toUtf8();
                buffer += "\r\n";
            }
        }
    }

    int written = 0; // measurements
    int lineCount = 0;
    for (;;) {
        std::int64_t now = kNone;
        for (const Cursor& c : cursors)
            now = std::min(now, c.nextInstant());
        if (now == kNone)
            break;
        LoggerDate stamp;
        stamp.setDateTime(double(now) / 86400.0);
        buffer += stamp.exportStamp(int(kind)).toUtf8();
        for (Cursor& c : cursors) {
            if (c.nextInstant() != now) {
                buffer += c.empty;
                continue;
            }
            for (int i = 0; i < mem::kInputs; ++i)
                if (!c.fields[std::size_t(i)].empty())
                    buffer += c.fields[std::size_t(i)][c.part->data->sample(i, c.next)];
            ++c.next;
            ++written;
        }
        buffer += "\r\n";
        if (buffer.size() >= kFlushSize && !flush())
            return failed();
        // Pending events (and so the Cancel button) are served every hundred lines.
        if (++lineCount % kProgressStep == 0) {
            progress.setPosition(written);
            if (progress.cancelled())
                return flush() ? ExportOutcome{ExportResult::Cancelled, QString()} : failed();
        }
    }
    return flush() ? ExportOutcome{} : failed();
}

} // namespace qz
