// A download through the emulator's telephone modem, read twice as every modem download is.
#include "jobs/download_job.h"
#include "link/download_memory.h"
#include "link/link_rig.h"
#include "link/modem_init.h"
#include "link/modem_rig.h"
#include "print_jobs.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qz::test {
namespace {

using sim::DialResult;

TEST(ThroughTheModem, ADownloadIsByteExact)
{
    ModemRig r({.result = DialResult::Connect}, linear(12));
    ASSERT_EQ(r.dialAndWait(modemInitCommands("AT&F\r\n"), "5551234"), DialOutcome::Connected);
    auto logger = r.make();
    RecordingProgress progress;
    const DownloadResult d = downloadJob(
        *logger, {.verify = true}, DeviceCatalog(ProgramFolder(QStringLiteral(QUORZK_BINARY_DIR))), progress);
    logger.reset();
    EXPECT_EQ(d.status, DownloadStatus::Read);
    const std::vector<std::uint8_t>& image = d.image;
    ASSERT_EQ(image.size(), std::size_t(mem::kImageSize));
    const std::uint8_t* m = r.emulator.logger().memory();
    EXPECT_EQ(std::memcmp(image.data(), m, mem::kBlocksUsed), 0);
    EXPECT_EQ(std::memcmp(image.data() + kAfterFirstBlock, m + kAfterFirstBlock,
                          mem::blockAddress(12) - kAfterFirstBlock),
              0);
    EXPECT_TRUE(told(d).isEmpty()) << told(d).join('|').toStdString();
    EXPECT_EQ(r.hangUp(), LinkStatus::Ok);
}

} // namespace
} // namespace qz::test
