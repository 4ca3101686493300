// quorzk-cli info FILE.qrv: the information text of a whole recording.
#include "cli/commands.h"
#include "cli/link_common.h"
#include "recording/recording.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace qz::cli {

std::unique_ptr<Recording> OpenRecordingFile(const QString& path, Prompt& prompt)
{
    auto recording = std::make_unique<Recording>(ProgramFolder::forApplication());
    if (const LoadResult loaded = recording->load(path); !loaded.ok()) {
        // As the Open command: the reader's message, then the refusal; a file that did not
        // open is said once, with its reason.
        if (const QString message = LoadMessage(loaded, path); !message.isEmpty())
            prompt.tell(message, PromptSymbol::Error);
        if (loaded.error != LoadError::CannotOpen)
            prompt.tell(QStringLiteral("This file is not for a QuorvantZK"), PromptSymbol::Error);
        return nullptr;
    }
    return recording;
}

int runInfo(const QStringList& args)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--"))) {
        QTextStream(stderr) << "usage: quorzk-cli info FILE.qrv\n";
        return 2;
    }
    StderrPrompt prompt(false);
    const auto recording = OpenRecordingFile(args[0], prompt);
    if (!recording)
        return 1;
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    // Every recorded input is shown at level 0 after loading.
    const QStringList lines = recording->infoLines(recording->view(0));
    for (const QString& line : lines) {
        out.write(line.toUtf8());
        out.write("\n");
    }
    return out.flush() ? 0 : 1;
}

} // namespace qz::cli
