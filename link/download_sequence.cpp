#include "link/download_sequence.h"

#include "link/block_loop.h"
#include "link/block_reader.h"
#include "link/link_report.h"
#include "link/link_texts.h"
#include "model/byte_view.h"
#include "model/logger_date.h"
#include "model/memory_image.h"
#include "model/values.h"

namespace qz {

namespace {

// The oldest of blocks 0 .. count - 1 (all read and plausible); stamps that are no date
// take no part.
int oldestBlock(const std::vector<std::uint8_t>& image, int count)
{
    LoggerDate date;
    date.Year = 3000;
    double best = date.asDateTime();
    int first = 0;
    for (int j = 0; j < count; ++j) {
        date.setFromStamp({image.data() + mem::blockAddress(j), mem::kBlockSize});
        double t = 0;
        if (date.tryAsDateTime(t) && t < best) {
            best = t;
            first = j;
        }
    }
    return first;
}

struct Declared {
    int used = 0;
    int first = 0;
};

// Which blocks hold the recording, oldest first. A linear memory: the blocks taken. A
// ring read to its end: all of it, from its oldest block. A ring that stopped early at
// block k: only from the oldest block read up to k - 1, because the blocks after k, never
// read, lie between those and the newer ones before the oldest.
Declared declare(const std::vector<std::uint8_t>& image, bool ring, int taken, int blocks)
{
    if (!ring)
        return {taken, 0};
    const int first = oldestBlock(image, taken);
    if (taken == blocks)
        return {blocks, first};
    return {taken - first, first};
}

// Yes or No, asked only when the options leave it to the user.
bool decide(Decision d, Prompt& prompt, const QString& text, PromptSymbol symbol, const QString& question)
{
    if (d == Decision::Ask)
        return prompt.confirm(text + QLatin1Char('\n') + question, symbol);
    prompt.tell(text, symbol);
    return d == Decision::Yes;
}

enum class HeaderRead {
    Done,
    LinkFailed,
    Unsteady
};

// The header areas, read in order (verified as the blocks are: the calibration and the
// scales make the values); each runs only when the one before was answered.
HeaderRead readHeader(LoggerProtocol& q, DownloadProgress& progress, LinkReport& report, bool verify,
                      std::uint8_t* image)
{
    struct Step {
        int step; // of the bar, before the area is read
        LinkStatus (LoggerProtocol::*read)(std::uint8_t*);
        std::size_t offset;
        std::size_t size;
    };
    const Step steps[] = {
        {0, &LoggerProtocol::readIdent, mem::kIdentification, mem::kIdentificationSize},
        {1, &LoggerProtocol::readCalibration, mem::kCalibration, mem::kCalibrationSize},
        {2, &LoggerProtocol::readProgram, mem::kProgram, mem::kProgramSize},
        {3, &LoggerProtocol::readInputTable, mem::kInputTable, mem::kInputTableSize},
    };
    for (const Step& s : steps) {
        progress.header(s.step);
        const auto read = [&q, &s](std::uint8_t* out) { return (q.*s.read)(out); };
        const CheckedRead got = readArea(read, image + s.offset, s.size, verify);
        if (!report.ok(got.status))
            return HeaderRead::LinkFailed;
        if (!got.steady)
            return HeaderRead::Unsteady;
    }
    return HeaderRead::Done;
}

DownloadEnd hand(const std::vector<std::uint8_t>& image, Prompt& prompt, const DownloadOptions& options,
                 const DownloadReceiver& receiver)
{
    switch (receiver.accept ? receiver.accept(image) : ImageUse::Shown) {
    case ImageUse::Shown:
        return DownloadEnd::Accepted;
    case ImageUse::TooFewMeasurements:
        prompt.tell(texts::tooFewMeasurements(), PromptSymbol::Error);
        return DownloadEnd::Ended;
    case ImageUse::UnknownModel:
        break;
    }
    // The logger's memory is not lost for a catalogue that does not know its model.
    const int code = ConstByteView{image.data(), image.size()}.u16(mem::kDeviceCode);
    if (!decide(options.saveUnknownModel, prompt, texts::unknownModel(code), PromptSymbol::Error,
                texts::saveAnyway()))
        return DownloadEnd::ModelRefused;
    return receiver.saveAnyway && receiver.saveAnyway(image) ? DownloadEnd::SavedAnyway
                                                             : DownloadEnd::Stopped;
}

} // namespace

DownloadEnd downloadRecording(LoggerProtocol& q, Progress& progress, LinkReport& report,
                              const DownloadOptions& options, const DownloadReceiver& receiver)
{
    // Cleared, so that blocks which were never read hold nothing that looks recorded.
    std::vector<std::uint8_t> image(mem::kImageSize, 0);
    const ByteView view{image.data(), image.size()};
    DownloadProgress shown(progress, q.port().clock());
    shown.begin();

    Prompt& prompt = report.prompt();
    if (const HeaderRead h = readHeader(q, shown, report, options.verify, image.data());
        h != HeaderRead::Done) {
        progress.setCancelEnabled(false);
        if (h == HeaderRead::Unsteady)
            prompt.tell(texts::unsteadyHeader(), PromptSymbol::Error);
        return DownloadEnd::Stopped;
    }
    BlockLoop loop{q, shown, report};
    loop.verify = options.verify;
    loop.blocks = memoryBlocks(view.u16(mem::kDeviceCode));
    // A logger that has wrapped its ring reports a used-block count.
    loop.ring = view.u8(mem::kBlocksUsed) != 0;
    const BlockLoopEnd end = loop.run(image);
    progress.setCancelEnabled(false);

    if (end.cancelled)
        return DownloadEnd::Ended;
    if (end.linkFailed)
        return DownloadEnd::Stopped;
    if (end.unsteady >= 0) {
        prompt.tell(texts::unsteadyBlock(end.unsteady), PromptSymbol::Error);
        return DownloadEnd::Stopped;
    }
    if (end.damaged >= 0) {
        if (end.taken == 0) {
            prompt.tell(texts::damagedBlock(end.damaged), PromptSymbol::Error);
            return DownloadEnd::Stopped;
        }
        if (!decide(options.keepPartial, prompt, texts::damagedBlock(end.damaged), PromptSymbol::Warning,
                    texts::keepWhatWasRead()))
            return DownloadEnd::PartNotKept;
    }
    if (end.taken < 1)
        return DownloadEnd::NothingUsable;

    const Declared d = declare(image, loop.ring, end.taken, loop.blocks);
    view.setU16(mem::kBlocksUsed, static_cast<std::uint16_t>(d.used));
    view.setU16(mem::kFirstBlock, static_cast<std::uint16_t>(d.first));
    shown.end();
    return hand(image, prompt, options, receiver);
}

DownloadOutcome runDownload(LoggerProtocol& q, Progress& progress, Prompt& prompt,
                            const DownloadOptions& options, const DownloadReceiver& receiver)
{
    LinkReport report(q, prompt);
    const LinkStatus ping = q.ping();
    // A port that did not open has been told; asking to connect the logger would not help.
    if (ping == LinkStatus::CannotOpen)
        return DownloadOutcome::Stopped;
    if (ping != LinkStatus::Ok && !report.confirmConnect())
        return DownloadOutcome::NotConnected;
    switch (downloadRecording(q, progress, report, options, receiver)) {
    case DownloadEnd::Accepted:
        return DownloadOutcome::Accepted;
    case DownloadEnd::Ended:
        return DownloadOutcome::Ended;
    case DownloadEnd::Stopped:
        return DownloadOutcome::Stopped;
    case DownloadEnd::PartNotKept:
        return DownloadOutcome::PartNotKept;
    case DownloadEnd::ModelRefused:
        return DownloadOutcome::Failed;
    case DownloadEnd::SavedAnyway:
        return DownloadOutcome::SavedAnyway;
    case DownloadEnd::NothingUsable:
        break;
    }
    prompt.tell(texts::notAQuorvant(), PromptSymbol::Error);
    return DownloadOutcome::Failed;
}

} // namespace qz
