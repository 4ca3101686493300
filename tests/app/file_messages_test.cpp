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
    QString settings() const { return catalogue_.filePath(QStringLiteral("QUORZK.INI")); }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(FileMessages, FilesNamedAtStartOpenEachInAWindowAndBadOnesAreToldAsByOpen)
{
    const QString first = writeRecording("first.qrv", coldStoreImage());
    const QString second = writeRecording("second.qrv", coldStoreImage());
    const QString text = writeFile("notes.txt", QByteArray("text"));
    const QString missing = scratch("missing.qrv");
    // A name relative to the folder the program was started in.
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QFileInfo(second).path()));
    form().openRecordings({first, text, missing, QStringLiteral("second.qrv")});
    QDir::setCurrent(saved);
    settle();

    EXPECT_EQ(prompt_.texts(),
              (QStringList{"Not a file with the qrv extension",
                           "Cannot open " + missing + ": No such file or directory"}));
    const QList<GraphWindow*> graphs = form().graphWindows();
    ASSERT_EQ(graphs.size(), 2);
    // Front-most first: the last file named.
    EXPECT_EQ(graphs[0]->fileName(), second);
    EXPECT_EQ(graphs[1]->fileName(), first);
}

TEST_F(FileMessages, FileDialogsStartInTheLastFolderUsed)
{
    const QString name = writeRecording("cold.qrv", coldStoreImage());
    const QString folder = QFileInfo(name).absolutePath();
    dialogs_.script({name});
    form().openFile();
    settle();
    ASSERT_EQ(form().graphWindows().size(), 1);
    EXPECT_NE(dialogs_.requests.front().folder, folder);
    EXPECT_EQ(IniFile::readValue(settings(), "Files", "LastFolder"), folder);
    form().saveAs(); // cancelled
    EXPECT_EQ(dialogs_.requests.back().folder, folder);
    form().exportRecording(); // cancelled
    EXPECT_EQ(dialogs_.requests.back().title, "Export");
    EXPECT_EQ(dialogs_.requests.back().folder, folder);
    EXPECT_TRUE(prompt_.texts().isEmpty());
}

TEST_F(FileMessages, ARecordingCutShortOpensWithItsCompleteBlocksThenWarns)
{
    const QByteArray whole = coldStoreImage().file();
    const QString name = writeFile("cut.qrv", whole.left(whole.size() - 110));
    GraphWindow* graph = openThroughMenu(name);
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
    const QString fifo = scratch("pipe.qrv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = scratch("folder.qrv");
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {fifo, "Not a regular file"},
        {folder, "Is a directory"},
    };
    for (const auto& c : cases) {
        prompt_.clear();
        dialogs_.script({c.path});
        form().openFile();
        settle();
        EXPECT_EQ(prompt_.texts(), QStringList{"Cannot open " + c.path + ": " + c.reason});
        EXPECT_TRUE(form().mdiArea()->subWindowList().isEmpty());
    }
}

TEST_F(FileMessages, AMissingCatalogueIsToldInsteadOfBlamingTheFile)
{
    const ScopedEnv dataDirs("XDG_DATA_DIRS", scratch("data"));
    const ScopedEnv dataHome("XDG_DATA_HOME", scratch("data"));
    const QString name = writeRecording("cold.qrv", coldStoreImage());
    ASSERT_TRUE(QFile::remove(catalogue_.filePath("devices.ini")));
    dialogs_.script({name});
    form().openFile();
    settle();
    EXPECT_EQ(prompt_.texts(),
              QStringList{"The logger catalogue devices.ini could not be read: "
                          + catalogue_.filePath("devices.ini") + ": No such file or directory"});
    EXPECT_TRUE(form().graphWindows().isEmpty());
}

TEST_F(FileMessages, ASettingsFileThatIsNoTextIsToldOnceAndLeftAlone)
{
    // UTF-16 settings, as another program may leave them: used, they would be appended to
    // in another encoding.
    const QByteArray utf16("\xFF\xFE[\0C\0o\0m\0m\0u\0n\0i\0c\0a\0t\0i\0o\0n\0]\0", 32);
    QFile f(settings());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(utf16);
    f.close();

    form();
    ASSERT_EQ(prompt_.records().size(), 1u);
    EXPECT_EQ(prompt_.records()[0].text,
              "The settings file QUORZK.INI could not be read: " + settings()
                  + ": not a text file. Default settings are used; the file is left as it is.");
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Warning);
    // Neither the start nor the options' OK writes it.
    form().options()->acceptOptions();
    EXPECT_EQ(read(settings()), utf16);
    EXPECT_EQ(prompt_.records().size(), 1u);
}

TEST_F(FileMessages, ASettingsFileThatCannotBeWrittenIsTold)
{
    // The settings file is a link into a folder that is gone (a drive not mounted).
    ASSERT_TRUE(QFile::link("/nonexistent/quorzk/QUORZK.INI", settings()));
    form();
    const QString message =
        "The settings file QUORZK.INI could not be written: " + settings() + ": No such file or directory";
    EXPECT_EQ(prompt_.texts(), QStringList{message});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
    prompt_.clear();
    form().options()->acceptOptions();
    EXPECT_EQ(prompt_.texts(), QStringList{message});
}

} // namespace
} // namespace qz::test
