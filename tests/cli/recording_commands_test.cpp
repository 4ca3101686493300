// quorzk-cli info and export on a recording file: the program's texts on standard output,
// refusals on standard error with a failing exit status.
#include "support/scoped_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

const QString kCli = QStringLiteral(QUORZK_BINARY_DIR "/quorzk-cli");
const QString kGolden = QStringLiteral(QUORZK_SOURCE_DIR "/tests/recording/golden/");

struct CliRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

CliRun runCli(const QStringList& args, const QString& locale = QStringLiteral("C"),
              const QString& program = kCli)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    p.setProcessEnvironment(env);
    p.start(program, args);
    CliRun r;
    if (!p.waitForFinished(-1))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray golden(const char* name)
{
    return readFile(kGolden + QLatin1String(name));
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

class RecordingCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFile::exists(kCli))
            GTEST_SKIP() << "quorzk-cli is not built";
    }
    const QString file_ = kGolden + QStringLiteral("cold_store.qrv");
};

TEST_F(RecordingCommands, InfoPrintsInformationText)
{
    const CliRun r = runCli({QStringLiteral("info"), file_});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    // One text line per output line; the text's final empty line included.
    EXPECT_EQ(r.out, golden("cold_store_info.txt") + "\n");
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(RecordingCommands, ExportOfEachKindToStandardOutput)
{
    const struct {
        const char* kind;
        const char* golden;
    } cases[] = {
        {"text", "cold_store_text.txt"},   {"excel", "cold_store_excel.txt"},
        {"lotus", "cold_store_lotus.txt"}, {"nodate", "cold_store_nodate.txt"},
        {"csv", "cold_store.csv"},
    };
    for (const auto& c : cases) {
        const CliRun r =
            runCli({QStringLiteral("export"), file_, QStringLiteral("--kind"), QLatin1String(c.kind)});
        EXPECT_EQ(r.status, 0) << c.kind << r.err.toStdString();
        EXPECT_EQ(r.out, golden(c.golden)) << c.kind;
    }
}

TEST_F(RecordingCommands, CsvIsTheSameInEveryLocale)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    const CliRun r = runCli({QStringLiteral("export"), file_, QStringLiteral("--kind"), QStringLiteral("csv"),
                             QStringLiteral("--output"), out},
                            QStringLiteral("de_DE.UTF-8"));
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(readFile(out), golden("cold_store.csv"));
}

TEST_F(RecordingCommands, ExportToFileWithLocaleSeparator)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    const CliRun r = runCli({QStringLiteral("export"), file_, QStringLiteral("--kind"),
                             QStringLiteral("excel"), QStringLiteral("--output"), out},
                            QStringLiteral("de_DE.UTF-8"));
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_GT(lines.size(), 15);
    EXPECT_EQ(lines[14], QByteArray("36955,591770833\t\t22,5\t20,0\t8,65\r"));
}

TEST_F(RecordingCommands, RefusalsGoToStandardError)
{
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.qrv"));
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("quorvant and some bytes");
    }
    const struct {
        QStringList args;
        int status;
        QByteArray err;
    } cases[] = {
        {{QStringLiteral("info"), bad}, 1, "Invalid data file \nThis file is not for a QuorvantZK\n"},
        {{QStringLiteral("export"), bad, QStringLiteral("--kind"), QStringLiteral("text")},
         1,
         "Invalid data file \nThis file is not for a QuorvantZK\n"},
        {{QStringLiteral("info"), dir.filePath(QStringLiteral("missing.qrv"))},
         1,
         "Cannot open " + dir.filePath(QStringLiteral("missing.qrv")).toUtf8()
             + ": No such file or directory\n"},
        {{QStringLiteral("info")},
         2,
         "quorzk-cli info: a recording file is required\nusage: quorzk-cli info FILE.qrv\n"},
        {{QStringLiteral("export"), file_},
         2,
         "quorzk-cli export: --kind text|excel|lotus|nodate|csv is required\n"},
        {{QStringLiteral("export"), file_, QStringLiteral("--kind"), QStringLiteral("xml")},
         2,
         "quorzk-cli export: unknown export kind 'xml' (text, excel, lotus, nodate or csv)\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(c.err)) << r.err.toStdString();
    }
    // A file that does not open is said once, with its reason.
    const CliRun missing = runCli({QStringLiteral("info"), dir.filePath(QStringLiteral("missing.qrv"))});
    EXPECT_EQ(missing.err, cases[2].err);
}

