#pragma once
// "Fleet": a document window over the fleet store, one row per logger with its label,
// serial number, model, last collection and outcome, battery, clock drift (marked beyond a
// minute), measurements stored and the date its memory will be full (marked within a
// week). "Collect now" collects the selected loggers, or all, on the port workers, each
// row showing its progress, with Cancel; a double click opens the logger's stored
// measurements of the time range as a graph window. The rows follow the store: they are
// read again when a collection ends, this window's or any other's (the timer's), which the
// window sees by asking the store for its newest attempt every few seconds.
#include "fleet/fleet_collection.h"
#include "fleet/fleet_overview.h"
#include "fleet/fleet_settings.h"
#include "model/device_catalog.h"
#include "platform/clock.h"
#include "platform/program_folder.h"
#include "recording/recording_data.h"
#include "ui/document_window.h"

#include <functional>
#include <memory>
#include <vector>

class QDateTimeEdit;
class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

namespace qz {

class JobRunner;
class LineBackend;

struct FleetWindowServices {
    JobRunner& jobs;
    Clock& clock;
    // The line behind a port name (a device, or the simulated logger); called on the
    // port's worker.
    std::function<std::unique_ptr<LineBackend>(const QString& port)> line;
    ProgramFolder folder;
};

class FleetWindow final : public DocumentWindow {
    Q_OBJECT
public:
    // The columns, left to right.
    enum Column {
        Label,
        Serial,
        Model,
        LastCollection,
        Outcome,
        Battery,
        Drift,
        Measurements,
        MemoryFull,
        Progress,
        ColumnCount
    };
    static constexpr int kPollMs = 5000;

    explicit FleetWindow(FleetWindowServices services, QWidget* parent = nullptr);
    ~FleetWindow() override;

    // Shows the store and the fleet file of the settings; again after the options changed.
    void showFleet(const FleetSettings& settings);
    // Reads the rows from the store again.
    void refresh();
    // Reads them again when any collector has written an attempt since.
    void pollStore();
    // The selected loggers, or all of them, as the fleet file reaches them.
    void collectNow();
    void cancelCollection();
    bool collecting() const { return run_ != nullptr; }
    // The row's logger's measurements of the time range, as a recording for a graph window.
    void openRow(int row);
    void onOpenRecording(std::function<void(std::shared_ptr<const RecordingData>)> open)
    {
        open_ = std::move(open);
    }

    const std::vector<FleetOverviewRow>& rows() const { return rows_; }
    QTableWidget* table() const { return table_; }
    QPushButton* collectButton() const { return collect_; }
    QPushButton* cancelButton() const { return cancel_; }
    QDateTimeEdit* fromEdit() const { return from_; }
    QDateTimeEdit* toEdit() const { return to_; }
    // What the window last had to say (a store that does not open, a logger the fleet
    // file does not reach, a range without measurements), under the table.
    QString message() const;
    // The table as lines of tab-separated cells, the heading first.
    QStringList tableLines() const;

    // The document window contract: the table as text.
    void copyToClipboard() override;
    void printTo(QPrinter& printer) override;
    QString clipboardFileFilter() const override { return QStringLiteral("Text files (*.txt)|*.txt"); }
    QString clipboardFileExtension() const override { return QStringLiteral("txt"); }
    bool saveToFile(const QString& name) override;
    QString fileName() const override { return fileName_; }
    void setFileName(const QString& name) override { fileName_ = name; }
    DocumentWindow* dataWindow() override { return nullptr; }
    bool isSaved() const override { return true; }
    bool mayClose() override;

private:
    void say(const QString& text);
    bool openStore();
    void fillTable();
    void setCell(int row, int column, const QString& text, bool marked = false);
    void collectionEnded();
    void syncButtons();

    FleetWindowServices services_;
    DeviceCatalog catalog_;
    FleetSettings settings_;
    std::unique_ptr<FleetStore> store_;
    std::vector<FleetOverviewRow> rows_;
    std::int64_t latestSeen_ = -1;
    std::unique_ptr<FleetRun> run_;
    std::vector<int> runRows_; // the table row of each logger being collected
    CancelToken cancelToken_;
    QTableWidget* table_;
    QPushButton* collect_;
    QPushButton* cancel_;
    QDateTimeEdit* from_;
    QDateTimeEdit* to_;
    QLabel* message_;
    QTimer* poll_;
    QString fileName_;
    std::function<void(std::shared_ptr<const RecordingData>)> open_;
};

} // namespace qz
