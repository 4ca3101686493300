#pragma once
// The fleet store: one time series per logger recording in a database (docs/store.md), filled
// by collections and read back by exports, plots and other tools through its two views.
//
// Every collection of one logger is one transaction: the logger, its recording, the new
// measurements, a gap the ring left, how far the recording is now collected and the attempt
// itself are written together or not at all. A measurement is stored once (its recording
// and time are the table's key), whoever writes it and however often. Another writer's
// transaction is waited for.
//
// Several collectors may share one store (PostgreSQL), each near its own serial lines or
// modems: a collector claims a logger before it reads it, and a logger claimed by another
// is left to that one.
//
// A store lives on the thread that opened it.
#include "model/collection_plan.h"
#include "store/sql_dialect.h"
#include "store/store_url.h"

#include <QByteArray>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace qz {

enum class StoreStatus {
    Ok,
    CannotOpen, // the database could not be opened or created
    NewerSchema, // written by a later version of the program
    Failed, // a statement failed (the database's reason in the message)
};

enum class ClaimStatus {
    Granted,
    Taken, // another collector has the logger now
    Failed, // the store did not answer (the reason in the message)
};

struct StoreResult {
    StoreStatus status = StoreStatus::Ok;
    QString message; // what failed, with the database's reason

    bool ok() const { return status == StoreStatus::Ok; }
};

// How far the store has each recording, for collectors that decide what to read before
// they write (on other threads): a copy, looked up without the database.
class ProgressBook {
public:
    // The newest recording of that key (a logger restarted with the same program has several).
    std::optional<CollectedUpTo> lookUp(const RecordingKey& key) const;
    void add(const RecordingKey& key, const CollectedUpTo& upTo);
    std::size_t size() const { return byKey_.size(); }

private:
    std::multimap<QString, std::pair<RecordingKey, CollectedUpTo>> byKey_; // by serial number
};

// One attempt to collect a logger, as the store takes it.
struct CollectionEntry {
    QString label;
    QDateTime hostTime; // local time of the host when the logger's clock was read
    std::optional<std::int64_t> loggerMs; // the logger's clock then (LoggerSeconds x 1000)
    std::optional<double> batteryVolts;
    int blocksRead = 0;
    QString outcome = QStringLiteral("ok"); // "ok", or the failure in words
    std::vector<std::uint8_t> header; // the 384 header bytes; empty when not read
    bool harvested = false; // harvest holds what was taken (perhaps nothing)
    Harvest harvest;
};

struct SavedCollection {
    StoreResult result;
    std::int64_t newMeasurements = 0; // values stored by this attempt (records x inputs)
    std::int64_t missing = 0; // values the logger's ring overwrote before collection
};

// An input of a stored recording.
struct StoredInput {
    int input = 0; // 0..7
    QString name;
    QString unit;
    double gain = 0;
    double offset = 0;
};

struct StoredRecording {
    std::int64_t id = 0;
    QString serial;
    QString label;
    QByteArray header;
    LoggerSeconds origin = 0;
    int step = 0;
    std::int64_t measurements = 0;
    LoggerSeconds last = 0; // the newest measurement's time (origin when none)
    std::vector<StoredInput> inputs;
};

// The last collection of a logger, with its recording.
struct LoggerSummary {
    QString label;
    QString serial;
    int deviceCode = 0;
    QDateTime lastHostTime;
    QString outcome;
    std::int64_t newMeasurements = 0;
    std::optional<double> driftSeconds;
    std::optional<double> batteryVolts; // the newest known
    std::int64_t measurements = 0; // stored, over all its recordings
    std::optional<LoggerSeconds> memoryFull; // when its memory holds no more uncollected room
};

class FleetStore {
public:
    FleetStore();
    ~FleetStore();
    FleetStore(const FleetStore&) = delete;
    FleetStore& operator=(const FleetStore&) = delete;

    // Opens (creating the file and its folder when missing) and brings the schema up to date.
    StoreResult open(const StoreUrl& url);
    const StoreUrl& url() const { return url_; }

    // How far the store has each recording; of one logger only when serial is given.
    StoreResult loadProgress(ProgressBook& out, const QString& serial = {});
    // Claims the logger with that serial number for this store's collector until release()
    // (or until the store closes, however the program ends): meanwhile another collector's
    // claim of it is refused. A store of one machine (SQLite) grants every claim: its ports
    // are opened by one program at a time.
    ClaimStatus claim(const QString& serial, QString* error = nullptr);
    void release(const QString& serial);
    SavedCollection save(const CollectionEntry& entry);
    // Told the measurement rows a save has written so far, inside its transaction, after
    // each statement (a long save's progress).
    void onRowsWritten(std::function<void(std::int64_t rows)> observer)
    {
        rowsWritten_ = std::move(observer);
    }

    StoreResult loggers(std::vector<LoggerSummary>& out);
    // The number of the newest attempt (0: none yet): it changes when any collector,
    // anywhere, has written one.
    StoreResult latestAttempt(std::int64_t& id);
    // The recordings of the logger with that serial number, or else that label, oldest first.
    // An unknown logger gives none; a label two loggers carried is refused.
    StoreResult recordingsOf(const QString& serialOrLabel, std::vector<StoredRecording>& out);
    // The raw samples of a recording's measurements from `from` to `to` (inclusive), in time
    // order: raw[i] is input i's, -1 for an input the recording does not hold.
    using MeasurementRow = std::function<void(LoggerSeconds time, const std::array<int, 8>& raw)>;
    StoreResult measurements(const StoredRecording& recording, LoggerSeconds from, LoggerSeconds to,
                             const MeasurementRow& row);

private:
    struct Connection;
    StoreResult migrate();
    QSqlDatabase database() const;
    StoreResult failure(const QString& what, const QString& reason) const;

    StoreUrl url_;
    SqlDialect dialect_;
    QString connection_;
    bool open_ = false;
    std::function<void(std::int64_t)> rowsWritten_;
};

} // namespace qz
