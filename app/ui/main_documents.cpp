// The main window's commands on documents: Open, Save, Save As, Print, Print Setup, Copy,
// Copy To and the New Graph command.
#include "app/ui/main_window.h"

#include "app/ui/child_form.h"
#include "app/ui/document_dialogs.h"
#include "app/ui/document_texts.h"
#include "graph/ui/graph_window.h"

#include <QMdiArea>

namespace qz {

namespace {

const QString kRecordingFilter = QStringLiteral("Quorvant files (*.qrv)|*.qrv|All files (*.*)|*.*|");
const QString kRecordingExt = QStringLiteral("qrv");

} // namespace

void TForm1::Open1Click()
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
    TMDIGraph* graph = newGraphWindow();
    if (!graph->LoadFile(name)) {
        services_.prompt.tell(texts::fileNotForQuorvant(), PromptSymbol::Error);
        graph->FreeWindow();
        UpdateMenuItems();
        return;
    }
    RenumberGraphs();
    UpdateMenuItems();
}

void TForm1::saveRecording(const QString& title)
{
    TMDIGraph* graph = dataGraph();
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
    if (!graph->Savefile(name))
        services_.prompt.tell(texts::cannotWrite(name, graph->Recording().LastError()), PromptSymbol::Error);
    RenumberGraphs();
}

void TForm1::Save1Click() { saveRecording(QStringLiteral("Save")); }

void TForm1::SaveAs1Click() { saveRecording(QStringLiteral("Save File As")); }

void TForm1::Print1Click()
{
    TChildForm* active = activeDocument();
    if (active && services_.dialogs.print(this, printer_))
        active->PrintForm(printer_);
}

void TForm1::sbPrintClick()
{
    if (TChildForm* active = activeDocument())
        active->PrintForm(printer_);
}

void TForm1::PrintSetup1Click()
{
    services_.dialogs.printSetup(this, printer_);
}

void TForm1::Copy1Click()
{
    if (TChildForm* active = activeDocument())
        active->CopyToClipBoard();
}

void TForm1::CoptTo1Click()
{
    TChildForm* active = activeDocument();
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

void TForm1::Graph1Click()
{
    TMDIGraph* source = dataGraph();
    if (!source)
        return;
    TMDIGraph* copy = newGraphWindow();
    copy->Recording().CopyFrom(source->Recording());
    if (!copy->Initialize()) {
        copy->FreeWindow();
        UpdateMenuItems();
        return;
    }
    RenumberGraphs();
    UpdateMenuItems();
}

} // namespace qz
