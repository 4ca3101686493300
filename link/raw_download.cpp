#include "link/raw_download.h"

#include "link/block_reader.h"
#include "link/link_texts.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "model/values.h"

namespace qz {

namespace {

LinkStatus readHeader(LoggerProtocol& q, Progress& progress, std::uint8_t* image, bool verified, int& reread)
{
    struct Step {
        int bar;
        LinkStatus (LoggerProtocol::*read)(std::uint8_t*);
        std::size_t offset;
        std::size_t size;
    };
    const Step steps[] = {
        {-1, &LoggerProtocol::readIdent, mem::kIdentification, mem::kIdentificationSize},
        {33, &LoggerProtocol::readCalibration, mem::kCalibration, mem::kCalibrationSize},
        {66, &LoggerProtocol::readProgram, mem::kProgram, mem::kProgramSize},
        {100, &LoggerProtocol::readInputTable, mem::kInputTable, mem::kInputTableSize},
    };
    for (const Step& s : steps) {
        if (s.bar >= 0)
            progress.setPosition(s.bar);
        const auto read = [&q, &s](std::uint8_t* out) { return (q.*s.read)(out); };
        const CheckedRead got = readArea(read, image + s.offset, s.size, verified);
        reread += got.reread() ? 1 : 0;
        if (got.status != LinkStatus::Ok)
            return got.status;
        // Replies that never agreed: the header is not known.
        if (!got.steady)
            return LinkStatus::BadChecksum;
    }
    return LinkStatus::Ok;
}

} // namespace

RawDownload rawDownload(LoggerProtocol& q, Progress& progress, bool verified)
{
    RawDownload r;
    // Cleared, so that a block which did not come holds zeros rather than anything else.
    std::vector<std::uint8_t> image(mem::kImageSize, 0);
    progress.setCaption(texts::downloadingCaption());
    progress.setMaximum(100);
    progress.setPosition(0);
    progress.setCancelEnabled(true);

    r.link = readHeader(q, progress, image.data(), verified, r.rereadBlocks);
    if (r.link != LinkStatus::Ok) {
        progress.setCancelEnabled(false);
        return r;
    }
    const ConstByteView view{image.data(), image.size()};
    r.blocks = memoryBlocks(view.u16(mem::kDeviceCode));
    int missedInARow = 0;
    int k = 0;
    for (; k < r.blocks && missedInARow < kRawDownloadGoneAfter; ++k) {
        const CheckedRead got = readBlock(q, k, image.data() + mem::blockAddress(k), verified);
        r.rereadBlocks += got.reread() ? 1 : 0;
        if (got.status == LinkStatus::Ok && got.steady) {
            missedInARow = 0;
        } else if (got.status == LinkStatus::Ok) {
            ++r.missedBlocks; // it answered, but never the same twice
            missedInARow = 0;
        } else {
            ++r.missedBlocks;
            ++missedInARow;
        }
        progress.setPosition(rawBlockBar(k));
        if (progress.cancelled()) {
            progress.setCancelEnabled(false);
            r.end = RawDownloadEnd::Cancelled;
            return r;
        }
    }
    r.missedBlocks += r.blocks - k;
    progress.setCancelEnabled(false);
    r.end = r.missedBlocks > 0 ? RawDownloadEnd::BlocksMissed : RawDownloadEnd::Complete;
    image.resize(mem::blockAddress(r.blocks));
    r.image = std::move(image);
    return r;
}

} // namespace qz
