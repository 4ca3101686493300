// quorzk-cli plot FILE.qrv --output FILE.png|FILE.svg|FILE.pdf [--size WxH] [--from T]
// [--to T]: the graph of a recording as the graph window draws it (the printed page for
// PDF), for reports and web pages.
#include "cli/commands.h"
#include "cli/fleet_output.h"
#include "cli/link_common.h"
#include "graph/graph_draw.h"
#include "graph/graph_view.h"
#include "graph/time_range.h"
#include "platform/regular_file.h"
#include "platform/safe_file.h"
#include "recording/recording_data.h"
#include "store/store_image.h"
#include "store/stored_forms.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QTextStream>

#include <algorithm>
#include <limits>
#include <optional>

namespace qz::cli {

namespace {

const char kUsage[] =
    "usage: quorzk-cli plot FILE.qrv --output FILE.png|FILE.svg|FILE.pdf [--size WxH]\n"
    "                       [--from \"YYYY-MM-DD hh:mm:ss\"] [--to \"YYYY-MM-DD hh:mm:ss\"] [--force]\n"
    "       quorzk-cli plot [--store URL] --logger SERIAL|LABEL --output FILE.png|FILE.svg|FILE.pdf\n"
    "                       [--size WxH] [--from ...] [--to ...] [--force]\n";
constexpr int kMaxSide = 10000;

enum class PlotFormat {
    Png,
    Svg,
    Pdf
};

struct PlotOptions {
    QString input;
    QString store; // the fleet store: with --logger, drawn from there instead of a file
    QString logger;
    QString output;
    PlotFormat format = PlotFormat::Png;
    QSize size{800, 600};
    bool sizeGiven = false;
    std::optional<QDateTime> from;
    std::optional<QDateTime> to;
    bool force = false;
    QString error;
};

std::optional<QDateTime> parseInstant(const QString& text)
{
    const QDateTime t = QDateTime::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!t.isValid())
        return std::nullopt;
    return t;
}

PlotOptions parsePlotOptions(const QStringList& args)
{
    PlotOptions o;
    for (int i = 0; i < args.size() && o.error.isEmpty(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--output") && hasValue) {
            o.output = args[++i];
        } else if (a == QLatin1String("--size") && hasValue) {
            const QRegularExpressionMatch m =
                QRegularExpression(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$")).match(args[++i]);
            const int w = m.hasMatch() ? m.captured(1).toInt() : 0;
            const int h = m.hasMatch() ? m.captured(2).toInt() : 0;
            if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide)
                o.error = QStringLiteral("--size takes WIDTHxHEIGHT in pixels, 1 to %1 each: '%2'")
                              .arg(kMaxSide)
                              .arg(args[i]);
            o.size = QSize(w, h);
            o.sizeGiven = true;
        } else if ((a == QLatin1String("--from") || a == QLatin1String("--to")) && hasValue) {
            const std::optional<QDateTime> t = parseInstant(args[++i]);
            if (!t)
                o.error = QStringLiteral("%1 takes \"YYYY-MM-DD hh:mm:ss\": '%2'").arg(a, args[i]);
            (a == QLatin1String("--from") ? o.from : o.to) = t;
        } else if (a == QLatin1String("--force")) {
            o.force = true;
        } else if (a == QLatin1String("--store") && i + 1 < args.size()) {
            o.store = args[++i];
        } else if (a == QLatin1String("--logger") && i + 1 < args.size()) {
            o.logger = args[++i];
        } else if (!a.startsWith(QLatin1String("--")) && o.input.isEmpty()) {
            o.input = a;
        } else {
            o.error = QStringLiteral("unexpected argument '%1'").arg(a);
        }
    }
    if (!o.error.isEmpty())
        return o;
    if (!o.store.isEmpty() && o.logger.isEmpty()) {
        o.error = QStringLiteral("--store goes with --logger SERIAL|LABEL");
    } else if (!o.logger.isEmpty() && !o.input.isEmpty()) {
        o.error = QStringLiteral("a recording file or --logger, not both");
    } else if (o.input.isEmpty() && o.logger.isEmpty()) {
        o.error = QStringLiteral("a recording file (or --logger SERIAL|LABEL) is required");
    } else if (o.output.isEmpty()) {
        o.error = QStringLiteral("--output FILE.png|FILE.svg|FILE.pdf is required");
    } else {
        const QString suffix = QFileInfo(o.output).suffix().toLower();
        if (suffix == QLatin1String("png"))
            o.format = PlotFormat::Png;
        else if (suffix == QLatin1String("svg"))
            o.format = PlotFormat::Svg;
        else if (suffix == QLatin1String("pdf"))
            o.format = PlotFormat::Pdf;
        else
            o.error = QStringLiteral("the output's extension chooses the format: .png, .svg or .pdf");
    }
    if (o.error.isEmpty() && o.format == PlotFormat::Pdf && o.sizeGiven)
        o.error = QStringLiteral("--size applies to .png and .svg (a PDF is an A4 page)");
    if (o.error.isEmpty() && o.from && o.to && *o.to < *o.from)
        o.error = QStringLiteral("--to lies before --from");
    return o;
}

// The drawing in the output's format, in memory; false with the reason when the encoder fails.
bool render(const PlotOptions& o, const GraphView& view, QByteArray& bytes, QString& reason)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (o.format) {
    case PlotFormat::Png: {
        if (!graphBitmap(view, o.size).save(&buffer, "PNG")) {
            reason = QStringLiteral("the PNG encoder failed");
            return false;
        }
        return true;
    }
    case PlotFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(o.size);
        svg.setViewBox(QRect(QPoint(0, 0), o.size));
        svg.setResolution(96); // points and pixels relate as on the window's canvas
        svg.setTitle(view.data().reader().recordName().trimmed());
        QPainter painter;
        if (!painter.begin(&svg)) {
            reason = QStringLiteral("the SVG writer could not begin");
            return false;
        }
        painter.fillRect(QRect(QPoint(0, 0), o.size), Qt::white);
        drawGraph(painter, screenTarget(o.size), view);
        painter.end();
        return true;
    }
    case PlotFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(300);
        pdf.setTitle(view.data().reader().recordName().trimmed());
        if (!printTo(pdf, view)) {
            reason = QStringLiteral("the PDF writer could not begin");
            return false;
        }
        return true;
    }
    }
    return false;
}

