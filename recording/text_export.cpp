// Text export of the current view: the information text, then one line per measurement
// with its date-time and the values of the drawn inputs, CR LF line ends, UTF-8.
#include "recording/recording.h"

#include "model/values.h"
#include "platform/progress.h"
#include "recording/export_stamp.h"

#include <QFile>

#include <array>
#include <vector>

namespace qz {

namespace {

constexpr int kProgressStep = 100;
constexpr qsizetype kFlushSize = 1 << 16;

} // namespace

ExportResult Recording::ExportFile(const QString& name, ExportKind kind, Progress& progress)
{
    exportFileName_ = name;
    return ExportRecord(kind, progress);
}

ExportResult Recording::ExportRecord(ExportKind kind, Progress& progress)
{
    lastError_.clear();
    // An export is created or replaced in place (a cancelled one keeps the lines written
    // so far); it can always be made again from the recording, so it is not synced to
    // disk the way a recording file is.
    QFile file(exportFileName_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        lastError_ = QStringLiteral("Cannot write ") + exportFileName_ + QStringLiteral(": ") + file.errorString();
        return ExportResult::Failed;
    }
    ExportResult result = ExportTo(file, kind, progress);
    file.close();
    if (result == ExportResult::Failed || file.error() != QFileDevice::NoError) {
        lastError_ = QStringLiteral("Cannot write ") + exportFileName_ + QStringLiteral(": ") + file.errorString();
        result = ExportResult::Failed;
    }
    return result;
}

ExportResult Recording::ExportTo(QIODevice& out, ExportKind kind, Progress& progress)
{
    const ViewRecord& view = CurrentView();
    progress.setCaption(QStringLiteral("Export..."));
    progress.setMaximum(view.last - view.first);
    progress.setCancelEnabled(true);

    QByteArray buffer;
    auto flush = [&]() {
        const bool ok = out.write(buffer) == buffer.size();
        buffer.clear();
        return ok;
    };
    for (const QString& line : InfosZk300(view)) {
        buffer += line.toUtf8();
        buffer += "\r\n";
    }

    // A value field depends only on the raw byte: each input's 256 possible fields are
    // formatted once instead of once per measurement.
    std::array<std::vector<QByteArray>, kInputCount> fields;
    for (int i = 0; i < kInputCount; ++i) {
        if (!IsInputDrawn(i))
            continue;
        fields[i].reserve(256);
        for (int raw = 0; raw < 256; ++raw) {
            const long double value = Normalize(i, PhysicalValue(i, raw));
            fields[i].push_back('\t' + FormatValue(formats_[i], static_cast<double>(value)).toUtf8());
        }
    }

    // Only measurements that exist are written, whatever the view says.
    const int first = std::max(view.first, 1);
    const int last = std::min(view.last, measurementCount_);
    ExportStamper stamp(data_, static_cast<int>(kind));
    for (int k = first; k <= last; ++k) {
        if (k % kProgressStep == 0)
            progress.setPosition(k - view.first);
        stamp.Append(buffer, k);
        for (int i = 0; i < kInputCount; ++i) {
            if (!fields[i].empty())
                buffer += fields[i][Sample(i, k)];
        }
        buffer += "\r\n";
        if (buffer.size() >= kFlushSize && !flush())
            return ExportResult::Failed;
        // Pending events (and so the Cancel button) are served every hundred lines.
        if ((k % kProgressStep == 0 || k == last) && progress.cancelled()) {
            return flush() ? ExportResult::Cancelled : ExportResult::Failed;
        }
    }
    return flush() ? ExportResult::Done : ExportResult::Failed;
}

} // namespace qz
