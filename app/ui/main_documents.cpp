// The main window's commands on documents: Open, Save, Save As, Print, Print Setup, Copy,
// Copy To and the New Graph command.
#include "app/ui/main_window.h"

#include "ui/document_window.h"
#include "app/ui/document_dialogs.h"
#include "app/ui/document_texts.h"
#include "graph/ui/graph_window.h"

#include <QMdiArea>

namespace qz {

namespace {

const QString kRecordingFilter = QStringLiteral("Quorvant files (*.qrv)|*.qrv|All files (*.*)|*.*|");
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
    if (name.isEmpty())
        return;
    if (!hasExtension(name, kRecordingExt)) {
        services_.prompt.tell(texts::notAFileWithExtension(kRecordingExt), PromptSymbol::Error);
        return;
    }
    GraphWindow* graph = newGraphWindow();
    if (const LoadResult loaded = graph->load(name); !loaded.ok()) {
        // The reader's own message first, then the refusal.
        if (const QString message = LoadMessage(loaded, name); !message.isEmpty())
            services_.prompt.tell(message, PromptSymbol::Error);
        services_.prompt.tell(texts::fileNotForQuorvant(), PromptSymbol::Error);
        graph->FreeWindow();
        UpdateMenuItems();
        return;
    }
    RenumberGraphs();
    UpdateMenuItems();
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
    request.initialName = baseFileName(graph->FileName());
    const QString name = services_.dialogs.saveFile(this, request);
    if (name.isEmpty())
        return;
    if (!hasExtension(name, kRecordingExt)) {
        services_.prompt.tell(texts::notAFileWithExtension(kRecordingExt), PromptSymbol::Error);
        return;
    }
    if (const SaveResult saved = graph->save(name); !saved.ok())
        services_.prompt.tell(texts::cannotWrite(name, SaveMessage(saved, name)), PromptSymbol::Error);
    RenumberGraphs();
}

void MainWindow::save() { saveRecording(QStringLiteral("Save")); }

void MainWindow::saveAs() { saveRecording(QStringLiteral("Save File As")); }

void MainWindow::print()
{
    DocumentWindow* active = activeDocument();
    if (active && services_.dialogs.print(this, printer_))
        active->PrintForm(printer_);
}

void MainWindow::printNow()
{
    if (DocumentWindow* active = activeDocument())
        active->PrintForm(printer_);
}

void MainWindow::printSetup()
{
    services_.dialogs.printSetup(this, printer_);
}

void MainWindow::copy()
{
    if (DocumentWindow* active = activeDocument())
        active->CopyToClipBoard();
}

void MainWindow::copyTo()
{
    DocumentWindow* active = activeDocument();
    if (!active)
        return;
    const QString ext = active->ClipboardFileExt();
    FileDialogRequest request;
    request.title = QStringLiteral("Copy to");
    request.filter = active->ClipboardFileFilter();
    request.defaultExt = ext;
    // A document without a file proposes no name rather than a hidden ".bmp".
    request.initialName = active->FileName().isEmpty() ? QString() : withExtension(active->FileName(), ext);
    const QString name = services_.dialogs.saveFile(this, request);
    if (name.isEmpty())
        return;
    if (!hasExtension(name, ext)) {
        services_.prompt.tell(texts::notAFileWithExtension(ext), PromptSymbol::Error);
        return;
    }
    if (!active->SaveToFile(name))
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
        copy->FreeWindow();
        UpdateMenuItems();
        return;
    }
    RenumberGraphs();
    UpdateMenuItems();
}

} // namespace qz
