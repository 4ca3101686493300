// The main window's commands that look into a recording: the information window (Logger
// infos) and the export.
#include "app/ui/main_window.h"

#include "app/ui/export_chooser.h"
#include "app/ui/information_window.h"
#include "app/ui/last_folder.h"
#include "graph/ui/graph_window.h"
#include "model/settings_file.h"
#include "ui/progress_dialog.h"

namespace qz {

void MainWindow::showLoggerInfos()
{
    // Only a graph window has information to show; with its information window active,
    // there is nothing to do.
    auto* graph = qobject_cast<GraphWindow*>(activeDocument());
    if (!graph)
        return;
    auto* window = qobject_cast<InformationWindow*>(graph->informationWindow());
    if (!window) {
        window = new InformationWindow(services_.prompt);
        placeDocument(window);
        window->setFileName(graph->fileName());
    }
    window->showRecordInfos(*graph);
    window->bringToFront();
}

void MainWindow::exportRecording()
{
    GraphWindow* graph = dataGraph();
    if (!graph)
        return;
    const LastFolder last(services_.folder.settingsFile());
    const std::optional<ExportTarget> target =
        chooseExportTarget(services_.dialogs, services_.prompt, this, graph->fileName(), last.folder());
    if (!target)
        return;
    if (const QString failed =
            settingsWriteMessage(services_.folder.settingsFile(), last.remember(target->name));
        !failed.isEmpty())
        services_.prompt.tell(failed, PromptSymbol::Error);
    ExportOutcome outcome;
    {
        ProgressDialog gauge(services_.pump, this, false);
        outcome = graph->exportFile(target->name, target->kind, gauge);
    }
    if (const QString message = exportMessage(outcome, target->name); !message.isEmpty())
        services_.prompt.tell(message, PromptSymbol::Error);
}

} // namespace qz