// Draws the view into the output; 0, or 1 after a message.
int drawInto(const PlotOptions& o, const GraphView& view)
{
    QByteArray bytes;
    QString reason;
    if (!render(o, view, bytes, reason)) {
        QTextStream(stderr) << "quorzk-cli plot: cannot draw " << o.output << ": " << reason << "\n";
        return 1;
    }
    SafeFile out(o.output);
    if (!out.open() || !out.write(bytes) || !out.commit()) {
        QTextStream(stderr) << "quorzk-cli plot: cannot write " << o.output << ": " << out.reason() << "\n";
        return 1;
    }
    return 0;
}

// The logger's stored measurements of the range, from its newest recording there, as the
// recording the graph draws; null after a message.
std::shared_ptr<const RecordingData> storedRecording(const PlotOptions& o)
{
    QTextStream err(stderr);
    QString urlError;
    const std::optional<StoreUrl> url = storeUrlOf(o.store, std::nullopt, urlError);
    if (!url) {
        err << "quorzk-cli plot: --store: " << urlError << "\n";
        return nullptr;
    }
    if (!QFileInfo::exists(url->path)) {
        err << "quorzk-cli plot: there is no store " << url->text() << "\n";
        return nullptr;
    }
    FleetStore store;
    std::vector<StoredRecording> recordings;
    StoreResult r = store.open(*url);
    if (r.ok())
        r = store.recordingsOf(o.logger, recordings);
    if (!r.ok()) {
        err << "quorzk-cli plot: " << r.message << "\n";
        return nullptr;
    }
    const LoggerSeconds from = o.from ? hostSeconds(*o.from) : std::numeric_limits<LoggerSeconds>::min();
    const LoggerSeconds to = o.to ? hostSeconds(*o.to) : std::numeric_limits<LoggerSeconds>::max();
    auto newest = std::find_if(recordings.rbegin(), recordings.rend(),
                               [&](const StoredRecording& s) { return s.last >= from && s.origin <= to; });
    if (newest == recordings.rend()) {
        err << "quorzk-cli plot: no measurement of " << o.logger << " lies in the time range\n";
        return nullptr;
    }
    const StoredImage drawn = storedImage(store, *newest, from, to);
    if (drawn.image.isEmpty()) {
        err << "quorzk-cli plot: " << o.logger << ": " << drawn.error << "\n";
        return nullptr;
    }
    // What the graph leaves out of the range is said, never filled in.
    if (drawn.cut || (std::next(newest) != recordings.rend() && std::next(newest)->last >= from))
        err << "quorzk-cli plot: the range holds a gap or an earlier recording; the graph shows "
            << isoText(drawn.first).replace(QLatin1Char('T'), QLatin1Char(' ')) << " to "
            << isoText(drawn.last).replace(QLatin1Char('T'), QLatin1Char(' ')) << "\n";
    const RecordingResult made = RecordingData::fromImage(drawn.image, 0, ProgramFolder::forApplication());
    if (!made.ok()) {
        err << "quorzk-cli plot: " << o.logger << ": "
            << (made.reason.isEmpty() ? QStringLiteral("the store's recording cannot be drawn") : made.reason)
            << "\n";
        return nullptr;
    }
    return made.data;
}

} // namespace

int runPlot(const QStringList& args)
{
    const PlotOptions o = parsePlotOptions(args);
    if (!o.error.isEmpty()) {
        QTextStream(stderr) << "quorzk-cli plot: " << o.error << "\n" << kUsage;
        return 2;
    }
    if (!o.logger.isEmpty()) {
        if (!o.force && QFileInfo(o.output).exists()) {
            QTextStream(stderr) << "quorzk-cli plot: " << o.output
                                << " already exists (--force replaces it)\n";
            return 1;
        }
        const auto recording = storedRecording(o);
        if (!recording)
            return 1;
        return drawInto(o, GraphView(recording));
    }
    if (isSameFile(o.input, o.output)) {
        QTextStream(stderr) << "quorzk-cli plot: the output would replace the recording " << o.input << "\n";
        return 1;
    }
    if (!o.force && QFileInfo(o.output).exists()) {
        QTextStream(stderr) << "quorzk-cli plot: " << o.output << " already exists (--force replaces it)\n";
        return 1;
    }
    StderrPrompt prompt(false);
    const auto recording = openRecordingFile(o.input, prompt);
    if (!recording)
        return 1;
    GraphView view(recording);
    switch (selectTimeRange(view, o.from, o.to)) {
    case TimeRangeResult::Selected:
        break;
    case TimeRangeResult::Empty:
        QTextStream(stderr) << "quorzk-cli plot: no measurement of " << o.input
                            << " lies in the time range\n";
        return 1;
    case TimeRangeResult::TooShort:
        QTextStream(stderr) << "quorzk-cli plot: only one measurement of " << o.input
                            << " lies in the time range; a graph needs two\n";
        return 1;
    }

    return drawInto(o, view);
}

} // namespace qz::cli
