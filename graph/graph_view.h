#pragma once
// What a graph shows of its recordings: the zoom levels, the inputs drawn and the inputs
// of the two value axes, the colours, and the title with its number among the views of
// one recording. A view holds one or more recordings, shared and never changed (the
// first is the primary one: its measurements are what the texts and the title describe);
// two views of one recording zoom and colour apart. No widgets: the graph window, the
// printed page, the bitmap and quorzk-cli plot all draw a view.
//
// Every level shows a time window; each recording's measurements inside it, their
// extremes and the raw range plotted per input are its ViewRecord on that level, and the
// value range of each unit drawn is its UnitRange there.
#include "graph/view_record.h"
#include "graph/view_time.h"
#include "recording/display_settings.h"
#include "recording/range_statistics.h"
#include "recording/recording_data.h"
#include "recording/scaling.h"

#include <QString>

#include <array>
#include <memory>
#include <vector>

namespace qz {

inline constexpr int kAutoScaleMargin = 12; // raw units around the data at level 0
inline constexpr int kMaxRecordings = 8; // recordings one view overlays

// The value range of one unit's axis (the drawing with one axis per unit).
struct UnitRange {
    QString unit; // the input's unit without surrounding blanks
    double low = 0;
    double high = 1;
};

// An input of a recording of the view.
struct CurveRef {
    int recording = 0;
    int input = 0;
    bool operator==(const CurveRef&) const = default;
};

// A value axis of the drawing with one axis per unit: its unit, range and the curves
// drawn against it.
struct ValueAxis {
    UnitRange range;
    std::vector<CurveRef> curves;
};

class GraphView {
public:
    // The whole primary recording at level 0, every recorded input drawn, the first two on
    // the axes, automatic range, default colours.
    explicit GraphView(std::shared_ptr<const RecordingData> primary);

    // --- Recordings ----------------------------------------------------------------------
    const RecordingData& data() const { return *recordings_.front(); }
    const RecordingData& data(int recording) const;
    const std::shared_ptr<const RecordingData>& primary() const { return recordings_.front(); }
    const std::vector<std::shared_ptr<const RecordingData>>& recordings() const { return recordings_; }
    int recordingCount() const { return int(recordings_.size()); }
    // Overlays another recording; the view goes back to the whole of all of them. False
    // (nothing changed) when the view holds kMaxRecordings already.
    bool addRecording(std::shared_ptr<const RecordingData> data);
    // The primary recording as it is now known (the same measurements under a new file
    // name after Save As); zoom, colours and title stay.
    void renamePrimary(const QString& fileName);
    // How a recording is named beside the others: its file name without folder and
    // extension, else its recording name, else its serial number.
    QString label(int recording) const;

    // --- Time ----------------------------------------------------------------------------
    const Timeline& timeline(int recording) const;
    // Seconds added to a recording's instants on the time axis: 0 on the loggers' clocks;
    // aligned at the starts, what brings its first measurement to the primary's first.
    double shift(int recording) const;
    // Instant of measurement k of the recording on the time axis.
    double viewTime(int recording, double k) const { return timeline(recording).at(k) + shift(recording); }
    // The window of level 0: from the earliest to the latest measurement of all.
    TimeWindow extent() const { return levels_.front().window; }

    // --- Display state -------------------------------------------------------------------
    const ColourTable& colours() const { return colours_; }
    void setColourTable(const ColourTable& colours) { colours_ = colours; }
    const DisplaySettings& settings() const { return settings_; }
    // The settings alone: the plotted ranges stay as they are.
    void setDisplaySettings(const DisplaySettings& settings) { settings_ = settings; }
    // An input of the primary recording that is recorded and shown.
    bool isInputDrawn(int input) const
    {
        return qz::isInputDrawn(settings_, input) && data().isEnabled(input);
    }
    // An input of any recording that it recorded and that is shown.
    bool isDrawn(int recording, int input) const;
    // Every curve drawn, the primary's inputs first, each recording's in input order.
    std::vector<CurveRef> curves() const;
    // The colour of a curve: the table's colour of the input for the primary recording;
    // for the others, colours of their own that no curve drawn before took.
    Colour curveColour(const CurveRef& curve) const;
    // New colours and settings from the graphic configuration dialog: the current level's
    // plotted ranges follow them; aligning the starts on or off shows all again.
    void applyGraphicConfig(const ColourTable& colours, const DisplaySettings& settings);
    // The drawing with one value axis per unit (the default).
    bool unitAxes() const { return !settings_.ownScales; }

