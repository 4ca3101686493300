// The main window's commands on documents: Open, Save, Save As, Print, Print Setup, Copy,
// Copy To and the New Graph command.
#include "app/ui/main_window.h"

#include "app/ui/document_dialogs.h"
#include "app/ui/document_texts.h"
#include "app/ui/last_folder.h"
#include "graph/ui/graph_window.h"
#include "model/datetime_number.h"
#include "model/settings_file.h"
#include "ui/document_window.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QPrinter>
#include <QStringList>

#include <memory>

namespace qz {

namespace {

const QString kRecordingFilter = texts::recordingFilter();
const QString kRecordingExt = QStringLiteral("qrv");

void tellLoad(Prompt& prompt, const LoadResult& result, const QString& name)
{
    for (const LoadNotice& notice : loadNotices(result, name))
        prompt.tell(notice.text,
                    notice.kind == NoticeKind::Warning ? PromptSymbol::Warning : PromptSymbol::Error);
}

// The name a recording without a file is proposed under: its name (the comment given at
// configuration, or the serial number without one) and the day it starts.
QString recordingFileName(const RecordingData& data)
{
    QString name = data.reader().recordName().simplified();
    if (name.isEmpty())
        name = data.reader().serialNumber().simplified();
    // Characters that have a meaning in a path, or none on some file systems, become "-".
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':')
            || c.category() == QChar::Other_Control)
            c = QLatin1Char('-');
    const QDateTime start = fromDateTimeNumber(data.measurementTime(1));
    if (start.isValid())
        name += QLatin1Char(' ') + start.date().toString(QStringLiteral("yyyy-MM-dd"));
    return proposedFileName(name, kRecordingExt);
}

// Where a document's file is, for a dialog to start in; empty when it has none.
QString documentFolder(DocumentWindow* window)
{
    DocumentWindow* data = window ? window->dataWindow() : nullptr;
    const QString file = data ? data->fileName() : QString();
    return file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
}

} // namespace

QString MainWindow::chooseFile(FileDialogRequest request, FileDialogKind kind)
{
    const QString settings = services_.folder.settingsFile();
    const LastFolder last(settings);
    if (request.folder.isEmpty())
        request.folder = last.folder();
    const QString name = kind == FileDialogKind::Open ? services_.dialogs.openFile(this, request)
                                                      : services_.dialogs.saveFile(this, request);
    if (const QString failed = settingsWriteMessage(settings, last.remember(name)); !failed.isEmpty())
        services_.prompt.tell(failed, PromptSymbol::Error);
    return name;
}

void MainWindow::openFile()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Open");
    request.filter = kRecordingFilter;
    request.defaultExt = kRecordingExt;
    request.fileMustExist = true;
    const QString name = chooseFile(request, FileDialogKind::Open);
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
    const LoadResult loaded = RecordingData::fromFile(name, services_.folder);
    if (!loaded.ok()) {
        tellLoad(services_.prompt, loaded, name);
        updateMenuItems();
        return false;
    }
    newGraphWindow()->showRecording(loaded.data, true);
    renumberGraphs();
    updateMenuItems();
    rememberFile(name);
    // A file cut short is shown with its complete blocks; the user hears of it once the
    // window is there.
    tellLoad(services_.prompt, loaded, name);
    return true;
}

void MainWindow::addToGraph()
{
    GraphWindow* graph = dataGraph();
    if (!graph || !graph->hasRecording())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Add to graph");
    request.filter = kRecordingFilter;
    request.defaultExt = kRecordingExt;
    request.fileMustExist = true;
    const QString name = chooseFile(request, FileDialogKind::Open);
    if (!name.isEmpty())
        addRecordings(graph, {name});
}

void MainWindow::addRecordings(GraphWindow* graph, const QStringList& names)
{
    if (!graph || !graph->hasRecording())
        return;
    for (const QString& name : names) {
        if (!hasExtension(name, kRecordingExt)) {
            services_.prompt.tell(texts::notAFileWithExtension(kRecordingExt), PromptSymbol::Error);
            continue;
        }
        const LoadResult loaded =
            RecordingData::fromFile(QFileInfo(name).absoluteFilePath(), services_.folder);
        if (!loaded.ok()) {
            tellLoad(services_.prompt, loaded, name);
            continue;
        }
        if (!graph->addRecording(loaded.data)) {
            services_.prompt.tell(texts::graphIsFull(kMaxRecordings), PromptSymbol::Error);
            return;
        }
        tellLoad(services_.prompt, loaded, name);
    }
}

void MainWindow::saveRecording(const QString& title)
{
    if (GraphWindow* graph = dataGraph())
        saveGraph(graph, title);
}

