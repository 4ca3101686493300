// Recording files: byte-exact round trip, refusals and their messages, safe replacement.
#include "recording_fixture.h"
#include "support/scoped_env.h"
#include "support/small_file_system.h"

#include "model/memory_image.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace qz::test {
namespace {

class RecordingFile : public RecordingTest {
protected:
    LoadResult open(const QString& path) const { return RecordingData::fromFile(path, folder()); }
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST_F(RecordingFile, RoundTripIsByteExact)
{
    const QByteArray image = wrappedRing().build();
    auto r = load(image);
    const QString path = scratch(QStringLiteral("ring.qrv"));
    ASSERT_TRUE(saveRecordingFile(*r, path).ok());

    // The wrapped ring uses all 60 blocks; they are stored in physical order.
    const QByteArray file = readAll(path);
    ASSERT_EQ(file.size(), kFileSignatureSize + int(mem::blockAddress(60)));
    EXPECT_EQ(file.left(kFileSignatureSize), QByteArray("QUORVANT"));
    EXPECT_EQ(file.mid(kFileSignatureSize), image.left(int(mem::blockAddress(60))));

    const LoadResult loaded = open(path);
    ASSERT_TRUE(loaded.ok());
    const auto back = loaded.data;
    EXPECT_EQ(loadMessage(loaded, path), QString());
    EXPECT_EQ(back->fileName(), path);
    EXPECT_EQ(back->created(), 0);
    const QByteArray expected = image.left(int(mem::blockAddress(60)))
        + QByteArray(int(mem::kImageSize - mem::blockAddress(60)), '\0');
    EXPECT_EQ(back->imageBytes(), expected);
    ASSERT_TRUE(saveRecordingFile(*back, scratch(QStringLiteral("again.qrv"))).ok());
    EXPECT_EQ(readAll(scratch(QStringLiteral("again.qrv"))), file);
}

TEST_F(RecordingFile, SavedFileMatchesGolden)
{
    // Also the fixture of the command-line tool's tests (a model of the shipped catalogue).
    auto r = load(coldStore().deviceCode(kCodeShipped).build());
    const QString path = scratch(QStringLiteral("cold.qrv"));
    ASSERT_TRUE(saveRecordingFile(*r, path).ok());
    checkGolden(QStringLiteral("cold_store.qrv"), readAll(path));
}

TEST_F(RecordingFile, NoUsedBlocksGivesHeaderOnly)
{
    // An image that is no recording to show is saved as it is (a download kept anyway).
    const QString path = scratch(QStringLiteral("empty.qrv"));
    ASSERT_TRUE(saveImageFile(coldStore().measurements(0, {}).build(), path).ok());
    EXPECT_EQ(readAll(path).size(), kFileSignatureSize + int(mem::kHeaderSize));
}

TEST_F(RecordingFile, ImpossibleBlockCountNeverReadsBeyondImage)
{
    const QString path = scratch(QStringLiteral("big.qrv"));
    ASSERT_TRUE(saveImageFile(coldStore().set16(mem::kBlocksUsed, 0xFFFF).build(), path).ok());
    EXPECT_EQ(readAll(path).size(), kMaxFileSize);
    // An image shorter than a memory reads as empty blocks after its end.
    ASSERT_TRUE(saveImageFile(coldStore().set16(mem::kBlocksUsed, 0xFFFF).build().left(1000), path).ok());
    const QByteArray file = readAll(path);
    EXPECT_EQ(file.size(), kMaxFileSize);
    EXPECT_EQ(file.mid(kFileSignatureSize + 1000),
              QByteArray(kMaxFileSize - kFileSignatureSize - 1000, '\0'));
}

TEST_F(RecordingFile, RefusesWhatIsNoRecording)
{
    const QByteArray good = coldStore().file();
    const struct {
        const char* name;
        QByteArray bytes;
        LoadError error;
    } cases[] = {
        {"lower case signature", QByteArray("Quorvant") + good.mid(8), LoadError::NotARecording},
        {"other signature", QByteArray("QUORVAN\0", 8) + good.mid(8), LoadError::NotARecording},
        {"shorter than signature", QByteArray("QUORV"), LoadError::NotARecording},
        {"empty file", QByteArray(), LoadError::NotARecording},
        {"longer than any image", good + QByteArray(kMaxFileSize + 1 - good.size(), '\0'),
         LoadError::NotARecording},
        {"refused model", coldStore().deviceCode(kCodeRefused).file(), LoadError::NotAccepted},
        {"one measurement",
         twoMeasurements().measurements(1, [](int, int) -> std::uint8_t { return 1; }).file(),
         LoadError::TooFewMeasurements},
        {"signature only", QByteArray("QUORVANT"), LoadError::NotARecording},
        {"header cut short", good.left(kMinFileSize - 1), LoadError::NotARecording},
        {"header without blocks", good.left(kMinFileSize), LoadError::TooFewMeasurements},
    };
    for (const auto& c : cases) {
        const QString path = scratch(QStringLiteral("bad.qrv"));
        writeAll(path, c.bytes);
        const LoadResult loaded = open(path);
        EXPECT_EQ(loaded.error, c.error) << c.name;
        EXPECT_EQ(loaded.data, nullptr) << c.name;
        // Only a file that is no recording has the reader's own message.
        EXPECT_EQ(loadMessage(loaded, path),
                  c.error == LoadError::NotARecording ? QStringLiteral("Invalid data file ") : QString())
            << c.name;
    }
}

TEST_F(RecordingFile, LargestFileAndExtraBytesLoad)
{
    // Extra bytes after the last used block land in the image, uninterpreted.
    const QByteArray file = coldStore().file() + QByteArray("extra");
    const QString path = scratch(QStringLiteral("extra.qrv"));
    writeAll(path, file);
    const LoadResult r = open(path);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.data->imageBytes().mid(int(mem::blockAddress(3)), 5), QByteArray("extra"));