    // --- Zoom levels ---------------------------------------------------------------------
    // The primary recording's part of a level.
    ViewRecord& view(int level);
    const ViewRecord& view(int level) const;
    // A recording's part of a level.
    ViewRecord& record(int level, int recording);
    const ViewRecord& record(int level, int recording) const;
    const TimeWindow& window(int level) const;
    const TimeWindow& currentWindow() const { return window(currentLevel_); }
    std::vector<UnitRange>& unitRanges(int level);
    const std::vector<UnitRange>& unitRanges(int level) const;
    int currentLevel() const { return currentLevel_; }
    // Clamped to 0..16.
    void setCurrentLevel(int level);
    ViewRecord& currentView() { return view(currentLevel_); }
    const ViewRecord& currentView() const { return view(currentLevel_); }
    // Makes level (clamped) the current one, showing measurements first..last of the
    // primary recording (and of the others what lies in that time) with their extremes
    // and averages and the plotted ranges; the levels below it are left as they are.
    ViewRecord& showLevel(int level, int first, int last);
    // The same for the instants of a window.
    void showWindow(int level, const TimeWindow& window);
    // Moves the current level to another window keeping its plotted ranges (a pan, a turn
    // of the wheel); level 0 stays the whole and a level of its own is made from it first.
    void moveWindow(const TimeWindow& window);
    // Makes a level of its own from level 0 before its ranges are changed in place; the
    // current level otherwise.
    void leaveWholeView();
    // Physical top, bottom and label step of the input's axis on the current level.
    AxisScale axisScale(int input) const;
    // The value axes of the current level, one per unit drawn, in the order their first
    // input comes.
    std::vector<ValueAxis> valueAxes() const;
    // Whether any recording holds at least three measurements in the current window.
    bool holdsThreeMeasurements() const;

    // What the texts and exports of this view describe: the current level's measurements
    // of a recording and its inputs drawn.
    DataRange range() const { return range(0); }
    DataRange range(int recording) const;

    // --- Title ---------------------------------------------------------------------------
    // Sets the caption once, numbered n; does nothing while the title is set.
    void childTitle(int n);
    bool isTitleSet() const { return titleSet_; }
    void clearTitleSet() { titleSet_ = false; }
    const QString& caption() const { return caption_; }

private:
    struct Level {
        TimeWindow window;
        std::vector<ViewRecord> records; // one per recording, the primary first
        std::vector<UnitRange> units;
    };
    struct Source {
        std::shared_ptr<const RecordingData> data;
        Timeline timeline;
        double shift = 0;
    };

    Level& level(int index);
    const Level& level(int index) const;
    // Shifts of every recording and level 0 from them.
    void showWhole();
    // Each recording's measurements in the level's window.
    void placeRecords(int level);
    // The extremes and averages of the level's measurements.
    void measureLevel(int level);
    // Raw range plotted per recorded input and value range per unit: the data plus the
    // margin (automatic scale) or the calibrated range (fixed scale). A flat range on a
    // deeper level keeps the range of the level above.
    void scaleLevel(int level);
    void scaleRecord(int level, int recording);
    void scaleUnits(int level);
    // Every unit of a recorded input, each with the curves drawn against it.
    std::vector<ValueAxis> unitsWithCurves() const;

    std::vector<std::shared_ptr<const RecordingData>> recordings_;
    std::vector<Source> sources_;
    ColourTable colours_ = defaultColours();
    DisplaySettings settings_;
    std::array<Level, kViewLevels> levels_{};
    int currentLevel_ = 0;
    QString caption_;
    bool titleSet_ = false;
};

// An input's unit as an axis names it: without surrounding blanks.
QString axisUnit(const RecordingData& data, int input);

} // namespace qz
