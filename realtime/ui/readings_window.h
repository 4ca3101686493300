#pragma once
// "Quorvant Currents Readings": what each input of the connected logger measures now, in
// its unit, read once per tick of the main window's timer while the window shows, with a
// line of the last minute under each value. Shift + right click on a unit label switches
// the hidden diagnostic display (raw converter counts and the battery) on and off.
//
// Modeless; created once, prepared for a logger by the Current Reading command through
// the launcher, hidden by Cancel or by No to the question to connect the logger.
#include "jobs/readings_job.h"
#include "realtime/input_conversion.h"
#include "realtime/reading_cycle.h"
#include "realtime/reading_trend.h"

#include "model/byte_view.h"
#include "platform/program_folder.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;

namespace qz {

class Clock;
class LoggerPorts;
class Prompt;
class TrendView;

// What the window needs from the program around it.
struct ReadingsServices {
    Prompt& prompt;
    Clock& clock;
    ProgramFolder folder;
    // Where the cycles run: after any job queued on the port before them.
    LoggerPorts& ports;
    // The program's link settings for the port.
    std::function<LinkSettings(const QString& port)> linkFor;
};

class ReadingsWindow final : public QDialog {
    Q_OBJECT
public:
    explicit ReadingsWindow(ReadingsServices services, QWidget* parent = nullptr);
    ~ReadingsWindow() override;

    // Takes the inputs' conversions, units and the model's name from the device image
    // (which is not kept) and forgets the readings of any logger before. False when the
    // catalogue does not accept the logger's model; the window is then hidden.
    bool initialize(const QString& port, ConstByteView deviceImage);
    bool prepared() const { return prepared_; }

    // One reading cycle on the port's worker; a tick is skipped while a cycle is queued,
    // runs, or waits in its question.
    void refreshReadings();
    // Shows a reading: values of the enabled inputs, raw counts and the battery in the
    // diagnostic display.
    void displayMeasure(const Reading& reading);

    bool diagnosticDisplay() const;
    void setDiagnosticDisplay(bool on);
    const QString& port() const { return port_; }
    const InputConversions& conversions() const { return inputs_; }
    const ReadingTrend& trend() const { return trend_; }
    // Cycles run so far and ticks skipped because a cycle was pending (for tests).
    int cyclesRun() const { return cyclesRun_; }
    int cyclesSkipped() const { return cyclesSkipped_; }

signals:
    void helpRequested(int context);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct InputRow {
        QLabel* number;
        QLabel* name;
        QLineEdit* measure;
        QLabel* unit;
        QLabel* rawLabel;
        QLineEdit* raw;
        TrendView* trend;
    };
    void buildControls();
    void showTrends();
    void startCycle(ConnectPolicy connect);
    void cycleDone(const ReadingResult& result);

    ReadingsServices services_;
    QString baseCaption_;
    QString port_;
    bool prepared_ = false;
    bool cyclePending_ = false;
    int cyclesRun_ = 0;
    int cyclesSkipped_ = 0;
    InputConversions inputs_;
    ReadingTrend trend_;
    std::array<InputRow, mem::kInputs> rows_{};
    QLabel* displayDc_ = nullptr;
    QLabel* battery_ = nullptr;
};

} // namespace qz
