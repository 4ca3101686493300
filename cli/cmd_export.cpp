// quorzk-cli export FILE.qrv --kind text|excel|lotus|nodate|csv [--output OUT [--force]]:
// the export of a whole recording, to a file or to standard output.
#include "cli/commands.h"
#include "cli/link_common.h"
#include "platform/progress.h"
#include "platform/regular_file.h"
#include "recording/exports.h"
#include "recording/recording_data.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace qz::cli {

namespace {

struct ExportOptions {
    QString input;
    QString output;
    ExportKind kind = ExportKind::Text;
    bool kindGiven = false;
    bool force = false; // an existing output may be replaced
    QString error;
};

bool parseKind(const QString& text, ExportKind& kind)
{
    const struct {
        const char* name;
        ExportKind kind;
    } kinds[] = {
        {"text", ExportKind::Text},         {"excel", ExportKind::Excel}, {"lotus", ExportKind::Lotus},
        {"nodate", ExportKind::TextNoDate}, {"csv", ExportKind::Csv},
    };
    for (const auto& k : kinds) {
        if (text == QLatin1String(k.name)) {
            kind = k.kind;
            return true;
        }
    }
    return false;
}

ExportOptions parseExportOptions(const QStringList& args)
{
    ExportOptions o;
    for (int i = 0; i < args.size() && o.error.isEmpty(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--kind") && hasValue) {
            o.kindGiven = true;
            if (!parseKind(args[++i], o.kind))
                o.error = QStringLiteral("unknown export kind '%1' (text, excel, lotus, nodate or csv)")
                              .arg(args[i]);
        } else if (a == QLatin1String("--output") && hasValue) {
            o.output = args[++i];
        } else if (a == QLatin1String("--force")) {
            o.force = true;
        } else if (!a.startsWith(QLatin1String("--")) && o.input.isEmpty()) {
            o.input = a;
        } else {
            o.error = QStringLiteral("unexpected argument '%1'").arg(a);
        }
    }
    if (o.error.isEmpty() && o.input.isEmpty())
        o.error = QStringLiteral("a recording file is required");
    if (o.error.isEmpty() && !o.kindGiven)
        o.error = QStringLiteral("--kind text|excel|lotus|nodate|csv is required");
    if (o.error.isEmpty() && o.force && o.output.isEmpty())
        o.error = QStringLiteral("--force applies to --output only");
    return o;
}

// Why the output may not be written, or empty.
QString outputRefusal(const ExportOptions& o)
{
    if (isSameFile(o.input, o.output))
        return exportMessage({ExportResult::SameAsInput, QString()}, o.output);
    if (!o.force && QFileInfo(o.output).exists())
        return o.output + QStringLiteral(" already exists (--force replaces it)");
    return QString();
}

} // namespace

int runExport(const QStringList& args)
{
    const ExportOptions o = parseExportOptions(args);
    if (!o.error.isEmpty()) {
        QTextStream(stderr) << "quorzk-cli export: " << o.error << "\n"
                            << "usage: quorzk-cli export FILE.qrv --kind text|excel|lotus|nodate|csv "
                               "[--output OUT [--force]]\n";
        return 2;
    }
    if (!o.output.isEmpty()) {
        if (const QString refusal = outputRefusal(o); !refusal.isEmpty()) {
            QTextStream(stderr) << "quorzk-cli export: " << refusal << "\n";
            return 1;
        }
    }
    StderrPrompt prompt(false);
    const auto recording = openRecordingFile(o.input, prompt);
    if (!recording)
        return 1;

    ExportOutcome outcome;
    QString message;
    if (o.output.isEmpty()) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly))
            return 1;
        NullProgress progress; // standard output keeps no progress display
        outcome = exportTo(out, *recording, wholeRecording(*recording), o.kind, progress);
        if (outcome.result == ExportResult::Done && !out.flush())
            outcome = {ExportResult::Failed, out.errorString()};
        message = exportMessage(outcome, QStringLiteral("standard output"));
    } else {
        TerminalProgress progress;
        outcome = exportFile(o.output, *recording, wholeRecording(*recording), o.kind, progress);
        message = exportMessage(outcome, o.output);
    }
    if (outcome.result != ExportResult::Done) {
        QTextStream(stderr) << "quorzk-cli export: "
                            << (message.isEmpty() ? QStringLiteral("cannot write the export") : message)
                            << "\n";
        return 1;
    }
    return 0;
}

} // namespace qz::cli
