// The main window's commands on documents: Open, Save, Save As, Print, Print Setup, Copy,
// Copy To and the New Graph command.
#include "app/ui/main_window.h"

#include "ui/document_window.h"
#include "app/ui/document_dialogs.h"
#include "app/ui/document_texts.h"
#include "graph/ui/graph_window.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QStringList>

namespace qz {

namespace {

const QString kRecordingFilter = texts::recordingFilter();
const QString kRecordingExt = QStringLiteral("qrv");

} // namespace

void MainWindow::openFile()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Open");
    request.filter = kRecordingFilter;
    request.defaultExt = kRecordingExt;
    request.fileMustExist = true;
    const QString name = services_.dialogs.openFile(this, request);
    if (!name.isEmpty())
        openRecording(name);
}

void MainWindow::openRecordings(const QStringList& names)
{
    for (const QString& name : names)
        openRecording(QFileInfo(name).absoluteFilePath());
}

bool MainWindow::openRecording(const QString& name)
{
    if (!hasExtension(name, kRecordingExt)) {
        services_.prompt.tell(texts::notAFileWithExtension(kRecordingExt), PromptSymbol::Error);
        return false;
    }
    GraphWindow* graph = newGraphWindow();
    const LoadResult loaded = graph->load(name);
    if (!loaded.ok()) {
        TellLoad(services_.prompt, loaded, name);
        graph->freeWindow();
        updateMenuItems();
        return false;
    }
    renumberGraphs();
    updateMenuItems();
    // A file cut short is shown with its complete blocks; the user hears of it once the
    // window is there.
    TellLoad(services_.prompt, loaded, name);
    return true;
}

void MainWindow::saveRecording(const QString& title)
{
    GraphWindow* graph = dataGraph();
    if (!graph)
        return;
    FileDialogRequest request;
    request.title = title;
    request.filter = kRecordingFilter;
    request.defaultExt = kRecordingExt;
    request.initialName = baseFileName(graph->fileName());
    const QString name = services_.dialogs.saveFile(this, request);
    if (name.isEmpty())
        return;
    if (!hasExtension(name, kRecordingExt)) {
        services_.prompt.tell(texts::notAFileWithExtension(kRecordingExt), PromptSymbol::Error);
        return;
    }
    if (const SaveResult saved = graph->save(name); !saved.ok())
        services_.prompt.tell(SaveMessage(saved, name), PromptSymbol::Error);
    renumberGraphs();
}

void MainWindow::save() { saveRecording(QStringLiteral("Save")); }

void MainWindow::saveAs() { saveRecording(QStringLiteral("Save File As")); }

void MainWindow::print()
{
    DocumentWindow* active = activeDocument();
    if (active && services_.dialogs.print(this, printer_))
        active->printTo(printer_);
}

void MainWindow::printNow()
{
    if (DocumentWindow* active = activeDocument())
        active->printTo(printer_);
}

void MainWindow::printSetup()
{
    services_.dialogs.printSetup(this, printer_);
}

void MainWindow::copy()
{
    if (DocumentWindow* active = activeDocument())
        active->copyToClipboard();
}

void MainWindow::copyTo()
{
    DocumentWindow* active = activeDocument();
    if (!active)
        return;
    const QString ext = active->clipboardFileExtension();
    FileDialogRequest request;
    request.title = QStringLiteral("Copy to");
    request.filter = active->clipboardFileFilter();
    request.defaultExt = ext;
    // A document without a file proposes no name rather than a hidden ".bmp".
    request.initialName = active->fileName().isEmpty() ? QString() : withExtension(active->fileName(), ext);
    const QString name = services_.dialogs.saveFile(this, request);
    if (name.isEmpty())
        return;
    if (!hasExtension(name, ext)) {
        services_.prompt.tell(texts::notAFileWithExtension(ext), PromptSymbol::Error);
        return;
    }
    if (!active->saveToFile(name))
        services_.prompt.tell(texts::cannotWrite(name, QString()), PromptSymbol::Error);
}

void MainWindow::openGraphView()
{
    GraphWindow* source = dataGraph();
    if (!source)
        return;
    GraphWindow* copy = newGraphWindow();
    copy->recording().copyFrom(source->recording());
    if (!copy->initialize()) {
        copy->freeWindow();
        updateMenuItems();
        return;
    }
    renumberGraphs();
    updateMenuItems();
}

} // namespace qz
