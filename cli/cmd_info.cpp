// quorzk-cli info FILE.qrv: the information text of a whole recording.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_common.h"
#include "recording/recording.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace qz::cli {

std::unique_ptr<Recording> openRecordingFile(const QString& path, Prompt& prompt, LoadResult* result)
{
    auto recording = std::make_unique<Recording>(ProgramFolder::forApplication());
    const LoadResult loaded = recording->load(path);
    // As the Open command: refusals, and a warning for a file cut short.
    tellLoad(prompt, loaded, path);
    if (result)
        *result = loaded;
    if (!loaded.ok())
        return nullptr;
    return recording;
}

int runInfo(const QStringList& args)
{
    CommandLine line(usage::kInfo);
    if (const auto done = line.parse(args))
        return *done;
    const QStringList files = line.positional();
    if (files.isEmpty())
        return line.usageError(QStringLiteral("a recording file is required"));
    if (files.size() > 1)
        return line.usageError(QStringLiteral("unexpected argument '%1'").arg(files[1]));
    const QString& file = files.constFirst();
    StderrPrompt prompt(false);
    LoadResult loaded;
    const auto recording = openRecordingFile(file, prompt, &loaded);
    if (!recording)
        return 1;
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    // Every recorded input is shown at level 0 after loading.
    QStringList lines = recording->infoLines(recording->view(0));
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
