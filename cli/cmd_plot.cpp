// quorzk-cli plot FILE.qrv [MORE.qrv ...] --output FILE.png|FILE.svg|FILE.pdf [--size WxH]
// [--from T] [--to T] [--align start] [--inputs 1,3] [--own-scales]: the graph of one or
// more recordings (or of a logger's measurements in the fleet store) as the graph window
// draws it (the printed page for PDF), for reports and web pages.
#include "cli/command_line.h"
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
#include <array>
#include <limits>
#include <optional>

namespace qz::cli {

namespace {

constexpr int kMaxSide = 10000;
constexpr int kPngQuality = 80;

enum class PlotFormat {
    Png,
    Svg,
    Pdf
};

struct PlotOptions {
    QStringList inputs; // the recording files, the first one's name above the graph
    QString store; // the fleet store: with --logger, drawn from there instead of a file
    QString logger;
    QString output;
    PlotFormat format = PlotFormat::Png;
    QSize size{800, 600};
    bool sizeGiven = false;
    std::optional<QDateTime> from;
    std::optional<QDateTime> to;
    bool force = false;
    bool alignStarts = false;
    bool ownScales = false;
    std::optional<std::array<bool, mem::kInputs>> drawn; // --inputs
};

// "1,3": the inputs 1 to 8 named.
std::optional<std::array<bool, mem::kInputs>> parseInputs(const QString& text)
{
    std::array<bool, mem::kInputs> drawn{};
    const QStringList parts = text.split(u',');
    for (const QString& part : parts) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok || n < 1 || n > mem::kInputs)
            return std::nullopt;
        drawn[std::size_t(n - 1)] = true;
    }
    return drawn;
}

std::optional<QDateTime> parseInstant(const QString& text)
{
    const QDateTime t = QDateTime::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!t.isValid())
        return std::nullopt;
    return t;
}

// The options; a usage error's exit status when the command cannot run.
std::optional<int> parsePlotOptions(const QStringList& args, PlotOptions& o)
{
    CommandLine line(usage::kPlot);
    line.addOption({"output"},
                   QStringLiteral("the image to write; its extension chooses the format (through a "
                                  "temporary file)"),
                   QStringLiteral("FILE.png|FILE.svg|FILE.pdf"));
    line.addOption({"size"}, QStringLiteral("the size of a PNG or SVG in pixels (default 800x600)"),
                   QStringLiteral("WxH"));
    line.addOption({"from"}, QStringLiteral("show the measurements from that time of the logger's clock"),
                   QStringLiteral("\"YYYY-MM-DD hh:mm:ss\""));
    line.addOption({"to"}, QStringLiteral("show the measurements up to that time"),
                   QStringLiteral("\"YYYY-MM-DD hh:mm:ss\""));
    line.addOption({"force"}, QStringLiteral("replace an existing image"));
    line.addOption(
        {"store"},
        QStringLiteral("with --logger: the store (sqlite:PATH or postgresql://USER@HOST:PORT/DB); default "
                       "~/.local/share/quorzk/fleet.sqlite"),
        QStringLiteral("URL"));
    line.addOption({"logger"}, QStringLiteral("draw this logger's measurements in the store"),
                   QStringLiteral("SERIAL|LABEL"));
    line.addOption({"align"},
                   QStringLiteral("clock: the recordings on the time of their clocks (the default); "
                                  "start: each from its first measurement, to compare runs"),
                   QStringLiteral("start|clock"));
    line.addOption({"inputs"}, QStringLiteral("draw only these inputs (1 to 8)"), QStringLiteral("1,3"));
    line.addOption({"own-scales"},
                   QStringLiteral("each input on its own scale filling the height, instead of one "
                                  "value axis per unit"));
    if (const auto done = line.parse(args))
        return done;
    o.inputs = line.positional();
    if (o.inputs.size() > kMaxRecordings)
        return line.usageError(QStringLiteral("a graph shows at most %1 recordings").arg(kMaxRecordings));
    if (line.isSet("align")) {
        const QString how = line.value("align");
        if (how == QLatin1String("start"))
            o.alignStarts = true;
        else if (how != QLatin1String("clock"))
            return line.usageError(QStringLiteral("--align takes start or clock: '%1'").arg(how));
    }
    if (line.isSet("inputs")) {
        o.drawn = parseInputs(line.value("inputs"));
        if (!o.drawn)
            return line.usageError(QStringLiteral("--inputs takes input numbers 1 to 8, as 1,3: '%1'")
                                       .arg(line.value("inputs")));
    }
    o.ownScales = line.isSet("own-scales");
    o.store = line.value("store");
    o.logger = line.value("logger");
    o.output = line.value("output");
    o.force = line.isSet("force");
    if (line.isSet("size")) {
        const QString size = line.value("size");
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$")).match(size);
        const int w = m.hasMatch() ? m.captured(1).toInt() : 0;
        const int h = m.hasMatch() ? m.captured(2).toInt() : 0;
        if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide)
            return line.usageError(QStringLiteral("--size takes WIDTHxHEIGHT in pixels, 1 to %1 each: '%2'")
                                       .arg(kMaxSide)
                                       .arg(size));
        o.size = QSize(w, h);
        o.sizeGiven = true;
    }
    for (const char* name : {"from", "to"}) {
        if (!line.isSet(name))
            continue;
        const std::optional<QDateTime> t = parseInstant(line.value(name));
        if (!t)
            return line.usageError(
                QStringLiteral("--%1 takes \"YYYY-MM-DD hh:mm:ss\": '%2'").arg(name, line.value(name)));
        (qstrcmp(name, "from") == 0 ? o.from : o.to) = t;
    }
    if (!o.store.isEmpty() && o.logger.isEmpty())
        return line.usageError(QStringLiteral("--store goes with --logger SERIAL|LABEL"));
    if (!o.logger.isEmpty() && !o.inputs.isEmpty())
        return line.usageError(QStringLiteral("a recording file or --logger, not both"));
    if (o.inputs.isEmpty() && o.logger.isEmpty())
        return line.usageError(QStringLiteral("a recording file (or --logger SERIAL|LABEL) is required"));
    if (o.output.isEmpty())
        return line.usageError(QStringLiteral("--output FILE.png|FILE.svg|FILE.pdf is required"));
    const QString suffix = QFileInfo(o.output).suffix().toLower();
    if (suffix == QLatin1String("png"))
        o.format = PlotFormat::Png;
    else if (suffix == QLatin1String("svg"))
        o.format = PlotFormat::Svg;
    else if (suffix == QLatin1String("pdf"))
        o.format = PlotFormat::Pdf;
    else
        return line.usageError(
            QStringLiteral("the output's extension chooses the format: .png, .svg or .pdf"));
    if (o.format == PlotFormat::Pdf && o.sizeGiven)
        return line.usageError(QStringLiteral("--size applies to .png and .svg (a PDF is an A4 page)"));
    if (o.from && o.to && *o.to < *o.from)
        return line.usageError(QStringLiteral("--to lies before --from"));
    return std::nullopt;
}

