// The download job against the emulator: linear and ring memories, the date rule, cancel,
// link failures, a port that does not open, what the catalogue and the measurement count
// make of the image, and the messages the user reads. What a download does with damaged,
// unsteady and unread blocks is in download_integrity_test.cpp.
#include "job_rig.h"
#include "link/device_line.h"
#include "link/download_progress.h"
#include "link/link_texts.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "model/values.h"
#include "support/virtual_clock.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <algorithm>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

const QString kNotAQuorvant = "This device is not a QuorvantZK";
const QString kNotResponding = "Device Not Responding";
const QString kConnect = "Please Connect The Quorvant";

TEST(DownloadJob, ALinearRecordingArrivesByteForByte)
{
    JobRig r(linear(23));
    const DownloadResult d = r.download();
    EXPECT_EQ(d.status, DownloadStatus::Read);
    EXPECT_EQ(d.image.size(), 65408u);
    EXPECT_EQ(JobRig::word(d, mem::kBlocksUsed), 23);
    EXPECT_EQ(JobRig::word(d, mem::kFirstBlock), 0);
    EXPECT_TRUE(r.sameAsLogger(d.image, 0, mem::kBlocksUsed));
    EXPECT_TRUE(r.sameAsLogger(d.image, kAfterFirstBlock, mem::blockAddress(23)));
    EXPECT_TRUE(told(d).isEmpty());
    EXPECT_EQ(d.question, Question::None);
    EXPECT_EQ(r.progress.caption, "Downloading Quorvant ...");
    EXPECT_EQ(r.progress.cancelEnabled.front(), true);
    // The header, each block once, and the erased block after them.
    EXPECT_EQ(r.emulator.commands('D'), 4 + 24);
}

TEST(DownloadJob, ThePingKeepsTheLoggersClockBesideTheHostsTime)
{
    JobRig r(linear(3));
    r.clock.advance(1234);
    const DownloadResult d = r.download();
    ASSERT_TRUE(d.clock.read());
    const auto logger = r.emulator.logger().clockRecord();
    EXPECT_EQ(d.clock.logger[mem::kClockMonth], logger[mem::kClockMonth]);
    EXPECT_EQ(d.clock.logger[mem::kClockMinute], logger[mem::kClockMinute]);
    // The host's time when the reply came: after the port settled and the frame went out.
    EXPECT_GE(d.clock.host, QDateTime(QDate(2026, 3, 5), QTime(14, 7, 10, 734)));
    EXPECT_LT(d.clock.host, QDateTime(QDate(2026, 3, 5), QTime(14, 7, 12)));
    EXPECT_EQ(r.emulator.commands('E'), 1) << "the ping is the only clock read";
}

TEST(DownloadJob, TheBarOnlyMovesForwardAndTheLineCountsTheBlocks)
{
    JobRig r(linear(23));
    r.download();
    const int blocks = memoryBlocks(ByteView{r.memory(), mem::kLoggerMemorySize}.u16(mem::kDeviceCode));
    const std::vector<int>& p = r.progress.positions;
    EXPECT_EQ(r.progress.maximum, 1000);
    // The start, 4 header steps, 24 blocks (the last one erased), the end.
    ASSERT_EQ(p.size(), 1u + 4u + 24u + 1u);
    EXPECT_EQ(p.front(), 0);
    EXPECT_EQ(p.back(), 1000);
    EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
    for (std::size_t k = 6; k < p.size(); ++k)
        EXPECT_GT(p[k], p[k - 1]) << "step " << k << " did not move the bar";

    // The line: cleared at the start, then one per block.
    const std::vector<QString>& t = r.progress.texts;
    ASSERT_EQ(t.size(), 1u + 24u);
    EXPECT_EQ(t[0], QString());
    for (std::size_t k = 1; k < t.size(); ++k)
        EXPECT_TRUE(t[k].startsWith("Block " + QString::number(k) + " of " + QString::number(blocks)))
            << t[k].toStdString();
}

