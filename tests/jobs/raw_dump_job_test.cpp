// The raw memory dump as a command: the file it writes, what it tells, and that the file
// opens as a recording where the logger's own header makes one.
#include "jobs/job_messages.h"
#include "jobs/raw_dump_job.h"
#include "link/emulator_rig.h"
#include "print_jobs.h"
#include "recording/recording_data.h"
#include "recording/recording_file.h"
#include "support/catalogue_folder.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

sim::MemoryPreset preset(std::uint16_t code, sim::Content content, int blocks)
{
    sim::MemoryPreset s;
    s.deviceCode = code;
    s.content = content;
    s.blocks = blocks;
    return s;
}

QByteArray readAll(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray loggerBytes(EmulatorRig& r, std::size_t length)
{
    return QByteArray(reinterpret_cast<const char*>(r.memory()), qsizetype(length));
}

sim::Fault silentFrom(std::int64_t frame, std::int64_t frames)
{
    sim::Fault f;
    f.kind = sim::FaultKind::Silence;
    f.frame = frame;
    f.frames = frames;
    return f;
}

class RawDumpJob : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString file(const char* name = "debug.qrv") const { return dir_.filePath(name); }
    // The dump, its messages told.
    RawDumpResult dump(EmulatorRig& r, const QString& name)
    {
        auto q = r.make();
        const RawDumpResult out = rawDumpJob(*q, name, r.progress);
        r.prompt.tell(messagesOf(out));
        return out;
    }

    QTemporaryDir dir_;
};

TEST_F(RawDumpJob, ASixtyBlockMemoryGivesTheSignatureAndItsBytesIn8072)
{
    EmulatorRig r(preset(0x00, sim::Content::Linear, 12));
    const RawDumpResult out = dump(r, file());
    EXPECT_EQ(out.status, RawDumpStatus::Written);
    EXPECT_EQ(out.missedBlocks, 0);
    EXPECT_EQ(out.blocks, 60);
    const QByteArray got = readAll(file());
    ASSERT_EQ(got.size(), 8072);
    EXPECT_TRUE(got == "QUORVANT" + loggerBytes(r, 8064));
    EXPECT_TRUE(r.prompt.records().empty());
}

TEST_F(RawDumpJob, OpensAsARecordingWithTheBlocksADownloadWouldTake)
{
    // The logger's own BlocksUsed travels with the dump: a wrapped ring says 60; a linear
    // recording says 0, and opening finds its blocks as a download does, up to the first
    // erased one. A memory erased from its first block holds no recording.
    const struct {
        const char* name;
        sim::Content content;
        int blocks;
        LoadError load;
        int blocksUsed; // of the recording opened
    } cases[] = {
        {"wrapped", sim::Content::Wrapped, 20, LoadError::None, 60},
        {"linear", sim::Content::Linear, 20, LoadError::None, 20},
        {"linear, one block", sim::Content::Linear, 1, LoadError::None, 1},
        {"erased", sim::Content::Erased, 0, LoadError::TooFewMeasurements, 0},
    };
    CatalogueFolder catalogue;
    for (const auto& c : cases) {
        EmulatorRig r(preset(0x00, c.content, c.blocks));
        ASSERT_EQ(dump(r, file(c.name)).status, RawDumpStatus::Written) << c.name;
        ASSERT_EQ((ConstByteView{r.memory(), mem::kLoggerMemorySize}.u16(mem::kBlocksUsed)),
                  c.content == sim::Content::Wrapped ? 60 : 0)
            << c.name << ": the logger's own count";
        const LoadResult opened = RecordingData::fromFile(file(c.name), ProgramFolder(catalogue.path()));
        EXPECT_EQ(opened.error, c.load) << c.name;
        // The memory as read opens as its file does.
        const QByteArray memory = loggerBytes(r, int(readAll(file(c.name)).size()) - kFileSignatureSize);
        const LoadResult dumped = RecordingData::fromDump(memory, QString(), ProgramFolder(catalogue.path()));
        EXPECT_EQ(dumped.error, c.load) << c.name;
        if (c.load != LoadError::None)
            continue;
        ASSERT_TRUE(opened.data && dumped.data) << c.name;
        EXPECT_EQ(opened.data->reader().blocksUsed(), c.blocksUsed) << c.name;
        EXPECT_GT(opened.data->measurementCount(), 1) << c.name;
        EXPECT_EQ(dumped.data->imageBytes(), opened.data->imageBytes()) << c.name;
    }
}

TEST_F(RawDumpJob, BlocksThatDidNotComeAreToldOnceWithTheirCount)
{
    EmulatorRig r(preset(0x00, sim::Content::Linear, 12));
    // Blocks 3 and 4: each transaction's five frames get no answer.
    r.emulator.addFault(silentFrom(4 + 3, 2 * LoggerProtocol::kAttempts));
    const RawDumpResult out = dump(r, file());
    EXPECT_EQ(out.status, RawDumpStatus::Written);
    EXPECT_EQ(out.missedBlocks, 2);
    EXPECT_EQ(r.prompt.texts(), QStringList{"Device Not Responding: 2 of 60 blocks were not read"});
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Warning);
    const QByteArray got = readAll(file());
    ASSERT_EQ(got.size(), 8072);
    EXPECT_TRUE(got.mid(8 + int(mem::blockAddress(3)), 256) == QByteArray(256, '\0'));
    EXPECT_TRUE(got.mid(8 + int(mem::blockAddress(5)))
                == loggerBytes(r, 8064).mid(int(mem::blockAddress(5))));
}

TEST_F(RawDumpJob, NoFileWithoutAHeaderOrAfterCancelAndAnOldFileStaysAsItWas)
{
    const struct {
        const char* name;
        bool silent;
        int cancelAt;
        QStringList told;
        RawDumpStatus status;
    } cases[] = {
        {"silent logger", true, -1, {"Device Not Responding"}, RawDumpStatus::LinkFailed},
        {"cancel", false, 2, {}, RawDumpStatus::Cancelled},
    };
    for (const auto& c : cases) {
        QFile old(file(c.name));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        EmulatorRig r(preset(0x00, sim::Content::Linear, 12));
        r.emulator.setSilent(c.silent);
        r.progress.cancelAt = c.cancelAt;
        EXPECT_EQ(dump(r, file(c.name)).status, c.status) << c.name;
        EXPECT_EQ(r.prompt.texts(), c.told) << c.name;
        EXPECT_EQ(readAll(file(c.name)), "old") << c.name;
    }
}

TEST_F(RawDumpJob, AFileThatCannotBeWrittenIsLeftToTheCallerToTell)
{
    EmulatorRig r(preset(0x00, sim::Content::Linear, 2));
    const QString name = dir_.filePath("no-such-folder/debug.qrv");
    const RawDumpResult out = dump(r, name);
    EXPECT_EQ(out.status, RawDumpStatus::WriteFailed);
    EXPECT_FALSE(out.save.reason.isEmpty());
    EXPECT_TRUE(r.prompt.records().empty());
    EXPECT_FALSE(QFile::exists(name));
}

} // namespace
} // namespace qz::test
