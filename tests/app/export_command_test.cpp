// The Export command: the chooser's proposal and types, a name that cannot be used asked
// again, Cancel that leaves nothing behind, and every type writing exactly what the
// command-line tool writes.
#include "app/ui/export_chooser.h"
#include "app/ui/information_window.h"
#include "app/ui/status_image.h"
#include "app_rig.h"
#include "graph/ui/graph_window.h"
#include "model/ini_file.h"
#include "support/csv_reader.h"
#include "support/small_file_system.h"
#include "ui/progress_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QProcess>
#include <QToolButton>

#include <ostream>

namespace qz::test {
namespace {

const QString kGolden = QStringLiteral(QUORZK_SOURCE_DIR "/tests/recording/golden/");
const QString kCli = QStringLiteral(QUORZK_BINARY_DIR "/quorzk-cli");

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ExportCommandTest : public AppTest {
protected:
    // The recording the golden exports were made from, opened through the menu.
    GraphWindow* openColdStore()
    {
        const QString copy = writeFile("cold_store.qrv", readFile(kGolden + "cold_store.qrv"));
        GraphWindow* g = openThroughMenu(copy);
        if (g) {
            form().mdiArea()->setActiveSubWindow(g);
            settle();
        }
        return g;
    }
    QStringList scratchFiles() const
    {
        return QDir(QFileInfo(scratch("x")).path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
};

TEST_F(ExportCommandTest, TheChooserProposesTheRecordingsNameWithTxtAndOffersTheTypes)
{
    ASSERT_NE(openColdStore(), nullptr);
    form().toolButton("sbExport")->click(); // no answer: a cancel
    ASSERT_EQ(dialogs_.requests.size(), 2u); // the Open, then the Export
    const FileDialogRequest& r = dialogs_.requests.back();
    EXPECT_EQ(r.title, "Export");
    EXPECT_EQ(r.filter,
              "Text (*.txt)|*.txt|Excel (*.txt)|*.txt|Lotus (*.txt)|*.txt|Text no date (*.txt)|*.txt|"
              "CSV (ISO 8601, UTF-8) (*.csv)|*.csv|");
    EXPECT_EQ(r.initialName, "cold_store.txt");
    EXPECT_EQ(r.type, 0);
    EXPECT_EQ(nameFilters(r.filter).at(4), "CSV (ISO 8601, UTF-8) (*.csv)");
}

TEST_F(ExportCommandTest, SaysWhatItExportedAndStartsOnTheTypeUsedLast)
{
    GraphWindow* g = openColdStore();
    ASSERT_NE(g, nullptr);
    const QString target = scratch("out.csv");
    dialogs_.choices = {FileChoice{target, 4}};
    form().exportRecording();
    settle();
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    EXPECT_EQ(form().statusImage()->note(),
              "Exported 100 measurements to " + QDir::toNativeSeparators(target));

    // The next export starts on CSV; the type is kept in the settings file.
    dialogs_.choices = {std::nullopt};
    form().exportRecording();
    EXPECT_EQ(dialogs_.requests.back().type, 4);
    EXPECT_EQ(dialogs_.requests.back().initialName, "cold_store.csv");
    EXPECT_EQ(IniFile::readValue(catalogue_.filePath("QUORZK.INI"), "Files", "ExportType"), "4");
}

TEST_F(ExportCommandTest, ACancelWritesNothing)
{
    ASSERT_NE(openColdStore(), nullptr);
    const QStringList before = scratchFiles();
    dialogs_.choices = {std::nullopt};
    form().action("meExport")->trigger();
    settle();
    EXPECT_EQ(scratchFiles(), before);
    EXPECT_TRUE(prompt_.records().empty());

    // Also after a refused name: asking about a name creates no file.
    dialogs_.choices = {FileChoice{scratch("missing/new.txt"), 0}, std::nullopt};
    form().exportRecording();
    EXPECT_EQ(prompt_.records().size(), 1u);
    EXPECT_EQ(scratchFiles(), before);
}

TEST_F(ExportCommandTest, ANameThatCannotBeUsedIsAskedAgainWithTheReason)
{
    ASSERT_NE(openColdStore(), nullptr);
    ASSERT_TRUE(QDir().mkpath(scratch("folder.csv")));
    const QString missing = scratch("missing/out.csv");
    const QString folder = scratch("folder.csv");
    const QString self = scratch("cold_store.qrv");
    const QString good = scratch("out.csv");
    dialogs_.choices = {FileChoice{missing, 4}, FileChoice{folder, 4}, FileChoice{self, 1},
                        FileChoice{good, 4}};
    form().exportRecording();
    settle();
    EXPECT_EQ(prompt_.texts(),
              QStringList({"Cannot write " + missing + ": No such file or directory",
                           "Cannot write " + folder + ": Is a directory",
                           "Cannot write " + self + ": it is the recording file being exported"}));
    for (const PromptRecord& r : prompt_.records())
        EXPECT_EQ(r.symbol, PromptSymbol::Error);
    // Each time the chooser comes back with the name and type just chosen.
    ASSERT_EQ(dialogs_.requests.size(), 1u + 4);
    EXPECT_EQ(dialogs_.requests[2].initialName, missing);
    EXPECT_EQ(dialogs_.requests[2].type, 4);
    EXPECT_EQ(dialogs_.requests[4].initialName, self);
    EXPECT_EQ(dialogs_.requests[4].type, 1);
    // The recording file is untouched and the accepted name holds the export.
    EXPECT_EQ(readFile(self), readFile(kGolden + "cold_store.qrv"));
    EXPECT_EQ(readFile(good), readFile(kGolden + "cold_store.csv"));
}

struct ExportCase {
    int type;
    const char* cliKind;
    const char* golden;
};

void PrintTo(const ExportCase& c, std::ostream* os)
{
    *os << "type " << c.type << " (" << c.cliKind << ")";
}

class ExportTypeTest : public ExportCommandTest, public ::testing::WithParamInterface<ExportCase> {};

TEST_P(ExportTypeTest, WritesWhatTheCommandLineToolWrites)
{
    const ExportCase& c = GetParam();
    ASSERT_NE(openColdStore(), nullptr);
    const QString target = scratch(QStringLiteral("out.") + QLatin1String(kExportTypes[c.type].extension));
    dialogs_.choices = {FileChoice{target, c.type}};
    form().exportRecording();
    settle();
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    const QByteArray written = readFile(target);
    EXPECT_EQ(written, readFile(kGolden + QLatin1String(c.golden)));

    if (!QFile::exists(kCli))
        GTEST_SKIP() << "quorzk-cli is not built";
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    cli.setProcessEnvironment(env);
    cli.start(kCli,
              {QStringLiteral("export"), scratch("cold_store.qrv"), QStringLiteral("--kind"),
               QLatin1String(c.cliKind)});
    ASSERT_TRUE(cli.waitForFinished(-1));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(written, cli.readAllStandardOutput());
}

INSTANTIATE_TEST_SUITE_P(EveryType, ExportTypeTest,
                         ::testing::Values(ExportCase{0, "text", "cold_store_text.txt"},
                                           ExportCase{1, "excel", "cold_store_excel.txt"},
                                           ExportCase{2, "lotus", "cold_store_lotus.txt"},
                                           ExportCase{3, "nodate", "cold_store_nodate.txt"},
                                           ExportCase{4, "csv", "cold_store.csv"}),
                         [](const ::testing::TestParamInfo<ExportCase>& info) {
                             return std::string(info.param.cliKind);
                         });

TEST_F(ExportCommandTest, TheTypesMapToTheirLayoutsInTheChoosersOrder)
{
    const ExportKind kinds[] = {ExportKind::Text, ExportKind::Excel, ExportKind::Lotus,
                                ExportKind::TextNoDate, ExportKind::Csv};
    ASSERT_EQ(std::size(kExportTypes), std::size(kinds));
    for (std::size_t i = 0; i < std::size(kinds); ++i)
        EXPECT_EQ(kExportTypes[i].kind, kinds[i]) << i;
    EXPECT_EQ(filterExtensions(exportFilter()), QStringList({"txt", "txt", "txt", "txt", "csv"}));
}

TEST_F(ExportCommandTest, WithTheInformationWindowActiveTheGraphsRecordingIsExported)
{
    GraphWindow* g = openColdStore();
    ASSERT_NE(g, nullptr);
    form().showLoggerInfos();
    settle();
    ASSERT_NE(qobject_cast<InformationWindow*>(form().activeDocument()), nullptr);
    dialogs_.choices = {FileChoice{scratch("out.csv"), 4}};
    form().exportRecording();
    settle();
    EXPECT_EQ(form().activeDocument(), g);
    EXPECT_EQ(readFile(scratch("out.csv")), readFile(kGolden + "cold_store.csv"));
}

TEST_F(ExportCommandTest, RunsWithTheProgressDialogAndItsCancelKeepsTheLinesWritten)
{
    // Eight inputs, 900 hourly measurements: nine checks of Cancel.
    ImageBuilder ring;
    ring.serial("8888").recordName(QStringLiteral("Eight inputs")).interval(60, 60).firstBlock(58);
    for (int i = 0; i < 8; ++i)
        ring.input(i, {QStringLiteral("In%1").arg(i + 1), QStringLiteral("mA"), 4, 20, 0, 160 * 256});
    ring.measurements(900, [](int k, int input) { return std::uint8_t((k + 10 * input) & 0xFF); });
    ASSERT_NE(openThroughMenu(writeRecording("ring.qrv", ring)), nullptr);

    QString caption;
    bool shown = false;
    pump_.onCall(pump_.calls() + 3, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* gauge = qobject_cast<ProgressDialog*>(w); gauge && gauge->isVisible()) {
                shown = true;
                caption = gauge->windowTitle();
                EXPECT_TRUE(gauge->cancelVisible());
                gauge->requestCancel();
            }
    });
    dialogs_.choices = {FileChoice{scratch("ring.csv"), 4}};
    form().exportRecording();
    settle();
    EXPECT_TRUE(shown);
    EXPECT_EQ(caption, "Export...");
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    // Cancel is pressed while the second check runs (the first pump comes with the
    // caption): the header and the 200 lines written so far stay, and read as CSV.
    const CsvTable t = readCsv(readFile(scratch("ring.csv")));
    ASSERT_TRUE(t.ok()) << t.error.toStdString();
    EXPECT_EQ(t.rows.size(), 1u + 200);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<ProgressDialog*>(w), nullptr) << "the progress dialog is freed";
}

TEST_F(ExportCommandTest, AFullDiskIsToldWithTheSystemsReason)
{
    SmallFileSystem disk(16);
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    ImageBuilder ring;
    ring.serial("8888").interval(60, 60).firstBlock(58);
    for (int i = 0; i < 8; ++i)
        ring.input(i, {QStringLiteral("In%1").arg(i + 1), QStringLiteral("mA"), 4, 20, 0, 160 * 256});
    ring.measurements(900, [](int k, int input) { return std::uint8_t((k + 10 * input) & 0xFF); });
    ASSERT_NE(openThroughMenu(writeRecording("ring.qrv", ring)), nullptr);
    const QString target = disk.filePath(QStringLiteral("ring.txt"));
    dialogs_.choices = {FileChoice{target, 0}};
    form().exportRecording();
    settle();
    EXPECT_EQ(prompt_.texts(), QStringList({"Cannot write " + target + ": No space left on device"}));
    EXPECT_FALSE(QFile::exists(target));
}

} // namespace
} // namespace qz::test