// The drawing in the output's format, in memory; false with the reason when the encoder fails.
bool render(const PlotOptions& o, const GraphView& view, QByteArray& bytes, QString& reason)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (o.format) {
    case PlotFormat::Png: {
        // A lighter compression than zlib's default: a quarter of the time, a file still
        // a hundredth of the bitmap.
        if (!graphBitmap(view, o.size).save(&buffer, "PNG", kPngQuality)) {
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
    if (url->kind == StoreUrl::Kind::Sqlite && !QFileInfo::exists(url->path)) {
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

// The drawing chosen on the command line (alignment, scales, inputs) applied to the view;
// false after a message when an input asked for was not recorded in named.
bool applyChoices(const PlotOptions& o, GraphView& view, const QString& named)
{
    DisplaySettings settings = view.settings();
    settings.alignStarts = o.alignStarts;
    settings.ownScales = o.ownScales;
    if (o.drawn) {
        for (int i = 0; i < mem::kInputs; ++i) {
            if ((*o.drawn)[std::size_t(i)] && !settings.enabled[std::size_t(i)]) {
                QTextStream(stderr) << "quorzk-cli plot: input " << i + 1 << " is not recorded in " << named
                                    << "\n";
                return false;
            }
            settings.shown[std::size_t(i)] = (*o.drawn)[std::size_t(i)];
        }
    }
    view.applyGraphicConfig(view.colours(), settings);
    return true;
}

} // namespace

int runPlot(const QStringList& args)
{
    PlotOptions o;
    if (const auto done = parsePlotOptions(args, o))
        return *done;
    if (!o.logger.isEmpty()) {
        if (!o.force && QFileInfo(o.output).exists()) {
            QTextStream(stderr) << "quorzk-cli plot: " << o.output
                                << " already exists (--force replaces it)\n";
            return 1;
        }
        const auto recording = storedRecording(o);
        if (!recording)
            return 1;
        GraphView view(recording);
        if (!applyChoices(o, view, o.logger))
            return 1;
        return drawInto(o, view);
    }
    for (const QString& input : o.inputs) {
        if (isSameFile(input, o.output)) {
            QTextStream(stderr) << "quorzk-cli plot: the output would replace the recording " << input
                                << "\n";
            return 1;
        }
    }
    if (!o.force && QFileInfo(o.output).exists()) {
        QTextStream(stderr) << "quorzk-cli plot: " << o.output << " already exists (--force replaces it)\n";
        return 1;
    }
    StderrPrompt prompt(false);
    std::optional<GraphView> view;
    for (const QString& input : o.inputs) {
        const auto recording = openRecordingFile(input, prompt);
        if (!recording)
            return 1;
        if (!view)
            view.emplace(recording);
        else
            view->addRecording(recording);
    }
    QString named = o.inputs.size() == 1 ? o.inputs.front() : QStringLiteral("any of the files");
    if (!applyChoices(o, *view, named))
        return 1;
    if (o.inputs.size() > 1)
        named = QStringLiteral("the recordings");
    switch (selectTimeRange(*view, o.from, o.to)) {
    case TimeRangeResult::Selected:
        break;
    case TimeRangeResult::Empty:
        QTextStream(stderr) << "quorzk-cli plot: no measurement of " << named << " lies in the time range\n";
        return 1;
    case TimeRangeResult::TooShort:
        QTextStream(stderr) << "quorzk-cli plot: only one measurement of " << named
                            << " lies in the time range; a graph needs two\n";
        return 1;
    }

    return drawInto(o, *view);
}

} // namespace qz::cli
