// Ready-made memories of the emulator for every model of the catalogue, downloaded as the
// program does.
#include "jobs/download_job.h"
#include "jobs/job_messages.h"
#include "link/link_texts.h"
#include "model/byte_view.h"
#include "model/datetime_number.h"
#include "model/device_catalog.h"
#include "model/image_reader.h"
#include "model/memory_image.h"
#include "model/values.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "support/virtual_clock.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstring>

namespace qz::sim {
namespace {

std::vector<std::uint16_t> catalogueCodes()
{
    QFile f(QStringLiteral(QUORZK_SOURCE_DIR "/data/devices.ini"));
    std::vector<std::uint16_t> codes;
    if (!f.open(QIODevice::ReadOnly))
        return codes;
    const QRegularExpression section(QStringLiteral("^\\s*\\[Device (\\d+)\\]"));
    for (const QString& line : QString::fromLatin1(f.readAll()).split('\n')) {
        const auto m = section.match(line);
        if (m.hasMatch())
            codes.push_back(std::uint16_t(m.captured(1).toUInt()));
    }
    return codes;
}

struct Downloaded {
    DownloadStatus status;
    std::vector<std::uint8_t> image;
    QStringList messages;
};

// The download with the program's catalogue.
Downloaded download(Emulator& emulator)
{
    qz::test::VirtualClock clock;
    NullProgress progress;
    LoggerProtocol q(LinkSettings{"sim", false}, std::make_unique<EmulatorLine>(emulator, clock), clock);
    const DownloadResult r =
        downloadJob(q, {}, DeviceCatalog(ProgramFolder(QStringLiteral(QUORZK_BINARY_DIR))), progress);
    Downloaded d{r.status, r.image, {}};
    for (const Message& m : messagesOf(r))
        d.messages << m.text;
    return d;
}

unsigned word(const std::uint8_t* m, std::size_t at)
{
    return ConstByteView{m, mem::kLoggerMemorySize}.u16(at);
}

TEST(PresetsTest, ErasedMemoryIsNoRecording)
{
    for (std::uint16_t code : catalogueCodes()) {
        Emulator e;
        loadMemory(e.logger(), {.deviceCode = code, .content = Content::Erased});
        const Downloaded d = download(e);
        EXPECT_EQ(d.status, DownloadStatus::NothingUsable) << code;
        EXPECT_EQ(d.messages, QStringList{texts::notAQuorvant()}) << code;
    }
}

TEST(PresetsTest, RecordingsDownloadWhole)
{
    for (std::uint16_t code : catalogueCodes()) {
        for (Content content : {Content::Linear, Content::Wrapped}) {
            const char* kind = content == Content::Linear ? "linear" : "wrapped";
            Emulator e;
            loadMemory(e.logger(), {.deviceCode = code, .content = content});
            const std::uint8_t* m = e.logger().memory();
            const int blocks = memoryBlocks(code);
            const Downloaded d = download(e);
            ASSERT_EQ(d.status, DownloadStatus::Read) << code << kind;
            EXPECT_TRUE(d.messages.isEmpty()) << code << kind;
            const std::uint8_t* img = d.image.data();
            if (content == Content::Linear) {
                EXPECT_EQ(word(img, mem::kBlocksUsed), unsigned(blocks / 3)) << code;
                EXPECT_EQ(word(img, mem::kFirstBlock), 0u) << code;
            } else {
                EXPECT_EQ(word(img, mem::kBlocksUsed), unsigned(blocks)) << code;
                EXPECT_EQ(word(img, mem::kFirstBlock), word(m, mem::kFirstBlock)) << code;
                EXPECT_NE(word(m, mem::kFirstBlock), 0u) << code;
            }
            const std::size_t used = word(img, mem::kBlocksUsed);
            EXPECT_EQ(std::memcmp(img + mem::kHeaderSize, m + mem::kHeaderSize, mem::kBlockSize * used), 0)
                << code << kind;

            // The last record is the logger's last: stamp + n steps lands on its clock.
            std::vector<std::uint8_t> image = d.image;
            const ImageReader data(ConstByteView{image.data(), image.size()});
            EXPECT_TRUE(DeviceCatalog(ProgramFolder(QStringLiteral(QUORZK_BINARY_DIR)))
                            .lookUp(data.deviceCode())
                            .accepted)
                << code;
            const int count = data.recordCount();
            ASSERT_GT(count, 100) << code << kind;
            const CivilTime end = e.logger().clock();
            double want = 0;
            ASSERT_TRUE(
                encodeDateTime(end.year, end.month, end.day, end.hour, end.minute, end.second, 0, want));
            EXPECT_NEAR(data.recordDateTime(count), want, 0.5 / 86400) << code << kind;
        }
    }
}

} // namespace
} // namespace qz::sim
