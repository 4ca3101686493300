// What the main window tells about files it cannot use as they are: a recording cut
// short, a path that is no file, a missing catalogue, a settings file it refuses or
// cannot write.
#include "app_rig.h"

#include "app/ui/options_dialog.h"
#include "graph/ui/graph_window.h"
#include "model/ini_file.h"
#include "support/scoped_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>

#include <sys/stat.h>

namespace qz::test {
namespace {

class FileMessages : public AppTest {
protected:
    QString Settings() const { return catalogue_.filePath(QStringLiteral("QUORZK.INI")); }
    static QByteArray Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(FileMessages, FilesNamedAtStartOpenEachInAWindowAndBadOnesAreToldAsByOpen)
{
    const QString first = WriteRecording("first.qrv", ColdStoreImage());
    const QString second = WriteRecording("second.qrv", ColdStoreImage());
    const QString text = WriteFile("notes.txt", QByteArray("text"));
    const QString missing = Scratch("missing.qrv");
    // A name relative to the folder the program was started in.
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QFileInfo(second).path()));
    Form().openRecordings({first, text, missing, QStringLiteral("second.qrv")});
    QDir::setCurrent(saved);
    Settle();

    EXPECT_EQ(prompt_.texts(), (QStringList{"Not a file with the qrv extension",
                                            "Cannot open " + missing + ": No such file or directory"}));
    const QList<GraphWindow*> graphs = Form().graphWindows();
    ASSERT_EQ(graphs.size(), 2);
    // Front-most first: the last file named.
    EXPECT_EQ(graphs[0]->fileName(), second);
    EXPECT_EQ(graphs[1]->fileName(), first);
}

TEST_F(FileMessages, FileDialogsStartInTheLastFolderUsed)
{
    const QString name = WriteRecording("cold.qrv", ColdStoreImage());
    const QString folder = QFileInfo(name).absolutePath();
    dialogs_.script({name});
    Form().openFile();
    Settle();
    ASSERT_EQ(Form().graphWindows().size(), 1);
    EXPECT_NE(dialogs_.requests.front().folder, folder);
    EXPECT_EQ(IniFile::readValue(Settings(), "Files", "LastFolder"), folder);
    Form().saveAs(); // cancelled
    EXPECT_EQ(dialogs_.requests.back().folder, folder);
    Form().exportRecording(); // cancelled
    EXPECT_EQ(dialogs_.requests.back().title, "Export");
    EXPECT_EQ(dialogs_.requests.back().folder, folder);
    EXPECT_TRUE(prompt_.texts().isEmpty());
}

TEST_F(FileMessages, ARecordingCutShortOpensWithItsCompleteBlocksThenWarns)
{
    const QByteArray whole = ColdStoreImage().file();
    const QString name = WriteFile("cut.qrv", whole.left(whole.size() - 110));
    GraphWindow* graph = OpenThroughMenu(name);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->measurementCount(), 80);
    ASSERT_EQ(prompt_.records().size(), 1u);
    EXPECT_EQ(prompt_.records()[0].text,
              name + " is incomplete: missing 1 of its 3 data blocks; only the complete blocks are shown");
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Warning);
}

TEST_F(FileMessages, APipeOrFolderChosenAsARecordingIsRefusedAtOnce)
{
    // A named pipe without a writer would keep the window waiting forever.
    const QString fifo = Scratch("pipe.qrv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = Scratch("folder.qrv");
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct { QString path; QString reason; } cases[] = {
        {fifo, "Not a regular file"},
        {folder, "Is a directory"},
    };
    for (const auto& c : cases) {
        prompt_.clear();
        dialogs_.script({c.path});
        Form().openFile();
        Settle();
        EXPECT_EQ(prompt_.texts(), QStringList{"Cannot open " + c.path + ": " + c.reason});
        EXPECT_TRUE(Form().mdiArea()->subWindowList().isEmpty());
    }
}

TEST_F(FileMessages, AMissingCatalogueIsToldInsteadOfBlamingTheFile)
{
    const ScopedEnv dataDirs("XDG_DATA_DIRS", Scratch("data"));
    const ScopedEnv dataHome("XDG_DATA_HOME", Scratch("data"));
    const QString name = WriteRecording("cold.qrv", ColdStoreImage());
    ASSERT_TRUE(QFile::remove(catalogue_.filePath("devices.ini")));
    dialogs_.script({name});
    Form().openFile();
    Settle();
    EXPECT_EQ(prompt_.texts(), QStringList{"The logger catalogue devices.ini could not be read: "
                                           + catalogue_.filePath("devices.ini") + ": No such file or directory"});
    EXPECT_TRUE(Form().graphWindows().isEmpty());
}

TEST_F(FileMessages, ASettingsFileThatIsNoTextIsToldOnceAndLeftAlone)
{
    // UTF-16 settings, as another program may leave them: used, they would be appended to
    // in another encoding.
    const QByteArray utf16("\xFF\xFE[\0C\0o\0m\0m\0u\0n\0i\0c\0a\0t\0i\0o\0n\0]\0", 32);
    QFile f(Settings());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(utf16);
    f.close();

    Form();
    ASSERT_EQ(prompt_.records().size(), 1u);
    EXPECT_EQ(prompt_.records()[0].text, "The settings file QUORZK.INI could not be read: " + Settings()
                                             + ": not a text file. Default settings are used; the file is left as it is.");
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Warning);
    // Neither the start nor the options' OK writes it.
    Form().options()->acceptOptions();
    EXPECT_EQ(Read(Settings()), utf16);
    EXPECT_EQ(prompt_.records().size(), 1u);
}

TEST_F(FileMessages, ASettingsFileThatCannotBeWrittenIsTold)
{
    // The settings file is a link into a folder that is gone (a drive not mounted).
    ASSERT_TRUE(QFile::link("/nonexistent/quorzk/QUORZK.INI", Settings()));
    Form();
    const QString message = "The settings file QUORZK.INI could not be written: " + Settings()
        + ": No such file or directory";
    EXPECT_EQ(prompt_.texts(), QStringList{message});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
    prompt_.clear();
    Form().options()->acceptOptions();
    EXPECT_EQ(prompt_.texts(), QStringList{message});
}

} // namespace
} // namespace qz::test
