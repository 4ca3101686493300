#include "recording/file_results.h"

namespace qz {

namespace {

QString cannotWrite(const QString& name, const QString& reason)
{
    return QStringLiteral("Cannot write ") + name + QStringLiteral(": ") + reason;
}

} // namespace

QString loadMessage(const LoadResult& result, const QString& name)
{
    switch (result.error) {
    case LoadError::CannotOpen:
    case LoadError::NotAFile:
        return QStringLiteral("Cannot open ") + name + QStringLiteral(": ") + result.reason;
    case LoadError::CannotRead:
        return QStringLiteral("Cannot read ") + name + QStringLiteral(": ") + result.reason;
    case LoadError::CatalogUnreadable:
        return result.reason;
    case LoadError::NotARecording:
        return QStringLiteral("Invalid data file ");
    case LoadError::None:
    case LoadError::NotAccepted:
    case LoadError::TooFewMeasurements:
        break;
    }
    return QString();
}

QString truncationWarning(const LoadResult& result, const QString& name)
{
    if (result.missingBlocks <= 0)
        return QString();
    return QStringLiteral(
               "%1 is incomplete: missing %2 of its %3 data blocks; only the complete blocks are shown")
        .arg(name)
        .arg(result.missingBlocks)
        .arg(result.declaredBlocks);
}

std::vector<LoadNotice> loadNotices(const LoadResult& result, const QString& name)
{
    std::vector<LoadNotice> notices;
    if (const QString message = loadMessage(result, name); !message.isEmpty())
        notices.push_back({message, NoticeKind::Error});
    if (const QString warning = truncationWarning(result, name); !warning.isEmpty())
        notices.push_back({warning, NoticeKind::Warning});
    switch (result.error) {
    case LoadError::NotARecording:
    case LoadError::NotAccepted:
    case LoadError::TooFewMeasurements:
        notices.push_back({QStringLiteral("This file is not for a QuorvantZK"), NoticeKind::Error});
        break;
    case LoadError::None:
    case LoadError::CannotOpen:
    case LoadError::NotAFile:
    case LoadError::CannotRead:
    case LoadError::CatalogUnreadable:
        break;
    }
    return notices;
}

QString saveMessage(const SaveResult& result, const QString& name)
{
    if (result.ok())
        return QString();
    return cannotWrite(name, result.reason);
}

QString exportMessage(const ExportOutcome& outcome, const QString& name)
{
    switch (outcome.result) {
    case ExportResult::Failed:
        return cannotWrite(name, outcome.reason);
    case ExportResult::SameAsInput:
        return cannotWrite(name, QStringLiteral("it is the recording file being exported"));
    case ExportResult::Done:
    case ExportResult::Cancelled:
        break;
    }
    return QString();
}

} // namespace qz
