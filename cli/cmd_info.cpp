// quorzk-cli info FILE.qrv: the information text of a whole recording.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_common.h"
#include "platform/prompt.h"
#include "recording/exports.h"
#include "recording/recording_data.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace qz::cli {

std::shared_ptr<const RecordingData> openRecordingFile(const QString& path, Prompt& prompt,
                                                       LoadResult* result)
{
    const LoadResult loaded = RecordingData::fromFile(path, ProgramFolder::forApplication());
    // As the Open command: refusals, and a warning for a file cut short.
    for (const LoadNotice& notice : loadNotices(loaded, path))
        prompt.tell(notice.text,
                    notice.kind == NoticeKind::Warning ? PromptSymbol::Warning : PromptSymbol::Error);
    if (result)
        *result = loaded;
    return loaded.data;
}

int runInfo(const QStringList& args)
{
    CommandLine options(usage::kInfo);
    if (const auto done = options.parse(args))
        return *done;
    const QStringList files = options.positional();
    if (files.isEmpty())
        return options.usageError(QStringLiteral("a recording file is required"));
    if (const auto refused = options.refuseArgumentsPast(1))
        return *refused;
    const QString& file = files.constFirst();
    StderrPrompt prompt(false);
    LoadResult loaded;
    const auto recording = openRecordingFile(file, prompt, &loaded);
    if (!recording)
        return 1;
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    // The whole recording with every recorded input, as a new graph shows it.
    QStringList lines = informationLines(*recording, wholeRecording(*recording));
    // The text describes the complete blocks only; it says so when the file holds less.
    if (const QString warning = truncationWarning(loaded, file); !warning.isEmpty())
        lines << warning;
    for (const QString& line : lines) {
        out.write(line.toUtf8());
        out.write("\n");
    }
    return out.flush() ? 0 : 1;
}

} // namespace qz::cli
