#include "app/ui/document_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace qz {

QStringList nameFilters(const QString& barFilter)
{
    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        if (!parts[i].isEmpty())
            out << parts[i];
    return out;
}

QStringList filterExtensions(const QString& barFilter)
{
    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            continue;
        const QString suffix = QFileInfo(parts[i + 1]).suffix();
        out << (suffix.contains(QLatin1Char('*')) ? QString() : suffix);
    }
    return out;
}

bool hasExtension(const QString& fileName, const QString& ext)
{
    return QFileInfo(fileName).suffix().compare(ext, Qt::CaseInsensitive) == 0;
}

QString baseFileName(const QString& path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).fileName();
}

QString withExtension(const QString& path, const QString& ext)
{
    QString name = baseFileName(path);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name + QLatin1Char('.') + ext;
}

QString proposedFileName(const QString& title, const QString& ext)
{
    QString name = title.trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    name.replace(QLatin1Char('\\'), QLatin1Char('-'));
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral(".."))
        name = QStringLiteral("graph");
    return ext.isEmpty() ? name : name + QLatin1Char('.') + ext;
}

namespace {

void prepare(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setWindowTitle(request.title);
    dialog.setNameFilters(nameFilters(request.filter));
    dialog.setDefaultSuffix(request.defaultExt);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
}

} // namespace

QString QtDocumentDialogs::openFile(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDocumentDialogs::saveFile(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // An existing file is replaced without a question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<FileChoice> QtDocumentDialogs::saveFileOfType(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent);
    dialog.setWindowTitle(request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = nameFilters(request.filter);
    const QStringList extensions = filterExtensions(request.filter);
    dialog.setNameFilters(filters);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    if (request.type >= 0 && request.type < filters.size())
        dialog.selectNameFilter(filters[request.type]);
    // After the type, which would otherwise change the proposed name's extension.
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    // Closing the dialog by its frame is a cancel.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FileChoice choice{dialog.selectedFiles().constFirst(), int(filters.indexOf(dialog.selectedNameFilter()))};
    if (choice.type < 0)
        choice.type = 0;
    if (QFileInfo(choice.name).suffix().isEmpty() && choice.type < extensions.size()
        && !extensions[choice.type].isEmpty())
        choice.name += QLatin1Char('.') + extensions[choice.type];
    return choice;
}

bool QtDocumentDialogs::print(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDocumentDialogs::printSetup(QWidget* parent, QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace qz
