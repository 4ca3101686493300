// quorzk-cli export FILE.qrv --kind text|excel|lotus|nodate|csv [--output OUT [--force]]:
// the export of a whole recording, to a file or to standard output.
#include "cli/command_line.h"
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
#include <optional>

namespace qz::cli {

namespace {

struct ExportOptions {
    QString input;
    QString output;
    ExportKind kind = ExportKind::Text;
    bool kindGiven = false;
    bool force = false; // an existing output may be replaced
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

// The options; a usage error's exit status when the command cannot run.
std::optional<int> parseExportOptions(const QStringList& args, ExportOptions& o)
{
    CommandLine line(usage::kExport);
    line.addOption({"kind"}, QStringLiteral("how each row is stamped, or csv"),
                   QStringLiteral("text|excel|lotus|nodate|csv"));
    line.addOption(
        {"output"},
        QStringLiteral("the file to write (through a temporary file); without it, standard output"),
        QStringLiteral("OUT"));
    line.addOption({"force"}, QStringLiteral("replace an existing OUT"));
    if (const auto done = line.parse(args))
        return done;
    const QStringList files = line.positional();
    if (const auto refused = line.refuseArgumentsPast(1))
        return refused;
    o.input = files.value(0);
    o.output = line.value("output");
    o.force = line.isSet("force");
    o.kindGiven = line.isSet("kind");
    if (o.kindGiven && !parseKind(line.value("kind"), o.kind))
        return line.usageError(QStringLiteral("unknown export kind '%1' (text, excel, lotus, nodate or csv)")
                                   .arg(line.value("kind")));
    if (o.input.isEmpty())
        return line.usageError(QStringLiteral("a recording file is required"));
    if (!o.kindGiven)
        return line.usageError(QStringLiteral("--kind text|excel|lotus|nodate|csv is required"));
    if (o.force && o.output.isEmpty())
        return line.usageError(QStringLiteral("--force applies to --output only"));
    return std::nullopt;
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
    ExportOptions o;
    if (const auto done = parseExportOptions(args, o))
        return *done;
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
