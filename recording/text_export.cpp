// Text export of the current view: the information text, then one line per measurement
// with its date-time and the values of the drawn inputs, CR LF line ends, UTF-8.
#include "recording/recording.h"

#include "model/tdate.h"
#include "model/values.h"
#include "platform/progress.h"

#include <QSaveFile>

namespace qz {

namespace {

constexpr int kProgressStep = 100;
constexpr qsizetype kFlushSize = 1 << 16;

} // namespace

ExportResult TRecording::ExportFile(const QString& name, ExportKind kind, Progress& progress)
{
    exportFileName_ = name;
    return ExportRecord(kind, progress);
}

ExportResult TRecording::ExportRecord(ExportKind kind, Progress& progress)
{
    lastError_.clear();
    // A failed export leaves an earlier file of that name as it was; a cancelled one keeps
    // the lines written so far.
    QSaveFile file(exportFileName_);
    if (!file.open(QIODevice::WriteOnly)) {
        lastError_ = QStringLiteral("Cannot write ") + exportFileName_ + QStringLiteral(": ") + file.errorString();
        return ExportResult::Failed;
    }
    const ExportResult result = ExportTo(file, kind, progress);
    if (result == ExportResult::Failed || !file.commit()) {
        if (lastError_.isEmpty())
            lastError_ = QStringLiteral("Cannot write ") + exportFileName_ + QStringLiteral(": ") + file.errorString();
        file.cancelWriting();
        return ExportResult::Failed;
    }
    return result;
}

ExportResult TRecording::ExportTo(QIODevice& out, ExportKind kind, Progress& progress)
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

    // Only measurements that exist are written, whatever the view says.
    const int first = std::max(view.first, 1);
    const int last = std::min(view.last, measurementCount_);
    TDate date;
    QString line;
    for (int k = first; k <= last; ++k) {
        if (k % kProgressStep == 0)
            progress.setPosition(k - view.first);
        date.SetDateTime(data_.GetRecordDateTime(k));
        line = date.ExportStamp(static_cast<int>(kind));
        for (int i = 0; i < kInputCount; ++i) {
            if (!IsInputDrawn(i))
                continue;
            const long double value = Normalize(i, PhysicalValue(i, Sample(i, k)));
            line += QLatin1Char('\t');
            line += FormatValue(formats_[i], static_cast<double>(value));
        }
        buffer += line.toUtf8();
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
