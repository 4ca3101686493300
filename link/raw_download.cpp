#include "link/raw_download.h"

#include "link/link_texts.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "model/values.h"

namespace qz {

namespace {

LinkStatus readHeader(LoggerProtocol& q, Progress& progress, std::uint8_t* image)
{
    struct Step {
        int bar;
        LinkStatus (LoggerProtocol::*read)(std::uint8_t*);
        std::size_t offset;
    };
    const Step steps[] = {
        {-1, &LoggerProtocol::readIdent, mem::kIdentification},
        {33, &LoggerProtocol::readCalibration, mem::kCalibration},
        {66, &LoggerProtocol::readProgram, mem::kProgram},
        {100, &LoggerProtocol::readInputTable, mem::kInputTable},
    };
    for (const Step& s : steps) {
        if (s.bar >= 0)
            progress.setPosition(s.bar);
        if (const LinkStatus status = (q.*s.read)(image + s.offset); status != LinkStatus::Ok)
            return status;
    }
    return LinkStatus::Ok;
}

} // namespace

RawDownload rawDownload(LoggerProtocol& q, Progress& progress)
{
    RawDownload r;
    // Cleared, so that a block which did not come holds zeros rather than anything else.
    std::vector<std::uint8_t> image(mem::kImageSize, 0);
    progress.setCaption(texts::downloadingCaption());
    progress.setMaximum(100);
    progress.setPosition(0);
    progress.setCancelEnabled(true);

    r.link = readHeader(q, progress, image.data());
    if (r.link != LinkStatus::Ok) {
        progress.setCancelEnabled(false);
        return r;
    }
    const ConstByteView view{image.data(), image.size()};
    r.blocks = memoryBlocks(view.u16(mem::kDeviceCode));
    int missedInARow = 0;
    int k = 0;
    for (; k < r.blocks && missedInARow < kRawDownloadGoneAfter; ++k) {
        if (q.readDataBlock(k, image.data() + mem::blockAddress(k)) == LinkStatus::Ok) {
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
