#pragma once
// The file, printer and colour dialogs of the document commands, behind a small
// interface so tests can script the user's choices.
#include "ui/colour_chooser.h"

#include <QString>

#include <optional>

class QPrinter;
class QWidget;

namespace qz {

struct FileDialogRequest {
    QString title;
    // Filter in the program's bar form: "Description|pattern|Description|pattern|".
    QString filter;
    QString defaultExt;
    QString initialName;
    bool fileMustExist = false;
    // Where the dialog starts (an initial name with a folder overrides it).
    QString folder;
    // The filter entry chosen when the dialog opens (a save dialog with types).
    int type = 0;
};

// A file chosen in a save dialog with types: the name and the position of its type among
// the filter's entries.
struct FileChoice {
    QString name;
    int type = 0;
};

class DocumentDialogs : public ColourChooser {
public:
    virtual ~DocumentDialogs() = default;
    // The chosen file, or an empty string when the user cancelled.
    virtual QString openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // A save dialog whose filter entries are the types to choose from; none when the user
    // cancelled or closed the dialog. A name typed without an extension gets the chosen
    // type's.
    virtual std::optional<FileChoice> saveFileOfType(QWidget* parent, const FileDialogRequest& request) = 0;
    // True when the user confirmed; the printer carries the choices.
    virtual bool print(QWidget* parent, QPrinter& printer) = 0;
    virtual bool printSetup(QWidget* parent, QPrinter& printer) = 0;
};

// The platform's dialogs.
class QtDocumentDialogs final : public DocumentDialogs {
public:
    QString openFile(QWidget* parent, const FileDialogRequest& request) override;
    QString saveFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<FileChoice> saveFileOfType(QWidget* parent, const FileDialogRequest& request) override;
    bool print(QWidget* parent, QPrinter& printer) override;
    bool printSetup(QWidget* parent, QPrinter& printer) override;
    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) override
    {
        return QtColourChooser().chooseColour(parent, initial);
    }
};

// "Quorvant files (*.qrv)|*.qrv|All files (*.*)|*.*|" -> the description entries,
// as a file dialog's name filters.
QStringList nameFilters(const QString& barFilter);
// The same filter's extensions, one per entry: "*.qrv" -> "qrv"; "" for "*.*".
QStringList filterExtensions(const QString& barFilter);
// True when the file's extension is ext (letter case ignored, as the file system of the
// loggers' users does).
bool hasExtension(const QString& fileName, const QString& ext);
// The name without its folder.
QString baseFileName(const QString& path);
// The name without its folder and extension, then "." and ext.
QString withExtension(const QString& path, const QString& ext);
// A file name made of a window title, then "." and ext (nothing when ext is empty): a
// path separator in the title ("S/N:4938 ...") becomes "-", so that the name stays one
// name in the folder the dialog shows.
QString proposedFileName(const QString& title, const QString& ext);

} // namespace qz
