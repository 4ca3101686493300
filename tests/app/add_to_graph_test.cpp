// Add to graph...: other recordings overlaid on the active graph, from the File menu or
// dropped on it; the status line, the information window and the export of them all; a
// recording shown as it was left.
#include "app_rig.h"

#include "app/ui/export_chooser.h"
#include "app/ui/information_window.h"
#include "app/ui/status_image.h"
#include "graph/ui/graph_paint_box.h"
#include "graph/ui/graph_window.h"
#include "graph/ui/graphic_config_dialog.h"
#include "platform/progress.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace qz::test {
namespace {

class AddToGraph : public AppTest {
protected:
    GraphWindow* openTwo()
    {
        GraphWindow* graph = openThroughMenu(writeRecording("first.qrv", coldStoreImage()));
        const QString second = writeRecording("second.qrv", coldStoreImage().start(1, 3, 6, 9, 0, 0));
        dialogs_.script({second});
        form().action(QStringLiteral("AddToGraph1"))->trigger();
        settle();
        return graph;
    }
};

TEST_F(AddToGraph, TheFileMenuOffersItOnceAGraphIsOpen)
{
    QAction* add = form().action(QStringLiteral("AddToGraph1"));
    ASSERT_TRUE(add);
    EXPECT_EQ(add->text(), "Add to &graph...");
    EXPECT_TRUE(form().menu(QStringLiteral("File"))->actions().contains(add));
    EXPECT_FALSE(add->isEnabled());
    openThroughMenu(writeRecording("first.qrv", coldStoreImage()));
    EXPECT_TRUE(add->isEnabled());
}

TEST_F(AddToGraph, TheChosenRecordingIsOverlaidOnTheActiveGraph)
{
    GraphWindow* graph = openTwo();
    ASSERT_TRUE(graph);
    EXPECT_EQ(form().graphWindows().size(), 1);
    EXPECT_EQ(graph->view().recordingCount(), 2);
    EXPECT_EQ(dialogs_.requests.back().title, "Add to graph");
    EXPECT_TRUE(dialogs_.requests.back().fileMustExist);
    EXPECT_TRUE(prompt_.records().empty());
    // The title stays the first recording's.
    EXPECT_TRUE(graph->windowTitle().startsWith("first.qrv")) << graph->windowTitle().toStdString();
}

TEST_F(AddToGraph, RefusedFilesAreToldAndTheGraphStaysAsItWas)
{
    GraphWindow* graph = openThroughMenu(writeRecording("first.qrv", coldStoreImage()));
    const QString text = writeFile("notes.txt", "text");
    const QString broken = writeFile("broken.qrv", "QUORVAN");
    form().addRecordings(graph, {text, broken});
    EXPECT_EQ(prompt_.texts(),
              (QStringList{"Not a file with the qrv extension", "Invalid data file ",
                           "This file is not for a QuorvantZK"}));
    EXPECT_EQ(graph->view().recordingCount(), 1);

    // A graph full of recordings takes no more.
    prompt_.clear();
    const QString same = writeRecording("same.qrv", coldStoreImage());
    QStringList many;
    for (int n = 0; n < kMaxRecordings; ++n)
        many << same;
    form().addRecordings(graph, many);
    EXPECT_EQ(graph->view().recordingCount(), kMaxRecordings);
    EXPECT_EQ(prompt_.texts(), QStringList{"A graph shows at most 8 recordings"});
}

TEST_F(AddToGraph, FilesDroppedOnTheGraphAreAdded)
{
    GraphWindow* graph = openThroughMenu(writeRecording("first.qrv", coldStoreImage()));
    emit graph->recordingsDropped({writeRecording("dropped.qrv", coldStoreImage())});
    EXPECT_EQ(graph->view().recordingCount(), 2);
    EXPECT_EQ(graph->view().label(1), "dropped");
}

TEST_F(AddToGraph, InformationAndExportCoverEveryRecording)
{
    GraphWindow* graph = openTwo();
    form().showLoggerInfos();
    auto* info = qobject_cast<InformationWindow*>(graph->informationWindow());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->findChild<QPlainTextEdit*>()->toPlainText().count(QStringLiteral("Record Name")), 2);

    const QString csv = scratch("both.csv");
    ExportOutcome outcome;
    NullProgress progress;
    outcome = graph->exportFile(csv, ExportKind::Csv, progress);
    ASSERT_EQ(outcome.result, ExportResult::Done);
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.readLine();
    EXPECT_TRUE(head.startsWith("time,first: Air (\xc2\xb0"
                                "C)"))
        << head.constData();
    EXPECT_TRUE(head.contains(",second: Air (")) << head.constData();
    // Two recordings of 100 measurements one day apart: 200 lines after the names.
    int lines = 0;
    while (!f.readLine().isEmpty())
        ++lines;
    EXPECT_EQ(lines, 200);
}

} // namespace
} // namespace qz::test