TEST(DownloadProgress, TheTimeLeftFollowsThePaceOfTheBlocksRead)
{
    RecordingProgress shown;
    VirtualClock clock;
    DownloadProgress progress(shown, clock);
    progress.begin();
    for (int step = 0; step <= DownloadProgress::kHeaderSteps; ++step)
        progress.header(step);
    for (int i = 0; i < 4; ++i) {
        progress.block(i, 508);
        clock.advance(250);
    }
    // A block read again after a failed check does not move the bar back.
    progress.block(2, 508);
    progress.end();
    EXPECT_EQ(
        shown.texts,
        (std::vector<QString>{"", "Block 1 of 508", "Block 2 of 508, 2:07 left", "Block 3 of 508, 2:07 left",
                              "Block 4 of 508, 2:07 left", "Block 3 of 508, 4:13 left"}));
    EXPECT_TRUE(std::is_sorted(shown.positions.begin(), shown.positions.end()));
    EXPECT_EQ(shown.positions.back(), DownloadProgress::kMaximum);
}

TEST(DownloadProgress, BlockLineTellsTheTimeLeftInMinutesOrHours)
{
    const struct {
        int block, count;
        std::int64_t left;
        const char* text;
    } cases[] = {
        {37, 508, -1, "Block 37 of 508"},
        {37, 508, 125, "Block 37 of 508, 2:05 left"},
        {1, 508, 3725, "Block 1 of 508, 1:02:05 left"},
        {60, 60, 0, "Block 60 of 60, 0:00 left"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(blockProgressText(c.block, c.count, c.left), QString::fromLatin1(c.text));
}

TEST(DownloadJob, AWrappedRingStartsAtItsOldestBlock)
{
    sim::MemoryPreset preset;
    preset.deviceCode = 101;
    preset.content = sim::Content::Wrapped;
    preset.blocks = 40;
    JobRig r(preset);
    const int blocks = memoryBlocks(101);
    const int first = ByteView{r.memory(), mem::kLoggerMemorySize}.u16(mem::kFirstBlock);
    ASSERT_GT(first, 0);
    const DownloadResult d = r.download();
    EXPECT_EQ(d.status, DownloadStatus::Read);
    EXPECT_EQ(JobRig::word(d, mem::kBlocksUsed), blocks);
    EXPECT_EQ(JobRig::word(d, mem::kFirstBlock), first);
    EXPECT_TRUE(r.sameAsLogger(d.image, 0, mem::blockAddress(blocks)));
}

TEST(DownloadJob, AHandMadeRingOfSixtyBlocksWithItsOldestInBlock37)
{
    JobRig r(erased(0x00));
    ASSERT_EQ(memoryBlocks(0), 60);
    std::uint8_t* m = r.memory();
    reportRing(m, 60);
    for (int k = 0; k < 60; ++k)
        writeBlock(m, k, kStart.addSecs(3600 * ((k - 37 + 60) % 60)));
    const DownloadResult d = r.download();
    EXPECT_EQ(d.status, DownloadStatus::Read);
    EXPECT_EQ(JobRig::word(d, mem::kBlocksUsed), 60);
    EXPECT_EQ(JobRig::word(d, mem::kFirstBlock), 37);
}

TEST(DownloadJob, ABlockThatDoesNotContinueTheDateEndsTheRecordingAsDamaged)
{
    // A linear memory is recorded without gaps: a block whose stamp lies outside 5 days
    // and 1 hour after the one before is not a recording's end but damage (an erased block
    // is the end). The user keeps the blocks before it or not.
    const qint64 fiveDays = 5 * 24 * 3600;
    const QString damaged = "Block 4 of the logger's memory is damaged; the recording ends before it\n"
                            "Keep what was read before it?";
    struct Case {
        const char* name;
        qint64 gap; // from block 3 to block 4
        int taken; // blocks taken when the user keeps what was read
    } cases[] = {
        {"one hour", 3600, 10},
        {"exactly five days", fiveDays, 10},
        {"five days and 59 minutes", fiveDays + 3540, 10},
        {"five days and one hour", fiveDays + 3600, 4},
        {"five days and two hours", fiveDays + 7200, 4},
        {"one second back", -1, 4},
    };
    for (const auto& c : cases) {
        JobRig r(erased());
        QDateTime t = kStart;
        for (int k = 0; k < 10; ++k) {
            writeBlock(r.memory(), k, t);
            t = t.addSecs(k == 3 ? c.gap : 3600);
        }
        const DownloadResult asked = r.download();
        EXPECT_EQ(told(asked), c.taken == 10 ? QStringList() : QStringList{damaged}) << c.name;
        const DownloadResult d =
            asked.question == Question::KeepPartial ? keepPartRead(asked, r.catalog(), Decision::Ask) : asked;
        EXPECT_EQ(d.status, DownloadStatus::Read) << c.name;
        EXPECT_EQ(JobRig::word(d, mem::kBlocksUsed), c.taken) << c.name;
        EXPECT_EQ(JobRig::word(d, mem::kFirstBlock), 0) << c.name;
        EXPECT_TRUE(told(d).isEmpty()) << c.name << ": told with the question";
    }
}

TEST(DownloadJob, BlocksWithImpossibleDatesAreTakenAndToldOnceWithTheirCountAndTheFirst)
{
    struct Case {
        const char* name;
        int first, count; // blocks stamped 31 February
        QString text;
    } cases[] = {
        {"one block", 2, 1, "Measurements date error"},
        {"38 blocks", 3, 38, "Measurements date error: 38 blocks, the first is block 3"},
    };
    for (const auto& c : cases) {
        JobRig r(erased());
        for (int k = 0; k < 45; ++k)
            writeBlock(r.memory(), k, kStart.addSecs(3600 * k));
        for (int k = c.first; k < c.first + c.count; ++k) {
            r.memory()[mem::blockAddress(k) + mem::kBlockStamp + 1] = 0x02;
            r.memory()[mem::blockAddress(k) + mem::kBlockStamp + 2] = 0x31;
        }
        const DownloadResult d = r.download();
        EXPECT_EQ(d.status, DownloadStatus::Read) << c.name;
        EXPECT_EQ(JobRig::word(d, mem::kBlocksUsed), 45) << c.name;
        ASSERT_EQ(messagesOf(d).size(), 1) << c.name;
        EXPECT_EQ(messagesOf(d)[0], (Message{c.text, MessageSymbol::Warning})) << c.name;
        EXPECT_EQ(d.findings, (Findings{Finding{FindingKind::ImpossibleDate, c.count, c.first}})) << c.name;
    }
}

TEST(DownloadJob, AnErasedMemoryIsNoQuorvant)
{
    JobRig r(erased());
    const DownloadResult d = r.download();
    EXPECT_EQ(d.status, DownloadStatus::NothingUsable);
    EXPECT_EQ(messagesOf(d), (Messages{{kNotAQuorvant, MessageSymbol::Error}}));
}

TEST(DownloadJob, CancelEndsWithoutMessage)
{
    JobRig r(linear(30));
    r.progress.cancelAt = 5;
    const DownloadResult d = r.download();
    EXPECT_EQ(d.status, DownloadStatus::Cancelled);
    EXPECT_TRUE(told(d).isEmpty());
    EXPECT_EQ(r.progress.cancelChecks, 5);
}

TEST(DownloadJob, WhatTheCatalogueAndTheMeasurementCountMakeOfTheImage)
{
    const QString unknownModel = "This device is not a QuorvantZK\n"
                                 "The logger catalogue does not know device code 77.";
    const QString saveAnyway = "Save the downloaded memory to a file anyway?";
    struct Case {
        const char* name;
        std::uint16_t code;
        bool oneMeasurement;
        Decision saveUnknownModel;
        DownloadStatus status;
        Question question;
        bool saveAsItIs;
        QStringList told;
    } cases[] = {
        {"shown", 485, false, Decision::Ask, DownloadStatus::Read, Question::None, false, {}},
        {"too few measurements",
         485,
         true,
         Decision::Ask,
         DownloadStatus::TooFewMeasurements,
         Question::None,
         false,
         {"   Cannot display a record\rwith less than two measurements "}},
        {"unknown model, asked",
         77,
         false,
         Decision::Ask,
         DownloadStatus::UnknownModel,
         Question::SaveUnknownModel,
         false,
         {unknownModel + "\n" + saveAnyway}},
        {"unknown model, kept without a question",
         77,
         false,
         Decision::Yes,
         DownloadStatus::UnknownModel,
         Question::None,
         true,
         {unknownModel}},
        {"unknown model, refused without a question",
         77,
         false,
         Decision::No,
         DownloadStatus::UnknownModel,
         Question::None,
         false,
         {unknownModel}},
    };
    for (const auto& c : cases) {
        JobRig r(linear(3, c.code));
        if (c.oneMeasurement) {
            std::fill_n(r.memory() + mem::blockAddress(1), mem::kBlockSize, std::uint8_t(0xFF));
            r.memory()[mem::blockAddress(0) + mem::kSampleBytes] = 1;
        }
        DownloadPolicy policy;
        policy.saveUnknownModel = c.saveUnknownModel;
        const DownloadResult d = r.download(policy);
        EXPECT_EQ(d.status, c.status) << c.name;
        EXPECT_EQ(d.question, c.question) << c.name;
        EXPECT_EQ(d.saveAsItIs, c.saveAsItIs) << c.name;
        EXPECT_EQ(told(d), c.told) << c.name;
        // Whatever it is made of, the memory is in the result, its blocks declared.
        EXPECT_TRUE(r.sameAsLogger(d.image, kAfterFirstBlock, mem::blockAddress(1))) << c.name;
        EXPECT_GE(JobRig::word(d, mem::kBlocksUsed), 1) << c.name;
    }
}

TEST(DownloadJob, ALoggerThatDoesNotAnswerLeavesTheQuestionToConnectOpen)
{
    {
        JobRig r(linear(3));
        r.emulator.setSilent(true);
        const DownloadResult d = r.download();
        EXPECT_EQ(d.status, DownloadStatus::NotConnected);
        EXPECT_EQ(d.question, Question::Connect);
        EXPECT_EQ(told(d), QStringList{kConnect});
        EXPECT_EQ(questionOf(d)->symbol, MessageSymbol::Warning);
        EXPECT_EQ(r.emulator.commands('D'), 0) << "nothing read";
    }
    {
        // Yes goes on without a second ping, and fails once: a logger that does not
        // answer is no logger of another kind.
        JobRig r(linear(3));
        r.emulator.setSilent(true);
        const DownloadResult d = r.download({.connect = ConnectPolicy::GoOn});
        EXPECT_EQ(d.status, DownloadStatus::LinkFailed);
        EXPECT_EQ(told(d), QStringList{kNotResponding});
    }
    {
        // Connected in the meantime.
        JobRig r(linear(3));
        r.emulator.setSilent(true);
        ASSERT_EQ(r.download().question, Question::Connect);
        r.emulator.setSilent(false);
        const DownloadResult d = r.download({.connect = ConnectPolicy::GoOn});
        EXPECT_EQ(d.status, DownloadStatus::Read);
        EXPECT_EQ(r.emulator.commands('E'), 0) << "no ping after Yes";
        EXPECT_FALSE(d.clock.read());
    }
}

TEST(DownloadJob, APortThatDoesNotOpenIsToldOnceWithItsReasonAndNothingFollows)
{
    QTemporaryDir dir;
    const struct {
        const char* name;
        QString port;
        QString told;
    } cases[] = {
        {"missing path", dir.filePath("ttyUSB0"),
         "Unable to open com port " + dir.filePath("ttyUSB0") + ": No such file or directory"},
        {"directory", dir.path(), "Unable to open com port " + dir.path() + ": Is a directory"},
        {"not a terminal", "/dev/null", "Unable to open com port /dev/null: Not a serial port"},
        {"no port chosen", "", "Unable to open com port: no port is chosen"},
    };
    for (const auto& c : cases) {
        for (const ConnectPolicy connect : {ConnectPolicy::Ask, ConnectPolicy::GoOn}) {
            VirtualClock clock;
            LoggerProtocol q(LinkSettings{c.port, false}, std::make_unique<DeviceLine>(), clock);
            RecordingProgress progress;
            JobRig rig;
            const DownloadResult d = downloadJob(q, {.connect = connect}, rig.catalog(), progress);
            EXPECT_EQ(d.status, DownloadStatus::LinkFailed) << c.name;
            EXPECT_EQ(d.question, Question::None) << c.name << ": no question to connect";
            EXPECT_EQ(messagesOf(d), (Messages{{c.told, MessageSymbol::Error}})) << c.name;
            EXPECT_EQ(clock.tickMs(), 0) << c.name << ": no attempt waits for a port that is not there";
            EXPECT_TRUE(progress.positions.empty()) << c.name;
        }
    }
}

TEST(DownloadJob, ALineThatFailsMidDownloadIsDeviceNotRespondingOnly)
{
    // Frames: ping, 4 header reads, then blocks 0, 1, ... From the eleventh block read on
    // the line fails for good: the transaction gives up, and the user hears that the
    // device does not respond, not that it is of another kind.
    struct Case {
        const char* name;
        sim::FaultKind kind;
    } cases[] = {
        {"silence", sim::FaultKind::Silence},
        {"bad checksums", sim::FaultKind::BadChecksum},
        {"short replies", sim::FaultKind::ShortReply},
        {"wrong echoes", sim::FaultKind::WrongEcho},
    };
    for (const auto& c : cases) {
        JobRig r(linear(40));
        sim::Fault f;
        f.kind = c.kind;
        f.frame = 5 + 11;
        f.frames = 0;
        f.byte = 4;
        r.emulator.addFault(f);
        const DownloadResult d = r.download();
        EXPECT_EQ(d.status, DownloadStatus::LinkFailed) << c.name;
        EXPECT_EQ(d.link.port, "sim") << c.name;
        EXPECT_EQ(told(d), QStringList{kNotResponding}) << c.name;
    }
}

TEST(DownloadJob, ByteErrorsEitherHealThroughRetriesOrLeaveNoRecording)
{
    // These seeds give no pair of bit errors that cancel out in one reply, so even a
    // plain download is exact (the checksum misses such pairs; the integrity tests
    // show one).
    for (const bool verify : {false, true})
        for (std::uint64_t seed = 1; seed <= 6; ++seed) {
            SCOPED_TRACE(verify ? "verified" : "plain");
            JobRig r(linear(40));
            r.emulator.setByteErrors(0.01, seed);
            const DownloadResult d = r.download({.verify = verify});
            EXPECT_GT(r.emulator.byteErrors(), 0) << seed;
            if (d.status == DownloadStatus::Read) {
                EXPECT_EQ(JobRig::word(d, mem::kBlocksUsed), 40) << seed;
                EXPECT_TRUE(r.sameAsLogger(d.image, 0, mem::kBlocksUsed)) << seed;
                EXPECT_TRUE(r.sameAsLogger(d.image, kAfterFirstBlock, mem::blockAddress(40))) << seed;
                EXPECT_TRUE(told(d).isEmpty()) << seed;
            } else {
                ASSERT_FALSE(told(d).isEmpty()) << seed;
                EXPECT_NE(told(d).last(), kNotAQuorvant) << seed;
            }
        }
}

} // namespace
} // namespace qz::test
