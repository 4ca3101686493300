// Recording files: byte-exact round trip, refusals, safe replacement, close query.
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
    ASSERT_TRUE(r->save(path));
    EXPECT_TRUE(r->IsSaved());
    EXPECT_EQ(r->FileName(), path);

    // The wrapped ring uses all 60 blocks; they are stored in physical order.
    const QByteArray file = ReadAll(path);
    ASSERT_EQ(file.size(), 392 + 128 * 60);
    EXPECT_EQ(file.left(8), QByteArray("QUORVANT"));
    EXPECT_EQ(file.mid(8), image.left(384 + 128 * 60));

    RecordingPrompt prompt;
    auto back = Make();
    EXPECT_FALSE(back->IsSaved());
    ASSERT_TRUE(back->LoadFile(path, prompt));
    EXPECT_TRUE(prompt.records().empty());
    EXPECT_TRUE(back->IsSaved());
    EXPECT_EQ(back->FileName(), path);
    const QByteArray expected = image.left(384 + 128 * 60) + QByteArray(kImageSize - 384 - 128 * 60, '\0');
    EXPECT_EQ(back->ImageBytes(), expected);
    ASSERT_TRUE(back->save(Scratch(QStringLiteral("again.qrv"))));
    EXPECT_EQ(ReadAll(Scratch(QStringLiteral("again.qrv"))), file);
}

TEST_F(RecordingFile, SavedFileMatchesGolden)
{
    // Also the fixture of the command-line tool's tests (a model of the shipped catalogue).
    auto r = Load(ColdStore().deviceCode(kCodeShipped).build());
    const QString path = Scratch(QStringLiteral("cold.qrv"));
    ASSERT_TRUE(r->save(path));
    CheckGolden(QStringLiteral("cold_store.qrv"), ReadAll(path));
}

TEST_F(RecordingFile, NoUsedBlocksGivesHeaderOnly)
{
    auto r = Make();
    r->SetImage(ColdStore().measurements(0, {}).build());
    const QString path = Scratch(QStringLiteral("empty.qrv"));
    ASSERT_TRUE(r->save(path));
    EXPECT_EQ(ReadAll(path).size(), 392);
}

TEST_F(RecordingFile, ImpossibleBlockCountNeverReadsBeyondImage)
{
    QByteArray image = ColdStore().build();
    image[int(mem::kBlocksUsed)] = char(0xFF);
    image[int(mem::kBlocksUsed + 1)] = char(0xFF);
    auto r = Make();
    r->SetImage(image);
    const QString path = Scratch(QStringLiteral("big.qrv"));
    ASSERT_TRUE(r->save(path));
    EXPECT_EQ(ReadAll(path).size(), kMaxFileSize);
}

TEST_F(RecordingFile, RefusesWhatIsNoRecording)
{
    const QByteArray good = QByteArray("QUORVANT") + ColdStore().build().left(384 + 3 * 128);
    const struct { const char* name; QByteArray bytes; bool message; } cases[] = {
        {"lower case signature", QByteArray("Quorvant") + good.mid(8), true},
        {"other signature", QByteArray("QUORVAN\0", 8) + good.mid(8), true},
        {"shorter than signature", QByteArray("QUORV"), true},
        {"empty file", QByteArray(), true},
        {"longer than any image", good + QByteArray(kMaxFileSize + 1 - good.size(), '\0'), true},
        {"refused model", QByteArray("QUORVANT") + ColdStore().deviceCode(kCodeRefused).build().left(384 + 3 * 128), false},
        {"one measurement", QByteArray("QUORVANT") + TwoMeasurements().measurements(1, [](int, int) -> std::uint8_t { return 1; }).build().left(512), false},
        {"signature only", QByteArray("QUORVANT"), false},
        {"header cut short", good.left(200), false},
    };
    for (const auto& c : cases) {
        const QString path = Scratch(QStringLiteral("bad.qrv"));
        WriteAll(path, c.bytes);
        RecordingPrompt prompt;
        auto r = Make();
        EXPECT_FALSE(r->LoadFile(path, prompt)) << c.name;
        EXPECT_TRUE(r->IsSaved()) << c.name;
        EXPECT_EQ(r->FileName(), path) << c.name;
        if (c.message) {
            ASSERT_EQ(prompt.records().size(), 1u) << c.name;
            EXPECT_EQ(prompt.records()[0].text, QStringLiteral("Invalid data file ")) << c.name;
            EXPECT_EQ(prompt.records()[0].symbol, PromptSymbol::Error) << c.name;
            EXPECT_EQ(prompt.records()[0].buttons, PromptButtons::Ok) << c.name;
        } else {
            EXPECT_TRUE(prompt.records().empty()) << c.name;
        }
    }
}

TEST_F(RecordingFile, LargestFileAndExtraBytesLoad)
{
    // Extra bytes after the last used block land in the image, uninterpreted.
    const QByteArray image = ColdStore().build();
    QByteArray file = QByteArray("QUORVANT") + image.left(384 + 3 * 128) + QByteArray("extra");
    const QString path = Scratch(QStringLiteral("extra.qrv"));
    WriteAll(path, file);
    RecordingPrompt prompt;
    auto r = Make();
    ASSERT_TRUE(r->LoadFile(path, prompt));
    EXPECT_EQ(r->ImageBytes().mid(384 + 3 * 128, 5), QByteArray("extra"));

    // A full 65,416-byte file is still a recording.
    const QByteArray full = QByteArray("QUORVANT") + ColdStore().deviceCode(kCodeLarge).build();
    ASSERT_EQ(full.size(), kMaxFileSize);
    WriteAll(path, full);
    auto big = Make();
    EXPECT_TRUE(big->LoadFile(path, prompt));
    EXPECT_EQ(big->ImageBytes(), full.mid(8));
}

TEST_F(RecordingFile, MissingFileIsReported)
{
    RecordingPrompt prompt;
    auto r = Make();
    EXPECT_FALSE(r->LoadFile(Scratch(QStringLiteral("none.qrv")), prompt));
    ASSERT_EQ(prompt.records().size(), 1u);
    EXPECT_TRUE(prompt.records()[0].text.startsWith(QStringLiteral("Cannot open ")));
    EXPECT_EQ(prompt.records()[0].symbol, PromptSymbol::Error);
}

TEST_F(RecordingFile, FailedSaveKeepsPreviousFileAndState)
{
    auto r = Load(ColdStore().build());
    r->SetFileName(QStringLiteral("before.qrv"));
    // A folder in place of the file: nothing can be written there.
    const QString folder = Scratch(QStringLiteral("taken.qrv"));
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_FALSE(r->save(folder));
    EXPECT_FALSE(r->LastError().isEmpty());
    EXPECT_FALSE(r->IsSaved());
    EXPECT_EQ(r->FileName(), QStringLiteral("before.qrv"));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    EXPECT_FALSE(r->save(Scratch(QStringLiteral("no/such/folder/x.qrv"))));
    EXPECT_FALSE(r->IsSaved());

    // Replacing a good file leaves no temporary file beside it.
    const QString path = Scratch(QStringLiteral("good.qrv"));
    WriteAll(path, "old content");
    ASSERT_TRUE(r->save(path));
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
        r->SetCaption(QStringLiteral("S/N:0815 - x"));
        r->SetSaved(c.saved);
        RecordingPrompt prompt;
        prompt.script({c.answer});
        EXPECT_EQ(r->MayClose(prompt), c.canClose);
        EXPECT_EQ(r->IsSaved(), c.canClose);
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
