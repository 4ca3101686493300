// Recording files: byte-exact round trip, refusals and their messages, safe replacement,
// close query.
#include "recording_fixture.h"
#include "support/recording_prompt.h"

#include "model/memory_image.h"

#include <QDir>
#include <QFile>

namespace qz::test {
namespace {

using RecordingFile = RecordingTest;

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST_F(RecordingFile, RoundTripIsByteExact)
{
    const QByteArray image = WrappedRing().build();
    auto r = Load(image);
    const QString path = Scratch(QStringLiteral("ring.qrv"));
    ASSERT_TRUE(r->save(path).ok());
    EXPECT_TRUE(r->isSaved());
    EXPECT_EQ(r->fileName(), path);

    // The wrapped ring uses all 60 blocks; they are stored in physical order.
    const QByteArray file = ReadAll(path);
    ASSERT_EQ(file.size(), kFileSignatureSize + int(mem::BlockAddress(60)));
    EXPECT_EQ(file.left(kFileSignatureSize), QByteArray("QUORVANT"));
    EXPECT_EQ(file.mid(kFileSignatureSize), image.left(int(mem::BlockAddress(60))));

    auto back = Make();
    EXPECT_FALSE(back->isSaved());
    const LoadResult loaded = back->load(path);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(LoadMessage(loaded, path), QString());
    EXPECT_TRUE(back->isSaved());
    EXPECT_EQ(back->fileName(), path);
    const QByteArray expected = image.left(int(mem::BlockAddress(60))) + QByteArray(int(mem::kImageSize - mem::BlockAddress(60)), '\0');
    EXPECT_EQ(back->imageBytes(), expected);
    ASSERT_TRUE(back->save(Scratch(QStringLiteral("again.qrv"))).ok());
    EXPECT_EQ(ReadAll(Scratch(QStringLiteral("again.qrv"))), file);
}

TEST_F(RecordingFile, SavedFileMatchesGolden)
{
    // Also the fixture of the command-line tool's tests (a model of the shipped catalogue).
    auto r = Load(ColdStore().deviceCode(kCodeShipped).build());
    const QString path = Scratch(QStringLiteral("cold.qrv"));
    ASSERT_TRUE(r->save(path).ok());
    CheckGolden(QStringLiteral("cold_store.qrv"), ReadAll(path));
}

TEST_F(RecordingFile, NoUsedBlocksGivesHeaderOnly)
{
    auto r = Make();
    r->setImage(ColdStore().measurements(0, {}).build());
    const QString path = Scratch(QStringLiteral("empty.qrv"));
    ASSERT_TRUE(r->save(path).ok());
    EXPECT_EQ(ReadAll(path).size(), kFileSignatureSize + int(mem::kHeaderSize));
}

TEST_F(RecordingFile, ImpossibleBlockCountNeverReadsBeyondImage)
{
    auto r = Make();
    r->setImage(ColdStore().set16(mem::kBlocksUsed, 0xFFFF).build());
    const QString path = Scratch(QStringLiteral("big.qrv"));
    ASSERT_TRUE(r->save(path).ok());
    EXPECT_EQ(ReadAll(path).size(), kMaxFileSize);
}

TEST_F(RecordingFile, RefusesWhatIsNoRecording)
{
    const QByteArray good = ColdStore().file();
    const struct { const char* name; QByteArray bytes; LoadError error; } cases[] = {
        {"lower case signature", QByteArray("Quorvant") + good.mid(8), LoadError::NotARecording},
        {"other signature", QByteArray("QUORVAN\0", 8) + good.mid(8), LoadError::NotARecording},
        {"shorter than signature", QByteArray("QUORV"), LoadError::NotARecording},
        {"empty file", QByteArray(), LoadError::NotARecording},
        {"longer than any image", good + QByteArray(kMaxFileSize + 1 - good.size(), '\0'), LoadError::NotARecording},
        {"refused model", ColdStore().deviceCode(kCodeRefused).file(), LoadError::NotAccepted},
        {"one measurement", TwoMeasurements().measurements(1, [](int, int) -> std::uint8_t { return 1; }).file(), LoadError::TooFewMeasurements},
        {"signature only", QByteArray("QUORVANT"), LoadError::TooFewMeasurements},
        {"header cut short", good.left(200), LoadError::TooFewMeasurements},
    };
    for (const auto& c : cases) {
        const QString path = Scratch(QStringLiteral("bad.qrv"));
        WriteAll(path, c.bytes);
        auto r = Make();
        const LoadResult loaded = r->load(path);
        EXPECT_EQ(loaded.error, c.error) << c.name;
        EXPECT_TRUE(r->isSaved()) << c.name;
        EXPECT_EQ(r->fileName(), path) << c.name;
        EXPECT_FALSE(r->isInitialized()) << c.name;
        // Only a file that is no recording has the reader's own message.
        EXPECT_EQ(LoadMessage(loaded, path),
                  c.error == LoadError::NotARecording ? QStringLiteral("Invalid data file ") : QString())
            << c.name;
    }
}

TEST_F(RecordingFile, LargestFileAndExtraBytesLoad)
{
    // Extra bytes after the last used block land in the image, uninterpreted.
    const QByteArray file = ColdStore().file() + QByteArray("extra");
    const QString path = Scratch(QStringLiteral("extra.qrv"));
    WriteAll(path, file);
    auto r = Make();
    ASSERT_TRUE(r->load(path).ok());
    EXPECT_EQ(r->imageBytes().mid(int(mem::BlockAddress(3)), 5), QByteArray("extra"));

    // A full 65,416-byte file is still a recording.
    const QByteArray full = QByteArray("QUORVANT") + ColdStore().deviceCode(kCodeLarge).build(); // every block
    ASSERT_EQ(full.size(), kMaxFileSize);
    WriteAll(path, full);
    auto big = Make();
    EXPECT_TRUE(big->load(path).ok());
    EXPECT_EQ(big->imageBytes(), full.mid(8));
}

TEST_F(RecordingFile, MissingFileIsReportedWithTheSystemsReason)
{
    auto r = Make();
    const QString path = Scratch(QStringLiteral("none.qrv"));
    const LoadResult loaded = r->load(path);
    EXPECT_EQ(loaded.error, LoadError::CannotOpen);
    EXPECT_FALSE(loaded.reason.isEmpty());
    EXPECT_EQ(LoadMessage(loaded, path), QStringLiteral("Cannot open ") + path + QStringLiteral(": ") + loaded.reason);
    EXPECT_TRUE(r->isSaved());
    EXPECT_EQ(r->fileName(), path);
}

TEST_F(RecordingFile, FailedSaveKeepsPreviousFileAndState)
{
    auto r = Load(ColdStore().build());
    r->setFileName(QStringLiteral("before.qrv"));
    // A folder in place of the file: nothing can be written there.
    const QString folder = Scratch(QStringLiteral("taken.qrv"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const SaveResult failed = r->save(folder);
    EXPECT_EQ(failed.error, SaveError::CannotWrite);
    EXPECT_FALSE(failed.reason.isEmpty());
    EXPECT_EQ(SaveMessage(failed, folder), QStringLiteral("Cannot save ") + folder + QStringLiteral(": ") + failed.reason);
    EXPECT_FALSE(r->isSaved());
    EXPECT_EQ(r->fileName(), QStringLiteral("before.qrv"));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    EXPECT_FALSE(r->save(Scratch(QStringLiteral("no/such/folder/x.qrv"))).ok());
    EXPECT_FALSE(r->isSaved());

    // Replacing a good file leaves no temporary file beside it.
    const QString path = Scratch(QStringLiteral("good.qrv"));
    WriteAll(path, "old content");
    const SaveResult saved = r->save(path);
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(SaveMessage(saved, path), QString());
    EXPECT_EQ(ReadAll(path).left(8), QByteArray("QUORVANT"));
    EXPECT_EQ(QDir(scratch_.path()).entryList(QDir::Files), QStringList{QStringLiteral("good.qrv")});
}

TEST_F(RecordingFile, CloseQueryAsksOnlyWhenUnsaved)
{
    const QString question =
        QStringLiteral("The record S/N:0815 - x  has not been saved ,Close anyway ?");
    const struct { bool saved; PromptAnswer answer; bool canClose; bool asked; } cases[] = {
        {true, PromptAnswer::No, true, false},
        {false, PromptAnswer::No, false, true},
        {false, PromptAnswer::Yes, true, true},
    };
    for (const auto& c : cases) {
        auto r = Load(ColdStore().build());
        r->setCaption(QStringLiteral("S/N:0815 - x"));
        r->setSaved(c.saved);
        RecordingPrompt prompt;
        prompt.script({c.answer});
        EXPECT_EQ(r->mayClose(prompt), c.canClose);
        EXPECT_EQ(r->isSaved(), c.canClose);
        ASSERT_EQ(prompt.records().size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(prompt.records()[0].text, question);
            EXPECT_EQ(prompt.records()[0].symbol, PromptSymbol::Confirmation);
            EXPECT_EQ(prompt.records()[0].buttons, PromptButtons::YesNo);
        }
    }
}

} // namespace
} // namespace qz::test
