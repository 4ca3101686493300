#include "app/ui/export_chooser.h"

#include "app/ui/document_dialogs.h"
#include "app/ui/document_texts.h"
#include "platform/output_check.h"
#include "platform/prompt.h"
#include "platform/regular_file.h"
#include "recording/file_results.h"

#include <iterator>

namespace qz {

namespace {

constexpr int kTypeCount = int(std::size(kExportTypes));

// Why name cannot take the export, or empty.
QString refusal(const QString& name, const QString& recordingFile)
{
    const OutputCheck check = checkOutputFile(name);
    if (!check.ok())
        return texts::cannotWrite(name, check.reason);
    if (!recordingFile.isEmpty() && isSameFile(recordingFile, name))
        return exportMessage({ExportResult::SameAsInput, QString()}, name);
    return QString();
}

} // namespace

QString exportFilter()
{
    QString filter;
    for (const ExportType& t : kExportTypes)
        filter +=
            QLatin1String(t.entry) + QStringLiteral("|*.") + QLatin1String(t.extension) + QLatin1Char('|');
    return filter;
}

int exportTypeIndex(ExportKind kind)
{
    for (int i = 0; i < kTypeCount; ++i)
        if (kExportTypes[i].kind == kind)
            return i;
    return 0;
}

std::optional<ExportTarget> chooseExportTarget(DocumentDialogs& dialogs, Prompt& prompt, QWidget* parent,
                                               const QString& recordingFile, const QString& folder, int type)
{
    FileDialogRequest request;
    request.folder = folder;
    request.type = type >= 0 && type < kTypeCount ? type : 0;
    request.title = QStringLiteral("Export");
    request.filter = exportFilter();
    request.defaultExt = QStringLiteral("txt");
    // A download without a file proposes no name rather than a hidden ".txt".
    if (!recordingFile.isEmpty())
        request.initialName =
            withExtension(recordingFile, QLatin1String(kExportTypes[request.type].extension));
    for (;;) {
        const std::optional<FileChoice> choice = dialogs.saveFileOfType(parent, request);
        if (!choice)
            return std::nullopt;
        const int type = choice->type >= 0 && choice->type < kTypeCount ? choice->type : 0;
        const QString refused = refusal(choice->name, recordingFile);
        if (refused.isEmpty())
            return ExportTarget{choice->name, kExportTypes[type].kind};
        // The chooser comes back with what the user chose, to be put right.
        prompt.tell(refused, PromptSymbol::Error);
        request.initialName = choice->name;
        request.type = type;
    }
}

} // namespace qz