TEST_F(RecordingCommands, UnwritableOutputFails)
{
    const CliRun r =
        runCli({QStringLiteral("export"), file_, QStringLiteral("--kind"), QStringLiteral("text"),
                QStringLiteral("--output"), QStringLiteral("/nonexistent/dir/out.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Cannot write /nonexistent/dir/out.txt")) << r.err.toStdString();
}

TEST_F(RecordingCommands, AnExistingOutputIsReplacedOnlyWithForce)
{
    QTemporaryDir dir;
    const QString out = writeFile(dir.filePath(QStringLiteral("out.txt")), "keep me");
    const QStringList args{QStringLiteral("export"),   file_,
                           QStringLiteral("--kind"),   QStringLiteral("text"),
                           QStringLiteral("--output"), out};
    const CliRun refused = runCli(args);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "quorzk-cli export: " + out.toUtf8() + " already exists (--force replaces it)\n");
    EXPECT_EQ(readFile(out), QByteArray("keep me"));

    const CliRun forced = runCli(args + QStringList{QStringLiteral("--force")});
    EXPECT_EQ(forced.status, 0) << forced.err.toStdString();
    EXPECT_EQ(readFile(out), golden("cold_store_text.txt"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.txt")});

    const CliRun noOutput = runCli({QStringLiteral("export"), file_, QStringLiteral("--kind"),
                                    QStringLiteral("text"), QStringLiteral("--force")});
    EXPECT_EQ(noOutput.status, 2);
}

TEST_F(RecordingCommands, TheRecordingIsNeverItsOwnOutput)
{
    QTemporaryDir dir;
    const QString input = writeFile(dir.filePath(QStringLiteral("same.qrv")), readFile(file_));
    ASSERT_TRUE(QFile::link(input, dir.filePath(QStringLiteral("symbolic.qrv"))));
    ASSERT_EQ(::link(QFile::encodeName(input).constData(),
                     QFile::encodeName(dir.filePath(QStringLiteral("hard.qrv"))).constData()),
              0);
    for (const QString& out :
         {input, dir.filePath(QStringLiteral("symbolic.qrv")), dir.filePath(QStringLiteral("hard.qrv"))}) {
        const CliRun r =
            runCli({QStringLiteral("export"), input, QStringLiteral("--kind"), QStringLiteral("text"),
                    QStringLiteral("--output"), out, QStringLiteral("--force")});
        EXPECT_EQ(r.status, 1) << out.toStdString();
        EXPECT_EQ(r.err,
                  "quorzk-cli export: Cannot write " + out.toUtf8()
                      + ": it is the recording file being exported\n");
        EXPECT_EQ(readFile(input), readFile(file_)) << out.toStdString();
    }
}

TEST_F(RecordingCommands, AFileCutShortIsShownWithItsCompleteBlocksAndAWarning)
{
    // The cold store's last block loses 110 of its 128 bytes: 80 of 100 measurements stay.
    QTemporaryDir dir;
    const QByteArray whole = readFile(file_);
    const QString cut = writeFile(dir.filePath(QStringLiteral("cut.qrv")), whole.left(whole.size() - 110));
    const QByteArray warning =
        cut.toUtf8() + " is incomplete: missing 1 of its 3 data blocks; only the complete blocks are shown";

    const CliRun info = runCli({QStringLiteral("info"), cut});
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.err, warning + "\n");
    EXPECT_TRUE(info.out.contains("# Measurements     : 80\n")) << info.out.toStdString();
    EXPECT_TRUE(info.out.endsWith("\n" + warning + "\n")) << info.out.toStdString();

    const CliRun exported =
        runCli({QStringLiteral("export"), cut, QStringLiteral("--kind"), QStringLiteral("text")});
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.err, warning + "\n");
    // The lines of the complete blocks, exactly as in the whole recording's export.
    const QList<QByteArray> lines = exported.out.split('\n');
    const QList<QByteArray> wholeLines = golden("cold_store_text.txt").split('\n');
    ASSERT_EQ(lines.size(), 14 + 80 + 1);
    for (int n = 14; n < lines.size() - 1; ++n)
        EXPECT_EQ(lines[n], wholeLines[n]) << "line " << n;

    // 500 bytes hold no whole block: nothing to show.
    const QString tiny = writeFile(dir.filePath(QStringLiteral("tiny.qrv")), whole.left(500));
    const CliRun refused = runCli({QStringLiteral("info"), tiny});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_EQ(refused.err,
              tiny.toUtf8()
                  + " is incomplete: missing 3 of its 3 data blocks; only the complete blocks "
                    "are shown\nThis file is not for a QuorvantZK\n");
}

TEST_F(RecordingCommands, APipeOrFolderIsRefusedAtOnce)
{
    // A named pipe without a writer: reading it would wait forever.
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.qrv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct {
        QString path;
        const char* reason;
    } cases[] = {
        {fifo, "Not a regular file"},
        {dir.path(), "Is a directory"},
    };
    for (const auto& c : cases) {
        for (const QStringList& args : {QStringList{QStringLiteral("info"), c.path},
                                        QStringList{QStringLiteral("export"), c.path,
                                                    QStringLiteral("--kind"), QStringLiteral("text")}}) {
            const CliRun r = runCli(args);
            EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
            EXPECT_EQ(r.err, "Cannot open " + c.path.toUtf8() + ": " + c.reason + "\n");
        }
    }
}

TEST_F(RecordingCommands, AMissingCatalogueIsToldAsSuch)
{
    // The tool alone in a folder, without the devices.ini that lies beside it in the build.
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("bin/quorzk-cli"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("bin"))));
    ASSERT_TRUE(QFile::copy(kCli, program));
    // Nor one in the desktop's data folders.
    const qz::test::ScopedEnv dataDirs("XDG_DATA_DIRS", dir.path());
    const qz::test::ScopedEnv dataHome("XDG_DATA_HOME", dir.path());
    const CliRun r = runCli({QStringLiteral("info"), file_}, QStringLiteral("C"), program);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "The logger catalogue devices.ini could not be read: "
                  + dir.filePath(QStringLiteral("bin/devices.ini")).toUtf8()
                  + ": No such file or directory\n");
}

} // namespace