    // A full 65,416-byte file is still a recording.
    const QByteArray full =
        QByteArray("QUORVANT") + coldStore().deviceCode(kCodeLarge).build(); // every block
    ASSERT_EQ(full.size(), kMaxFileSize);
    writeAll(path, full);
    const LoadResult big = open(path);
    ASSERT_TRUE(big.ok());
    EXPECT_EQ(big.data->imageBytes(), full.mid(8));
}

// What a command tells about a load: each text after "warning: " or "error: ".
QStringList told(const LoadResult& loaded, const QString& name)
{
    QStringList told;
    for (const LoadNotice& n : loadNotices(loaded, name))
        told << (n.kind == NoticeKind::Warning ? QStringLiteral("warning: ") : QStringLiteral("error: "))
                + n.text;
    return told;
}

TEST_F(RecordingFile, AFileCutShortLoadsItsCompleteBlocksOnly)
{
    // Cold store: 100 measurements of three inputs, 40 to a block, in three blocks. Bytes
    // missing from a block would read as zeros, that is as measurements nobody made.
    const QByteArray whole = coldStore().file();
    auto complete = load(coldStore().build());
    const struct {
        const char* name;
        qsizetype size;
        LoadError error;
        int missing;
        int measurements;
    } cases[] = {
        {"last block in part", whole.size() - 110, LoadError::None, 1, 80},
        {"last block gone", whole.size() - 128, LoadError::None, 1, 80},
        {"second block in part", whole.size() - 128 - 20, LoadError::None, 2, 40},
        {"no whole block", 500, LoadError::TooFewMeasurements, 3, 0},
    };
    const auto warnings = [&](const auto& c, const LoadResult& loaded, const QString& path) {
        // Warned once (also when the file loads), before a refusal.
        const QString warning = path + QStringLiteral(" is incomplete: missing ") + QString::number(c.missing)
            + QStringLiteral(" of its 3 data blocks; only the complete blocks are shown");
        QStringList expected{QStringLiteral("warning: ") + warning};
        if (c.error != LoadError::None)
            expected << QStringLiteral("error: This file is not for a QuorvantZK");
        EXPECT_EQ(told(loaded, path), expected) << c.name;
    };
    for (const auto& c : cases) {
        const QString path = scratch(QStringLiteral("cut.qrv"));
        writeAll(path, whole.left(c.size));
        const LoadResult loaded = open(path);
        warnings(c, loaded, path);
        EXPECT_EQ(loaded.error, c.error) << c.name;
        EXPECT_EQ(loaded.missingBlocks, c.missing) << c.name;
        EXPECT_EQ(loaded.declaredBlocks, 3) << c.name;
        ASSERT_EQ(loaded.data != nullptr, c.measurements > 0) << c.name;
        if (!loaded.data)
            continue;
        const RecordingData* r = loaded.data.get();
        EXPECT_EQ(r->measurementCount(), c.measurements) << c.name;
        EXPECT_EQ(r->reader().usedBlocks(), 3 - c.missing) << c.name;
        for (int k = 1; k <= r->measurementCount(); ++k)
            for (int i : {0, 1, 4})
                ASSERT_EQ(r->sample(i, k), complete->sample(i, k)) << c.name << " measurement " << k;
    }
}

TEST_F(RecordingFile, ACutAtAnyLengthShowsOnlyMeasurementsThatWereMade)
{
    // Lengths from a bare header to the whole wrapped ring: what loads is a run of the
    // recording's own measurements, never a zero read from bytes that are not there.
    auto complete = load(wrappedRing().build());
    const QByteArray whole = wrappedRing().file();
    for (qsizetype size = kMinFileSize; size <= whole.size(); size += 37) {
        QBuffer file;
        file.setData(whole.left(size));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const LoadResult loaded = RecordingData::fromDevice(file, size, QStringLiteral("cut.qrv"), folder());
        // The oldest block is 58: blocks 0.. up to the cut follow it after the gap of 59
        // and form the longest run (up to 58 blocks), 30 measurements into the ring.
        const int held = int((size - kMinFileSize) / qsizetype(mem::kBlockSize));
        const int kept = held == 60 ? 60 : std::min(held, 58);
        EXPECT_EQ(loaded.missingBlocks, 60 - kept) << size;
        ASSERT_EQ(loaded.data != nullptr, kept > 0) << size;
        if (!loaded.data)
            continue;
        const RecordingData* r = loaded.data.get();
        EXPECT_EQ(r->measurementCount(), kept * 15) << size;
        const int offset = kept < 60 ? 30 : 0;
        for (int k = 1; k <= r->measurementCount(); ++k)
            ASSERT_EQ(r->sample(3, k), complete->sample(3, k + offset)) << size << " measurement " << k;
    }
}

TEST_F(RecordingFile, ARingCutShortKeepsItsLongestRunOfBlocks)
{
    // The wrapped ring's oldest block is 58 of 60; the cut takes block 59. What remains
    // in order is the oldest block alone, then blocks 0..57: the newest 58 blocks stay.
    auto complete = load(wrappedRing().build());
    const QByteArray whole = wrappedRing().file();
    const QString path = scratch(QStringLiteral("ring.qrv"));
    writeAll(path, whole.left(whole.size() - 110));
    const LoadResult loaded = open(path);
    ASSERT_TRUE(loaded.ok());
    const auto r = loaded.data;
    EXPECT_EQ(loaded.missingBlocks, 2);
    EXPECT_EQ(loaded.declaredBlocks, 60);
    EXPECT_EQ(r->reader().firstBlock(), 0);
    EXPECT_EQ(r->reader().blocksUsed(), 58);
    ASSERT_EQ(r->measurementCount(), 58 * 15);
    // Measurement 1 is the first one of block 0, the 31st of the whole ring.
    for (int k = 1; k <= r->measurementCount(); ++k)
        for (int i = 0; i < 8; ++i)
            ASSERT_EQ(r->sample(i, k), complete->sample(i, k + 30)) << "measurement " << k;

    // Saved again, the file holds exactly the blocks shown.
    const QString again = scratch(QStringLiteral("again.qrv"));
    ASSERT_TRUE(saveRecordingFile(*r, again).ok());
    const LoadResult reloaded = open(again);
    ASSERT_TRUE(reloaded.ok());
    EXPECT_EQ(reloaded.missingBlocks, 0);
    EXPECT_EQ(reloaded.data->imageBytes(), r->imageBytes());
}

TEST_F(RecordingFile, WhatIsNotARegularFileIsRefusedUnread)
{
    // A named pipe without a writer would block the reader forever.
    const QString fifo = scratch(QStringLiteral("pipe.qrv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = scratch(QStringLiteral("folder.qrv"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {fifo, QStringLiteral("Not a regular file")},
        {folder, QStringLiteral("Is a directory")},
        {QStringLiteral("/dev/null"), QStringLiteral("Not a regular file")},
    };
    for (const auto& c : cases) {
        const LoadResult loaded = open(c.path);
        EXPECT_EQ(loaded.error, LoadError::NotAFile) << c.path.toStdString();
        EXPECT_EQ(loaded.data, nullptr);
        // Named, and not blamed on the recording.
        const QStringList expected{QStringLiteral("error: Cannot open ") + c.path + QStringLiteral(": ")
                                   + c.reason};
        EXPECT_EQ(told(loaded, c.path), expected) << c.path.toStdString();
    }
}

TEST_F(RecordingFile, AnUnreadableCatalogueIsToldInsteadOfBlamingTheRecording)
{
    // Nothing in the desktop's data folders stands in for the missing catalogue.
    const ScopedEnv dataDirs("XDG_DATA_DIRS", scratch_.path());
    const ScopedEnv dataHome("XDG_DATA_HOME", scratch_.path());
    const QByteArray utf16("\xFF\xFE[\0D\0e\0v\0i\0c\0e\0 \0\x30\0]\0", 22);
    const struct {
        const char* name;
        QByteArray content;
        bool folder;
        QString reason;
    } cases[] = {
        {"missing", QByteArray(), false, QStringLiteral("No such file or directory")},
        {"UTF-16", utf16, false, QStringLiteral("not a text file")},
        {"binary", QByteArray("[Device 0]\r\nType=ZK\0\x01\x02", 22), false,
         QStringLiteral("not a text file")},
        {"above 1 MB", "[Device 0]\r\nType=ZK\r\n" + QByteArray(1024 * 1024, ';'), false,
         QStringLiteral("larger than 1 MB")},
        {"a folder", QByteArray(), true, QStringLiteral("Is a directory")},
    };
    const QString recording = scratch(QStringLiteral("cold.qrv"));
    writeAll(recording, coldStore().file());
    for (const auto& c : cases) {
        QTemporaryDir folder;
        const QString catalogue = folder.filePath(QStringLiteral("devices.ini"));
        if (c.folder)
            ASSERT_TRUE(QDir().mkpath(catalogue));
        else if (!c.content.isNull())
            writeAll(catalogue, c.content);
        const ProgramFolder program(folder.path());
        const LoadResult loaded = RecordingData::fromFile(recording, program);
        EXPECT_EQ(loaded.error, LoadError::CatalogUnreadable) << c.name;
        const QString message = QStringLiteral("The logger catalogue devices.ini could not be read: ")
            + catalogue + QStringLiteral(": ") + c.reason;
        const QStringList expected{QStringLiteral("error: ") + message};
        EXPECT_EQ(told(loaded, recording), expected) << c.name;

        // The same reason for an image handed in directly (a download).
        const RecordingResult made = RecordingData::fromImage(coldStore().build(), 0, program);
        EXPECT_EQ(made, InitError::CatalogUnreadable) << c.name;
        EXPECT_EQ(made.reason, message) << c.name;
    }
}

TEST_F(RecordingFile, MissingFileIsReportedWithTheSystemsReason)
{
    const QString path = scratch(QStringLiteral("none.qrv"));
    const LoadResult loaded = open(path);
    EXPECT_EQ(loaded.error, LoadError::CannotOpen);
    EXPECT_EQ(loaded.reason, QStringLiteral("No such file or directory"));
    EXPECT_EQ(loadMessage(loaded, path),
              QStringLiteral("Cannot open ") + path + QStringLiteral(": ") + loaded.reason);
    // Said once: a file that is not there is not blamed for its content.
    EXPECT_EQ(told(loaded, path), QStringList{QStringLiteral("error: ") + loadMessage(loaded, path)});
}

TEST_F(RecordingFile, FailedSaveKeepsPreviousFile)
{
    auto r = load(coldStore().build());
    // A folder in place of the file: nothing can be written there.
    const QString folder = scratch(QStringLiteral("taken.qrv"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const SaveResult failed = saveRecordingFile(*r, folder);
    EXPECT_EQ(failed.error, SaveError::CannotWrite);
    EXPECT_FALSE(failed.reason.isEmpty());
    EXPECT_EQ(saveMessage(failed, folder),
              QStringLiteral("Cannot write ") + folder + QStringLiteral(": Is a directory"));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    EXPECT_FALSE(saveRecordingFile(*r, scratch(QStringLiteral("no/such/folder/x.qrv"))).ok());

    // Replacing a good file leaves no temporary file beside it.
    const QString path = scratch(QStringLiteral("good.qrv"));
    writeAll(path, "old content");
    const SaveResult saved = saveRecordingFile(*r, path);
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saveMessage(saved, path), QString());
    EXPECT_EQ(readAll(path).left(8), QByteArray("QUORVANT"));
    EXPECT_EQ(QDir(scratch_.path()).entryList(QDir::Files), QStringList{QStringLiteral("good.qrv")});
}

TEST_F(RecordingFile, ASaveOnAFullDiskKeepsThePreviousFileAndSaysWhy)
{
    SmallFileSystem disk(4);
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    const QString path = disk.filePath(QStringLiteral("ring.qrv"));
    writeAll(path, coldStore().file());
    auto r = load(wrappedRing().build()); // 8,072 bytes: more than the disk holds
    const SaveResult saved = saveRecordingFile(*r, path);
    EXPECT_EQ(saved.error, SaveError::CannotWrite);
    EXPECT_EQ(saveMessage(saved, path),
              QStringLiteral("Cannot write ") + path + QStringLiteral(": No space left on device"));
    EXPECT_EQ(readAll(path), coldStore().file());
}

} // namespace
} // namespace qz::test