bool MainWindow::saveGraph(GraphWindow* graph, const QString& title)
{
    if (!graph || !graph->hasRecording())
        return false;
    FileDialogRequest request;
    request.title = title;
    request.filter = kRecordingFilter;
    request.defaultExt = kRecordingExt;
    request.initialName =
        graph->fileName().isEmpty() ? recordingFileName(graph->data()) : baseFileName(graph->fileName());
    const QString name = chooseFile(request, FileDialogKind::Save);
    if (name.isEmpty())
        return false;
    if (!hasExtension(name, kRecordingExt)) {
        services_.prompt.tell(texts::notAFileWithExtension(kRecordingExt), PromptSymbol::Error);
        return false;
    }
    const SaveResult saved = graph->save(name);
    if (!saved.ok())
        services_.prompt.tell(saveMessage(saved, name), PromptSymbol::Error);
    renumberGraphs();
    if (!saved.ok())
        return false;
    rememberFile(name);
    showStatusNote(QStringLiteral("Saved ") + QDir::toNativeSeparators(name));
    return true;
}

void MainWindow::save()
{
    saveRecording(QStringLiteral("Save"));
}

void MainWindow::saveAs()
{
    saveRecording(QStringLiteral("Save File As"));
}

namespace {

// A job's own printer with the settings chosen: a job that could not begin leaves the
// printer it came from usable for the next one.
std::unique_ptr<QPrinter> jobPrinter(const QPrinter& chosen)
{
    auto job = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (chosen.outputFormat() == QPrinter::NativeFormat) {
        job->setPrinterName(chosen.printerName());
    } else {
        job->setOutputFormat(QPrinter::PdfFormat);
        job->setOutputFileName(chosen.outputFileName());
    }
    job->setPageLayout(chosen.pageLayout());
    job->setCopyCount(chosen.copyCount());
    job->setColorMode(chosen.colorMode());
    job->setDuplex(chosen.duplex());
    job->setDocName(chosen.docName());
    return job;
}

bool hasDestination(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::NativeFormat ? !printer.printerName().isEmpty()
                                                            : !printer.outputFileName().isEmpty();
}

} // namespace

void MainWindow::print()
{
    DocumentWindow* active = activeDocument();
    if (!active)
        return;
    // The print dialog proposes a PDF file named after the document, in the recording's
    // folder (or the last one used) rather than wherever the program was started.
    printer_.setDocName(proposedFileName(active->windowTitle(), QString()));
    if (printer_.outputFormat() == QPrinter::PdfFormat || printer_.printerName().isEmpty()) {
        QString folder = documentFolder(active);
        if (folder.isEmpty())
            folder = LastFolder(services_.folder.settingsFile()).folder();
        printer_.setOutputFileName(
            QDir(folder).filePath(proposedFileName(active->windowTitle(), QStringLiteral("pdf"))));
    }
    if (services_.dialogs.print(this, printer_))
        active->printTo(*jobPrinter(printer_));
}

void MainWindow::printNow()
{
    DocumentWindow* active = activeDocument();
    if (!active)
        return;
    printer_.setDocName(proposedFileName(active->windowTitle(), QString()));
    const std::unique_ptr<QPrinter> job = jobPrinter(printer_);
    if (!hasDestination(*job)) {
        // No printer chosen and none installed: the page goes to a PDF file.
        FileDialogRequest request;
        request.title = QStringLiteral("Print to file");
        request.filter = QStringLiteral("PDF files (*.pdf)|*.pdf|");
        request.defaultExt = QStringLiteral("pdf");
        request.initialName = proposedFileName(active->windowTitle(), request.defaultExt);
        const QString name = chooseFile(request, FileDialogKind::Save);
        if (name.isEmpty())
            return;
        if (!hasExtension(name, request.defaultExt)) {
            services_.prompt.tell(texts::notAFileWithExtension(request.defaultExt), PromptSymbol::Error);
            return;
        }
        job->setOutputFormat(QPrinter::PdfFormat);
        job->setOutputFileName(name);
    }
    active->printTo(*job);
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
    // A document without a file proposes no name rather than a hidden ".png".
    request.initialName = active->fileName().isEmpty() ? QString() : withExtension(active->fileName(), ext);
    const LastFolder last(services_.folder.settingsFile());
    request.folder = last.folder();
    // The types of the document's file (a picture: PNG or BMP), the first proposed.
    const std::optional<FileChoice> choice = services_.dialogs.saveFileOfType(this, request);
    if (!choice)
        return;
    const QString name = choice->name;
    if (const QString failed = settingsWriteMessage(services_.folder.settingsFile(), last.remember(name));
        !failed.isEmpty())
        services_.prompt.tell(failed, PromptSymbol::Error);
    const QStringList extensions = filterExtensions(request.filter);
    const QString chosenExt =
        choice->type >= 0 && choice->type < extensions.size() ? extensions[choice->type] : ext;
    if (!hasExtension(name, chosenExt)) {
        services_.prompt.tell(texts::notAFileWithExtension(chosenExt), PromptSymbol::Error);
        return;
    }
    if (!active->saveToFile(name))
        services_.prompt.tell(texts::cannotWrite(name, active->saveReason()), PromptSymbol::Error);
}

void MainWindow::openGraphView()
{
    GraphWindow* source = dataGraph();
    if (!source || !source->hasRecording())
        return;
    // The new window is a second view of the same recording: nothing to save twice.
    newGraphWindow()->showRecording(source->view().primary(), true);
    renumberGraphs();
    updateMenuItems();
}

} // namespace qz
