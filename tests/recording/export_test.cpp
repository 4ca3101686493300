// Text export of a recording's range in every line layout.
#include "recording_fixture.h"
#include "support/small_file_system.h"

#include "platform/progress.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <unistd.h>

namespace qz::test {
namespace {

// Keeps what the export tells its progress display; cancels at a chosen check.
class ScriptedProgress final : public Progress {
public:
    void setCaption(const QString& caption) override { caption_ = caption; }
    void setMaximum(int maximum) override { maximum_ = maximum; }
    void setPosition(int position) override { positions_.push_back(position); }
    void setCancelEnabled(bool enabled) override { cancelEnabled_ = enabled; }
    bool cancelled() override { return ++checks_ == cancelAt_; }

    QString caption_;
    int maximum_ = -1;
    std::vector<int> positions_;
    bool cancelEnabled_ = false;
    int checks_ = 0;
    int cancelAt_ = -1;
};

class TextExport : public RecordingTest {
protected:
    QByteArray Export(const RecordingData& r, ExportKind kind) { return Export(r, wholeRecording(r), kind); }
    QByteArray Export(const RecordingData& r, const DataRange& range, ExportKind kind)
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        ScriptedProgress progress;
        EXPECT_EQ(exportTo(out, r, range, kind, progress).result, ExportResult::Done);
        return out.data();
    }
    static QList<QByteArray> linesOf(const QByteArray& text)
    {
        QList<QByteArray> lines = text.split('\n');
        EXPECT_TRUE(lines.last().isEmpty()); // the last line ends too
        lines.removeLast();
        for (QByteArray& l : lines) {
            EXPECT_TRUE(l.endsWith('\r'));
            l.chop(1);
        }
        return lines;
    }
};

TEST_F(TextExport, EveryKindMatchesGolden)
{
    auto r = load(coldStore().build());
    const struct {
        ExportKind kind;
        const char* golden;
    } cases[] = {
        {ExportKind::Text, "cold_store_text.txt"},     {ExportKind::Excel, "cold_store_excel.txt"},
        {ExportKind::Lotus, "cold_store_lotus.txt"},   {ExportKind::TextNoDate, "cold_store_nodate.txt"},
        {ExportKind::DateOnly, "cold_store_date.txt"},
    };
    for (const auto& c : cases)
        checkGolden(QLatin1String(c.golden), Export(*r, c.kind));
}

TEST_F(TextExport, HeaderThenOneLinePerMeasurement)
{
    auto r = load(coldStore().build());
    const QList<QByteArray> lines = linesOf(Export(*r, ExportKind::Text));
    const QStringList info = infoLines(*r);
    ASSERT_EQ(lines.size(), info.size() + 100);
    for (qsizetype i = 0; i < info.size(); ++i)
        EXPECT_EQ(QString::fromUtf8(lines[i]), info[i]);
    // Measurement 1 lies one step (5 min) after the stamp; falling input 5: raw 27.
    EXPECT_EQ(lines[14], QByteArray("05/03/01 14:12:09\t\t22.5\t20.0\t8.65"));
    EXPECT_EQ(lines.last(), QByteArray("05/03/01 22:27:09\t\t22.0\t40.0\t9.00"));
}

TEST_F(TextExport, LayoutOfEachKind)
{
    auto r = load(coldStore().start(0, 1, 1, 11, 55, 0).build());
    const struct {
        ExportKind kind;
        const char* begins;
    } cases[] = {
        {ExportKind::Text, "01/01/00 12:00:00\t\t"}, {ExportKind::Excel, "36526.500000000\t\t"},
        {ExportKind::Lotus, "36526.500000000;\t"},   {ExportKind::TextNoDate, "12:00:00\t\t"},
        {ExportKind::DateOnly, "01/01/00\t\t"},
    };
    for (const auto& c : cases) {
        const QList<QByteArray> lines = linesOf(Export(*r, c.kind));
        EXPECT_TRUE(lines[14].startsWith(c.begins)) << lines[14].toStdString();
        if (c.kind == ExportKind::Lotus) {
            for (qsizetype i = 14; i < lines.size(); ++i)
                EXPECT_EQ(lines[i].count(';'), 1);
        }
    }
}

TEST_F(TextExport, YearOfCenturyHasTwoDigits)
{
    auto r = load(twoMeasurements().build()); // from 15/06/05 10:00:00, 90 s apart
    const QList<QByteArray> lines = linesOf(Export(*r, ExportKind::Text));
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[14], QByteArray("15/06/05 10:01:30\t\t2.00"));
    EXPECT_EQ(lines[15], QByteArray("15/06/05 10:03:00\t\t8.00"));
}

