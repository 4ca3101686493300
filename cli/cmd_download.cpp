// quorzk-cli download: the Download command without windows. The recording is accepted
// as the graph window accepts it and saved as Save writes it.
#include "cli/commands.h"
#include "cli/link_common.h"
#include "link/download_sequence.h"
#include "model/datetime_number.h"
#include "platform/program_folder.h"
#include "recording/recording.h"

#include <QTextStream>

namespace qz::cli {

int runDownload(const QStringList& args)
{
    const LinkOptions o = parseLinkOptions(args, true);
    QTextStream err(stderr);
    if (!o.ok) {
        err << "quorzk-cli download: " << o.error << "\n"
            << "usage: quorzk-cli download --port PORT --output FILE.qrv [--yes] [--trace FILE]\n";
        return 2;
    }
    CliLink link(o.trace);
    StderrPrompt prompt(o.yes);
    TerminalProgress progress;
    auto logger = link.open(o.port);

    bool written = false;
    const ProgramFolder folder = ProgramFolder::forApplication();
    const DownloadOutcome outcome = runDownload(
        *logger, progress, prompt, [&](const std::vector<std::uint8_t>& image) {
            Recording recording(folder);
            recording.setImage(QByteArray(reinterpret_cast<const char*>(image.data()),
                                          static_cast<qsizetype>(image.size())));
            recording.setCreated(ToDateTimeNumber(link.clock().localNow()));
            if (!recording.initialize())
                return ImageAcceptance{false, recording.measurementCount()};
            const SaveResult saved = recording.save(o.output);
            written = saved.ok();
            if (!written)
                err << "quorzk-cli download: cannot write " << o.output << ": "
                    << SaveMessage(saved, o.output) << "\n";
            return ImageAcceptance{true, recording.measurementCount()};
        });
    logger.reset(); // closes the port
    const bool saved = outcome == DownloadOutcome::Accepted && written;
    if (saved)
        err << "saved " << o.output << "\n";
    const bool traced = link.saveTrace(QStringLiteral("download"));
    return saved && traced ? 0 : 1;
}

} // namespace qz::cli
