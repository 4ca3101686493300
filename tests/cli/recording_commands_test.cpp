// quorzk-cli info and export on a recording file: the program's texts on standard output,
// refusals on standard error with a failing exit status.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kCli = QStringLiteral(QUORZK_BINARY_DIR "/quorzk-cli");
const QString kGolden = QStringLiteral(QUORZK_SOURCE_DIR "/tests/recording/golden/");

struct CliRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

CliRun RunCli(const QStringList& args, const QString& locale = QStringLiteral("C"))
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    p.setProcessEnvironment(env);
    p.start(kCli, args);
    CliRun r;
    if (!p.waitForFinished(-1))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QByteArray Golden(const char* name)
{
    QFile f(kGolden + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
    const CliRun r = RunCli({QStringLiteral("info"), file_});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    // One text line per output line; the text's final empty line included.
    EXPECT_EQ(r.out, Golden("cold_store_info.txt") + "\n");
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(RecordingCommands, ExportOfEachKindToStandardOutput)
{
    const struct { const char* kind; const char* golden; } cases[] = {
        {"text", "cold_store_text.txt"},
        {"excel", "cold_store_excel.txt"},
        {"lotus", "cold_store_lotus.txt"},
        {"nodate", "cold_store_nodate.txt"},
    };
    for (const auto& c : cases) {
        const CliRun r = RunCli({QStringLiteral("export"), file_, QStringLiteral("--kind"), QLatin1String(c.kind)});
        EXPECT_EQ(r.status, 0) << c.kind << r.err.toStdString();
        EXPECT_EQ(r.out, Golden(c.golden)) << c.kind;
    }
}

TEST_F(RecordingCommands, ExportToFileWithLocaleSeparator)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    const CliRun r = RunCli({QStringLiteral("export"), file_, QStringLiteral("--kind"), QStringLiteral("excel"),
                          QStringLiteral("--output"), out},
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
    const struct { QStringList args; int status; QByteArray err; } cases[] = {
        {{QStringLiteral("info"), bad}, 1, "Invalid data file \nThis file is not for a QuorvantZK\n"},
        {{QStringLiteral("export"), bad, QStringLiteral("--kind"), QStringLiteral("text")}, 1,
         "Invalid data file \nThis file is not for a QuorvantZK\n"},
        {{QStringLiteral("info"), dir.filePath(QStringLiteral("missing.qrv"))}, 1,
         "Cannot open " + dir.filePath(QStringLiteral("missing.qrv")).toUtf8() + ": No such file or directory\n"},
        {{QStringLiteral("info")}, 2, "usage: quorzk-cli info FILE.qrv\n"},
        {{QStringLiteral("export"), file_}, 2, "quorzk-cli export: --kind text|excel|lotus|nodate is required\n"},
        {{QStringLiteral("export"), file_, QStringLiteral("--kind"), QStringLiteral("csv")}, 2,
         "quorzk-cli export: unknown export kind 'csv' (text, excel, lotus or nodate)\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(c.err)) << r.err.toStdString();
    }
    // A file that does not open is said once, with its reason.
    const CliRun missing = RunCli({QStringLiteral("info"), dir.filePath(QStringLiteral("missing.qrv"))});
    EXPECT_EQ(missing.err, cases[2].err);
}

TEST_F(RecordingCommands, UnwritableOutputFails)
{
    const CliRun r = RunCli({QStringLiteral("export"), file_, QStringLiteral("--kind"), QStringLiteral("text"),
                          QStringLiteral("--output"), QStringLiteral("/nonexistent/dir/out.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Cannot write /nonexistent/dir/out.txt")) << r.err.toStdString();
}

} // namespace
