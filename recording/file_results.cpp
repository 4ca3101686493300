#include "recording/file_results.h"

namespace qz {

QString LoadMessage(const LoadResult& result, const QString& name)
{
    switch (result.error) {
    case LoadError::CannotOpen:
        return QStringLiteral("Cannot open ") + name + QStringLiteral(": ") + result.reason;
    case LoadError::NotARecording:
        return QStringLiteral("Invalid data file ");
    case LoadError::None:
    case LoadError::CannotRead:
    case LoadError::NotAccepted:
    case LoadError::TooFewMeasurements:
        break;
    }
    return QString();
}

QString SaveMessage(const SaveResult& result, const QString& name)
{
    if (result.ok())
        return QString();
    return QStringLiteral("Cannot save ") + name + QStringLiteral(": ") + result.reason;
}

QString ExportMessage(const ExportOutcome& outcome, const QString& name)
{
    if (outcome.result != ExportResult::Failed)
        return QString();
    return QStringLiteral("Cannot write ") + name + QStringLiteral(": ") + outcome.reason;
}

} // namespace qz
