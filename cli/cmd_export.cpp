// quorzk-cli export FILE.qrv --kind text|excel|lotus|nodate [--output OUT]: the text
// export of a whole recording, to a file or to standard output.
#include "cli/commands.h"
#include "cli/link_common.h"
#include "platform/progress.h"
#include "recording/recording.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace qz::cli {

namespace {

struct ExportOptions {
    QString input;
    QString output;
    ExportKind kind = ExportKind::Text;
    bool kindGiven = false;
    QString error;
};

bool ParseKind(const QString& text, ExportKind& kind)
{
    const struct { const char* name; ExportKind kind; } kinds[] = {
        {"text", ExportKind::Text},
        {"excel", ExportKind::Excel},
        {"lotus", ExportKind::Lotus},
        {"nodate", ExportKind::TextNoDate},
    };
    for (const auto& k : kinds) {
        if (text == QLatin1String(k.name)) {
            kind = k.kind;
            return true;
        }
    }
    return false;
}

ExportOptions ParseExportOptions(const QStringList& args)
{
    ExportOptions o;
    for (int i = 0; i < args.size() && o.error.isEmpty(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--kind") && hasValue) {
            o.kindGiven = true;
            if (!ParseKind(args[++i], o.kind))
                o.error = QStringLiteral("unknown export kind '%1' (text, excel, lotus or nodate)").arg(args[i]);
        } else if (a == QLatin1String("--output") && hasValue) {
            o.output = args[++i];
        } else if (!a.startsWith(QLatin1String("--")) && o.input.isEmpty()) {
            o.input = a;
        } else {
            o.error = QStringLiteral("unexpected argument '%1'").arg(a);
        }
    }
    if (o.error.isEmpty() && o.input.isEmpty())
        o.error = QStringLiteral("a recording file is required");
    if (o.error.isEmpty() && !o.kindGiven)
        o.error = QStringLiteral("--kind text|excel|lotus|nodate is required");
    return o;
}

} // namespace

int runExport(const QStringList& args)
{
    const ExportOptions o = ParseExportOptions(args);
    if (!o.error.isEmpty()) {
        QTextStream(stderr) << "quorzk-cli export: " << o.error << "\n"
                            << "usage: quorzk-cli export FILE.qrv --kind text|excel|lotus|nodate [--output OUT]\n";
        return 2;
    }
    StderrPrompt prompt(false);
    const auto recording = OpenRecordingFile(o.input, prompt);
    if (!recording)
        return 1;

    ExportOutcome outcome;
    QString message;
    if (o.output.isEmpty()) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly))
            return 1;
        NullProgress progress; // standard output keeps no progress display
        outcome.result = recording->exportTo(out, o.kind, progress);
        if (!out.flush())
            outcome.result = ExportResult::Failed;
    } else {
        TerminalProgress progress;
        outcome = recording->exportFile(o.output, o.kind, progress);
        message = ExportMessage(outcome, o.output);
    }
    if (outcome.result != ExportResult::Done) {
        QTextStream(stderr) << "quorzk-cli export: "
                            << (message.isEmpty() ? QStringLiteral("cannot write the export") : message) << "\n";
        return 1;
    }
    return 0;
}

} // namespace qz::cli
