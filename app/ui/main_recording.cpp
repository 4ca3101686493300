// The main window's commands that look into a recording: the information window (Logger
// infos) and the export.
#include "app/ui/main_window.h"

#include "app/ui/export_chooser.h"
#include "app/ui/information_window.h"
#include "app/ui/last_folder.h"
#include "graph/ui/graph_window.h"
#include "model/settings_file.h"
#include "ui/progress_dialog.h"

#include <QDir>
#include <QLocale>
#include <QMdiArea>

namespace qz {

namespace {
const QString kFilesSection = QStringLiteral("Files");
const QString kExportTypeKey = QStringLiteral("ExportType");
} // namespace

void MainWindow::showLoggerInfos()
{
    // Only a graph window has information to show; with its information window active,
    // there is nothing to do.
    auto* graph = qobject_cast<GraphWindow*>(activeDocument());
    if (!graph)
        return;
    auto* window = qobject_cast<InformationWindow*>(graph->informationWindow());
    const bool made = !window;
    if (made) {
        window = new InformationWindow(services_.prompt);
        placeDocument(window);
        window->setFileName(graph->fileName());
    }
    window->showRecordInfos(*graph);
    // Wide enough for every input's column, as far as the document area goes.
    if (made)
        window->fitWidthToText(mdi_->viewport()->width());
    window->bringToFront();
}

void MainWindow::exportRecording()
{
    GraphWindow* graph = dataGraph();
    if (!graph)
        return;
    const QString settings = services_.folder.settingsFile();
    const LastFolder last(settings);
    // The type used last: a user exports the same way each time.
    const int lastType = IniFile::readValue(settings, kFilesSection, kExportTypeKey).toInt();
    const std::optional<ExportTarget> target = chooseExportTarget(services_.dialogs, services_.prompt, this,
                                                                  graph->fileName(), last.folder(), lastType);
    if (!target)
        return;
    if (const QString failed = settingsWriteMessage(settings, last.remember(target->name)); !failed.isEmpty())
        services_.prompt.tell(failed, PromptSymbol::Error);
    if (const QString type = QString::number(exportTypeIndex(target->kind));
        type != IniFile::readValue(settings, kFilesSection, kExportTypeKey))
        if (const QString failed = settingsWriteMessage(
                settings, IniFile::writeValue(settings, kFilesSection, kExportTypeKey, type));
            !failed.isEmpty())
            services_.prompt.tell(failed, PromptSymbol::Error);
    ExportOutcome outcome;
    {
        ProgressDialog gauge(services_.pump, this, false);
        outcome = graph->exportFile(target->name, target->kind, gauge);
    }
    if (const QString message = exportMessage(outcome, target->name); !message.isEmpty()) {
        services_.prompt.tell(message, PromptSymbol::Error);
    } else if (outcome.result == ExportResult::Done) {
        QLocale locale;
        locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
        showStatusNote(
            QStringLiteral("Exported %1 measurements to %2")
                .arg(locale.toString(graph->view().range().count()), QDir::toNativeSeparators(target->name)));
    }
}

} // namespace qz
