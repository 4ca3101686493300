// quorzk-cli plot FILE.qrv [MORE.qrv ...] --output FILE.png|FILE.svg|FILE.pdf [--size WxH]
// [--from T] [--to T] [--align start] [--inputs 1,3] [--own-scales]: the graph of one or
// more recordings as the graph window draws it (the printed page for PDF), for reports
// and web pages.
#include "cli/commands.h"
#include "cli/link_common.h"
#include "graph/graph_draw.h"
#include "graph/graph_view.h"
#include "graph/time_range.h"
#include "platform/regular_file.h"
#include "platform/safe_file.h"
#include "recording/recording_data.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QTextStream>

#include <array>
#include <optional>

namespace qz::cli {

namespace {

const char kUsage[] =
    "usage: quorzk-cli plot FILE.qrv [MORE.qrv ...] --output FILE.png|FILE.svg|FILE.pdf [--size WxH]\n"
    "                       [--from \"YYYY-MM-DD hh:mm:ss\"] [--to \"YYYY-MM-DD hh:mm:ss\"]\n"
    "                       [--align start] [--inputs 1,3] [--own-scales] [--force]\n";
constexpr int kMaxSide = 10000;
constexpr int kPngQuality = 80;

enum class PlotFormat {
    Png,
    Svg,
    Pdf
};

struct PlotOptions {
    QStringList inputs; // the recording files, the first one's name above the graph
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
    QString error;
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
        } else if (a == QLatin1String("--align") && hasValue) {
            const QString how = args[++i];
            if (how == QLatin1String("start"))
                o.alignStarts = true;
            else if (how != QLatin1String("clock"))
                o.error = QStringLiteral("--align takes start or clock: '%1'").arg(how);
        } else if (a == QLatin1String("--inputs") && hasValue) {
            o.drawn = parseInputs(args[++i]);
            if (!o.drawn)
                o.error = QStringLiteral("--inputs takes input numbers 1 to 8, as 1,3: '%1'").arg(args[i]);
        } else if (a == QLatin1String("--own-scales")) {
            o.ownScales = true;
        } else if (a == QLatin1String("--force")) {
            o.force = true;
        } else if (!a.startsWith(QLatin1String("--"))) {
            o.inputs << a;
        } else {
            o.error = QStringLiteral("unexpected argument '%1'").arg(a);
        }
    }
    if (!o.error.isEmpty())
        return o;
    if (o.inputs.isEmpty()) {
        o.error = QStringLiteral("a recording file is required");
    } else if (o.inputs.size() > kMaxRecordings) {
        o.error = QStringLiteral("a graph shows at most %1 recordings").arg(kMaxRecordings);
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

} // namespace

int runPlot(const QStringList& args)
{
    const PlotOptions o = parsePlotOptions(args);
    if (!o.error.isEmpty()) {
        QTextStream(stderr) << "quorzk-cli plot: " << o.error << "\n" << kUsage;
        return 2;
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
    DisplaySettings settings = view->settings();
    settings.alignStarts = o.alignStarts;
    settings.ownScales = o.ownScales;
    if (o.drawn) {
        for (int i = 0; i < mem::kInputs; ++i) {
            if ((*o.drawn)[std::size_t(i)] && !settings.enabled[std::size_t(i)]) {
                QTextStream(stderr) << "quorzk-cli plot: input " << i + 1 << " is not recorded in "
                                    << (o.inputs.size() == 1 ? o.inputs.front()
                                                             : QStringLiteral("any of the files"))
                                    << "\n";
                return 1;
            }
            settings.shown[std::size_t(i)] = (*o.drawn)[std::size_t(i)];
        }
    }
    view->applyGraphicConfig(view->colours(), settings);
    const QString named = o.inputs.size() == 1 ? o.inputs.front() : QStringLiteral("the recordings");
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

    QByteArray bytes;
    QString reason;
    if (!render(o, *view, bytes, reason)) {
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

} // namespace qz::cli
