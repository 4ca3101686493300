#pragma once
// The command-line tool's commands: each takes the arguments after its name and returns
// the exit status.
#include <QStringList>

#include <memory>

namespace qz {
class Prompt;
class RecordingData;
struct LoadResult;
} // namespace qz

namespace qz::cli {

// Loads a recording file; refusals and the warning about a file cut short are told
// through prompt. The load's result goes to result when given.
std::shared_ptr<const RecordingData> openRecordingFile(const QString& path, Prompt& prompt,
                                                       LoadResult* result = nullptr);

// Logger link commands.
int runDownload(const QStringList& args);
int runPing(const QStringList& args);
int runStatus(const QStringList& args);
int runConfigure(const QStringList& args);
int runStop(const QStringList& args);
int runReadings(const QStringList& args);

// Service commands: the raw memory dump, and memory as hexadecimal lines.
int runDump(const QStringList& args);
int runHexdump(const QStringList& args);

// The fleet: collecting into the store, and reading the store back.
int runCollect(const QStringList& args);
int runStore(const QStringList& args);

// Recording file commands.
int runInfo(const QStringList& args);
int runExport(const QStringList& args);
// The graph of a recording file as PNG, SVG or PDF (needs a QGuiApplication).
int runPlot(const QStringList& args);
} // namespace qz::cli