TEST_F(TextExport, APartStartsAtItsFirstMeasurement)
{
    auto r = load(coldStore().build());
    DataRange zoom = wholeRecording(*r);
    zoom.first = 50;
    zoom.last = 50;
    const QList<QByteArray> lines = linesOf(Export(*r, zoom, ExportKind::Text));
    ASSERT_EQ(lines.size(), 15);
    // 50 steps of 5 minutes after 14:07:09.
    EXPECT_TRUE(lines[14].startsWith("05/03/01 18:17:09\t\t")) << lines[14].toStdString();
    EXPECT_EQ(lines[11], QByteArray("# Measurements     : 1"));
}

TEST_F(TextExport, NoDrawnInputLeavesOnlyTheDateField)
{
    auto r = load(coldStore().build());
    DataRange range = wholeRecording(*r);
    range.inputs.fill(false);
    const QList<QByteArray> lines = linesOf(Export(*r, range, ExportKind::TextNoDate));
    EXPECT_EQ(lines[14], QByteArray("14:12:09\t"));
    EXPECT_EQ(lines[5], QByteArray("Inputs             : "));
}

TEST_F(TextExport, DecimalSeparatorFollowsLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto r = load(coldStore().start(0, 1, 1, 11, 55, 0).build());
    const QList<QByteArray> lines = linesOf(Export(*r, ExportKind::Lotus));
    EXPECT_TRUE(lines[14].startsWith("36526,500000000;\t22,5\t20,0\t8,65")) << lines[14].toStdString();
}

TEST_F(TextExport, ProgressAndCancel)
{
    auto r = load(wrappedRing().build());
    const QString path = scratch(QStringLiteral("ring.txt"));
    ScriptedProgress progress;
    progress.cancelAt_ = 3; // the third check comes after line 300
    EXPECT_EQ(exportFile(path, *r, wholeRecording(*r), ExportKind::Text, progress).result,
              ExportResult::Cancelled);
    EXPECT_EQ(progress.caption_, QStringLiteral("Export..."));
    EXPECT_EQ(progress.maximum_, 899);
    EXPECT_TRUE(progress.cancelEnabled_);
    EXPECT_EQ(progress.positions_, (std::vector<int>{99, 199, 299}));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count('\n'), 14 + 300); // the lines written so far stay

    ScriptedProgress whole;
    EXPECT_EQ(exportFile(path, *r, wholeRecording(*r), ExportKind::Excel, whole).result, ExportResult::Done);
    EXPECT_EQ(whole.checks_, 9);
    f.close();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count('\n'), 14 + 900);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(TextExport, NeverWritesOverTheRecordingItself)
{
    // The recording's own file, under its name, through a symbolic and a hard link.
    const QString file = scratch(QStringLiteral("same.qrv"));
    ASSERT_TRUE(saveRecordingFile(*load(coldStore().build()), file).ok());
    const auto r = RecordingData::fromFile(file, folder()).data;
    ASSERT_TRUE(r);
    ASSERT_TRUE(QFile::link(file, scratch(QStringLiteral("symbolic.qrv"))));
    ASSERT_EQ(::link(QFile::encodeName(file).constData(),
                     QFile::encodeName(scratch(QStringLiteral("hard.qrv"))).constData()),
              0);
    const QByteArray before = readFile(file);
    for (const QString& target :
         {file, scratch(QStringLiteral("symbolic.qrv")), scratch(QStringLiteral("hard.qrv"))}) {
        ScriptedProgress progress;
        const ExportOutcome outcome = exportFile(target, *r, wholeRecording(*r), ExportKind::Text, progress);
        EXPECT_EQ(outcome.result, ExportResult::SameAsInput) << target.toStdString();
        EXPECT_EQ(exportMessage(outcome, target),
                  QStringLiteral("Cannot write ") + target
                      + QStringLiteral(": it is the recording file being exported"));
        EXPECT_EQ(readFile(file), before) << target.toStdString();
    }
    // Another name is written as usual.
    ScriptedProgress progress;
    EXPECT_EQ(
        exportFile(scratch(QStringLiteral("same.txt")), *r, wholeRecording(*r), ExportKind::Text, progress)
            .result,
        ExportResult::Done);
}

