// quorzk-cli download: the Download command without windows. The recording is accepted
// as the graph window accepts it and saved as Save writes it.
//
// Exit status: 0 when the recording was saved (with --keep-partial also the part before
// a damaged block, after its message); 1 when nothing was saved, and also when the
// logger's model is unknown to the catalogue: its memory is then saved as it is, but a
// script must not take it for a recording this program can show; 2 for a usage error.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_common.h"
#include "jobs/download_job.h"
#include "jobs/job_messages.h"
#include "link/link_texts.h"
#include "model/datetime_number.h"
#include "platform/program_folder.h"
#include "recording/recording_data.h"

#include <QFileInfo>
#include <QTextStream>

#include <optional>

namespace qz::cli {

namespace {

bool exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QByteArray bytesOf(const std::vector<std::uint8_t>& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
}

// The download, asked to connect once: --yes goes on without a second ping.
DownloadResult download(LoggerProtocol& logger, DownloadPolicy policy, const DeviceCatalog& catalog,
                        Progress& progress, Prompt& prompt)
{
    DownloadResult r = downloadJob(logger, policy, catalog, progress);
    prompt.tell(messagesOf(r));
    if (r.question == Question::Connect && prompt.confirm(*questionOf(r))) {
        policy.connect = ConnectPolicy::GoOn;
        r = downloadJob(logger, policy, catalog, progress);
        prompt.tell(messagesOf(r));
    }
    return r;
}

// Writes the image to the output unless something else appeared there meanwhile; says
// why not on standard error.
bool write(const QByteArray& image, const LinkOptions& o, QTextStream& err)
{
    if (!o.force && exists(o.output)) {
        err << "quorzk-cli download: " << o.output << " exists; --force replaces it\n";
        return false;
    }
    const SaveResult saved = saveImageFile(image, o.output);
    if (!saved.ok())
        err << "quorzk-cli download: cannot write " << o.output << ": " << saved.reason << "\n";
    return saved.ok();
}

// The options; a usage error's exit status when the command cannot run.
std::optional<int> parseDownloadOptions(const QStringList& args, LinkOptions& o)
{
    CommandLine line(usage::kDownload);
    line.addOption({"output"}, QStringLiteral("the recording file to write"), QStringLiteral("FILE.qrv"));
    line.addOption({"verify"},
                   QStringLiteral("read the header and every block until two reads agree (up to six), "
                                  "so that no line error passes unseen (about twice the time); use it "
                                  "on any line but a short, clean cable; always through a modem"));
    line.addOption({"keep-partial"},
                   QStringLiteral("when a damaged block ends the download, save the blocks read before it"));
    line.addOption({"force"}, QStringLiteral("replace an existing FILE.qrv"));
    line.addOption({"yes"}, QStringLiteral("answer the download's questions with yes instead of no"));
    addLinkOptions(line);
    if (const auto done = line.parse(args))
        return done;
    if (const QString error = readLinkOptions(line, o); !error.isEmpty())
        return line.usageError(error);
    if (const auto refused = line.refuseArgumentsPast(0))
        return refused;
    o.output = line.value("output");
    o.verify = line.isSet("verify");
    o.keepPartial = line.isSet("keep-partial");
    o.force = line.isSet("force");
    o.yes = line.isSet("yes");
    if (o.output.isEmpty())
        return line.usageError(QStringLiteral("--output FILE.qrv is required"));
    if (const QString error = choosePort(o); !error.isEmpty())
        return line.usageError(error);
    return std::nullopt;
}

} // namespace

int runDownload(const QStringList& args)
{
    LinkOptions o;
    if (const auto done = parseDownloadOptions(args, o))
        return *done;
    QTextStream err(stderr);
    // Refused before the logger is asked, so that no download is made in vain.
    if (!o.force && exists(o.output)) {
        err << "quorzk-cli download: " << o.output << " exists; --force replaces it\n";
        return 1;
    }
    CliLink link(o);
    if (!link.call(o.port)) {
        link.finish();
        return 1;
    }
    StderrPrompt prompt(o.yes);
    TerminalProgress progress;
    auto logger = link.open(o.port);

    DownloadPolicy policy;
    // Through a modem every block is verified: a telephone line damages more bytes.
    policy.verify = o.verify || o.dial.wanted();
    policy.keepPartial = o.keepPartial ? Decision::Yes : Decision::No;
    // A script cannot answer a question; the memory is kept, and the exit status says
    // that it is no recording this program shows.
    policy.saveUnknownModel = Decision::Yes;

    const ProgramFolder folder = ProgramFolder::forApplication();
    const DownloadResult r = download(*logger, policy, DeviceCatalog(folder), progress, prompt);
    logger.reset(); // closes the port
    bool saved = false;
    if (r.status == DownloadStatus::Read) {
        // Saved only as what the graph window would show.
        if (RecordingData::fromImage(bytesOf(r.image), toDateTimeNumber(link.clock().localNow()), folder)
                .ok())
            saved = write(bytesOf(r.image), o, err);
        else
            prompt.tell(texts::notAQuorvant(), PromptSymbol::Error);
    } else if (r.status == DownloadStatus::UnknownModel && r.saveAsItIs) {
        if (write(bytesOf(r.image), o, err))
            err << "saved " << o.output << " as it was read; this program shows it once its "
                << "catalogue knows the model\n";
    } else if (r.status == DownloadStatus::Damaged && r.taken > 0) {
        err << "quorzk-cli download: nothing saved; --keep-partial keeps the blocks read before it\n";
    }
    if (saved)
        err << "saved " << o.output << "\n";
    const bool traced = link.finish();
    if (r.status == DownloadStatus::Cancelled)
        err << link.interruptedText(QStringLiteral("download")) << "\n";
    return saved && traced ? 0 : 1;
}

} // namespace qz::cli
