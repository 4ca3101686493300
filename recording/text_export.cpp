// Export of the current view: the information text (or, as comma-separated values, a
// line of column names), then one line per measurement with its date-time and the values
// of the drawn inputs, CR LF line ends, UTF-8.
#include "recording/recording.h"

#include "model/number_pattern.h"
#include "platform/progress.h"
#include "platform/regular_file.h"
#include "platform/safe_file.h"
#include "recording/csv_export.h"
#include "recording/export_stamp.h"

#include <QLocale>

#include <array>
#include <vector>

namespace qz {

namespace {

constexpr int kProgressStep = 100;
constexpr qsizetype kFlushSize = 1 << 16;
static_assert(static_cast<int>(ExportKind::Csv) == ExportStamper::kIsoForm);

} // namespace

ExportOutcome Recording::exportFile(const QString& name, ExportKind kind, Progress& progress)
{
    exportFileName_ = name;
    return exportRecord(kind, progress);
}

ExportOutcome Recording::exportRecord(ExportKind kind, Progress& progress) const
{
    // Writing over the recording's own file would destroy it before it was read again.
    if (!fileName_.isEmpty() && isSameFile(fileName_, exportFileName_))
        return {ExportResult::SameAsInput, QString()};
    // A failed or killed export leaves the previous file as it was, never a cut one; a
    // cancelled export keeps the lines written so far.
    SafeFile file(exportFileName_);
    if (!file.open())
        return {ExportResult::Failed, file.reason()};
    const ExportOutcome outcome = exportTo(file.device(), kind, progress);
    if (outcome.result == ExportResult::Failed)
        return outcome; // the temporary file goes with file
    if (!file.commit())
        return {ExportResult::Failed, file.reason()};
    return outcome;
}

ExportOutcome Recording::exportTo(QIODevice& out, ExportKind kind, Progress& progress) const
{
    const ViewRecord& view = currentView();
    progress.setCaption(QStringLiteral("Export..."));
    progress.setMaximum(view.last - view.first);
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
        buffer += csvHeader(*this);
        buffer += "\r\n";
    } else {
        for (const QString& line : infoLines(view)) {
            buffer += line.toUtf8();
            buffer += "\r\n";
        }
    }

    // A value field depends only on the raw byte: each input's 256 possible fields are
    // formatted once instead of once per measurement. Comma-separated values keep their
    // '.' in every locale; a number never needs quotes.
    const char separator = csv ? ',' : '\t';
    const QString point = csv ? QStringLiteral(".") : QLocale().decimalPoint();
    std::array<std::vector<QByteArray>, mem::kInputs> fields;
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!isInputDrawn(i))
            continue;
        fields[i].reserve(256);
        for (int raw = 0; raw < 256; ++raw) {
            const long double value = normalize(i, physicalValue(i, raw));
            fields[i].push_back(
                separator + formatNumberPattern(formats_[i], static_cast<double>(value), point).toUtf8());
        }
    }

    // Only measurements that exist are written, whatever the view says.
    const int first = std::max(view.first, 1);
    const int last = std::min(view.last, measurementCount_);
    ExportStamper stamp(reader_, static_cast<int>(kind));
    for (int k = first; k <= last; ++k) {
        if (k % kProgressStep == 0)
            progress.setPosition(k - view.first);
        stamp.append(buffer, k);
        for (int i = 0; i < mem::kInputs; ++i) {
            if (!fields[i].empty())
                buffer += fields[i][reader_.sample(i, k)];
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
