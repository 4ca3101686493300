#pragma once
// The export chooser: the platform's save dialog with the export types as its filters.
// It proposes the recording's name with ".txt", and a name that cannot be written is
// refused with the reason and asked again; asking writes nothing, so a cancelled export
// leaves no file behind.
#include "recording/exports.h"

#include <QString>

#include <optional>

class QWidget;

namespace qz {

class DocumentDialogs;
class Prompt;

// The chooser's types in its order: the four text layouts, then the comma-separated one.
struct ExportType {
    const char* entry; // "Text (*.txt)"
    const char* extension;
    ExportKind kind;
};
inline constexpr ExportType kExportTypes[] = {
    {"Text (*.txt)", "txt", ExportKind::Text},
    {"Excel (*.txt)", "txt", ExportKind::Excel},
    {"Lotus (*.txt)", "txt", ExportKind::Lotus},
    {"Text no date (*.txt)", "txt", ExportKind::TextNoDate},
    {"CSV (ISO 8601, UTF-8) (*.csv)", "csv", ExportKind::Csv},
};

// "Text (*.txt)|*.txt|...|CSV (ISO 8601, UTF-8) (*.csv)|*.csv|"
QString exportFilter();

struct ExportTarget {
    QString name;
    ExportKind kind = ExportKind::Text;
};

// Asks for the export's file and type. recordingFile: the recording's own file ("" for
// a download), whose name is proposed with ".txt" and which is never an output; folder:
// where the dialog starts; type: the position of the type it starts on. None when the
// user cancels.
std::optional<ExportTarget> chooseExportTarget(DocumentDialogs& dialogs, Prompt& prompt, QWidget* parent,
                                               const QString& recordingFile,
                                               const QString& folder = QString(), int type = 0);
// The position of a kind among the chooser's types.
int exportTypeIndex(ExportKind kind);

} // namespace qz