TEST_F(TextExport, AFullDiskIsToldWithTheSystemsReasonAndKeepsThePreviousFile)
{
    SmallFileSystem disk(16);
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    const QString path = disk.filePath(QStringLiteral("ring.txt"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the previous export\r\n");
    }
    auto r = load(wrappedRing().build()); // about 60 kB of text
    ScriptedProgress progress;
    const ExportOutcome outcome = exportFile(path, *r, wholeRecording(*r), ExportKind::Text, progress);
    EXPECT_EQ(outcome.result, ExportResult::Failed);
    EXPECT_EQ(outcome.reason, QStringLiteral("No space left on device"));
    EXPECT_EQ(readFile(path), QByteArray("the previous export\r\n"));
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files), QStringList{QStringLiteral("ring.txt")});
}

// An output device that takes a few kilobytes, then fails as a full disk does: with the
// error number set and no text of its own.
class FillingDevice final : public QIODevice {
public:
    explicit FillingDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override
    {
        if (room_ == 0) {
            errno = ENOSPC;
            return -1;
        }
        const qint64 n = std::min(size, room_);
        room_ -= n;
        return n;
    }

private:
    qint64 room_;
};

TEST_F(TextExport, AWriteCutShortByAFullDeviceGivesTheSystemsReason)
{
    auto r = load(wrappedRing().build());
    FillingDevice out(10000);
    ScriptedProgress progress;
    const ExportOutcome outcome = exportTo(out, *r, wholeRecording(*r), ExportKind::Text, progress);
    EXPECT_EQ(outcome.result, ExportResult::Failed);
    EXPECT_EQ(outcome.reason, QStringLiteral("No space left on device"));
}

TEST_F(TextExport, UnwritableTargetFailsWithReason)
{
    auto r = load(coldStore().build());
    ScriptedProgress progress;
    const QString target = scratch(QStringLiteral("missing/dir/out.txt"));
    const ExportOutcome outcome = exportFile(target, *r, wholeRecording(*r), ExportKind::Text, progress);
    EXPECT_EQ(outcome.result, ExportResult::Failed);
    EXPECT_FALSE(outcome.reason.isEmpty());
    EXPECT_EQ(exportMessage(outcome, target),
              QStringLiteral("Cannot write ") + target + QStringLiteral(": ") + outcome.reason);
    EXPECT_EQ(exportMessage({ExportResult::Cancelled, QString()}, target), QString());

    // A pipe or a folder in the output's place stays what it is.
    const QString folder = scratch(QStringLiteral("folder.txt"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const ExportOutcome onFolder = exportFile(folder, *r, wholeRecording(*r), ExportKind::Text, progress);
    EXPECT_EQ(onFolder.result, ExportResult::Failed);
    EXPECT_EQ(onFolder.reason, QStringLiteral("Is a directory"));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

} // namespace
} // namespace qz::test
