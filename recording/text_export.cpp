// Export of a range of a recording: the information text (or, as comma-separated values, a
// line of column names), then one line per measurement with its date-time and the values
// of the drawn inputs, CR LF line ends, UTF-8.
#include "recording/exports.h"

#include "model/number_pattern.h"
#include "platform/progress.h"
#include "platform/regular_file.h"
#include "platform/safe_file.h"
#include "recording/csv_export.h"
#include "recording/export_stamp.h"
#include "recording/recording_data.h"

#include <QLocale>

#include <array>
#include <vector>

namespace qz {

namespace {

constexpr int kProgressStep = 100;
constexpr qsizetype kFlushSize = 1 << 16;
static_assert(static_cast<int>(ExportKind::Csv) == ExportStamper::kIsoForm);

} // namespace

ExportOutcome exportFile(const QString& name, const RecordingData& data, const DataRange& range,
                         ExportKind kind, Progress& progress)
{
    // Writing over the recording's own file would destroy it before it was read again.
    if (!data.fileName().isEmpty() && isSameFile(data.fileName(), name))
        return {ExportResult::SameAsInput, QString()};
    // A failed or killed export leaves the previous file as it was, never a cut one; a
    // cancelled export keeps the lines written so far.
    SafeFile file(name);
    if (!file.open())
        return {ExportResult::Failed, file.reason()};
    const ExportOutcome outcome = exportTo(file.device(), data, range, kind, progress);
    if (outcome.result == ExportResult::Failed)
        return outcome; // the temporary file goes with file
    if (!file.commit())
        return {ExportResult::Failed, file.reason()};
    return outcome;
}

ExportOutcome exportTo(QIODevice& out, const RecordingData& data, const DataRange& range, ExportKind kind,
                       Progress& progress)
{
    progress.setCaption(QStringLiteral("Export..."));
    progress.setMaximum(range.last - range.first);
    progress.setCancelEnabled(true);

    QByteArray buffer;
    QString reason;
    auto flush = [&]() {
        const bool ok = writeAll(out, buffer.constData(), buffer.size(), reason);
        buffer.clear();
        return ok;
    };
    const auto failed = [&]() { return ExportOutcome{ExportResult::Failed, reason}; };
    const bool csv = kind == ExportKind::Csv;
    if (csv) {
        buffer += csvHeader(data, range);
        buffer += "\r\n";
    } else {
        for (const QString& line : informationLines(data, range)) {
            buffer += line.toUtf8();
            buffer += "\r\n";
        }
    }

    // A value field depends only on the raw byte: each input's 256 possible fields are
    // formatted once instead of once per measurement. The text layouts show the value as
    // the display rounds it; comma-separated values give the conversion's own value with
    // a '.' in every locale (a number never needs quotes).
    const QString point = QLocale().decimalPoint();
    std::array<std::vector<QByteArray>, mem::kInputs> fields;
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!data.isEnabled(i) || !range.inputs[std::size_t(i)])
            continue;
        fields[i].reserve(256);
        const int decimals = csv ? csvDecimals(data, i) : 0;
        for (int raw = 0; raw < 256; ++raw) {
            if (csv) {
                fields[i].push_back(',' + csvNumber(data.physicalValue(i, raw), decimals));
                continue;
            }
            const long double value = data.normalize(i, data.physicalValue(i, raw));
            fields[i].push_back(
                '\t' + formatNumberPattern(data.valueFormat(i), static_cast<double>(value), point).toUtf8());
        }
    }

    // Only measurements that exist are written, whatever the range says.
    const int first = std::max(range.first, 1);
    const int last = std::min(range.last, data.measurementCount());
    ExportStamper stamp(data.reader(), static_cast<int>(kind));
    for (int k = first; k <= last; ++k) {
        if (k % kProgressStep == 0)
            progress.setPosition(k - range.first);
        stamp.append(buffer, k);
        for (int i = 0; i < mem::kInputs; ++i) {
            if (!fields[i].empty())
                buffer += fields[i][data.sample(i, k)];
        }
        buffer += "\r\n";
        if (buffer.size() >= kFlushSize && !flush())
            return failed();
        // Pending events (and so the Cancel button) are served every hundred lines.
        if ((k % kProgressStep == 0 || k == last) && progress.cancelled())
            return flush() ? ExportOutcome{ExportResult::Cancelled, QString()} : failed();
    }
    return flush() ? ExportOutcome{} : failed();
}

} // namespace qz
