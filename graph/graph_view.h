#pragma once
// What a graph shows of its recordings: the zoom levels, the inputs drawn and the inputs
// of the two value axes, the colours, and the title with its number among the views of
// one recording. A view holds one or more recordings, shared and never changed (the
// first is the primary one, whose measurements the zoom levels count); two views of one
// recording zoom and colour apart. No widgets: the graph window, the printed page, the
// bitmap and quorzk-cli plot all draw a view.
#include "graph/view_record.h"
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

class GraphView {
public:
    // The whole primary recording at level 0, every recorded input drawn, the first two on
    // the axes, automatic range, default colours.
    explicit GraphView(std::shared_ptr<const RecordingData> primary);

    // --- Recordings ----------------------------------------------------------------------
    const RecordingData& data() const { return *recordings_.front(); }
    const std::shared_ptr<const RecordingData>& primary() const { return recordings_.front(); }
    const std::vector<std::shared_ptr<const RecordingData>>& recordings() const { return recordings_; }
    // The primary recording as it is now known (the same measurements under a new file
    // name after Save As); zoom, colours and title stay.
    void renamePrimary(const QString& fileName);

    // --- Display state -------------------------------------------------------------------
    const ColourTable& colours() const { return colours_; }
    void setColourTable(const ColourTable& colours) { colours_ = colours; }
    const DisplaySettings& settings() const { return settings_; }
    // The settings alone: the plotted ranges stay as they are.
    void setDisplaySettings(const DisplaySettings& settings) { settings_ = settings; }
    bool isInputDrawn(int input) const { return qz::isInputDrawn(settings_, input); }
    // New colours and settings from the graphic configuration dialog: the current level's
    // plotted range follows them.
    void applyGraphicConfig(const ColourTable& colours, const DisplaySettings& settings);

    // --- Zoom levels ---------------------------------------------------------------------
    ViewRecord& view(int level);
    const ViewRecord& view(int level) const;
    int currentLevel() const { return currentLevel_; }
    // Clamped to 0..16.
    void setCurrentLevel(int level);
    ViewRecord& currentView() { return view(currentLevel_); }
    const ViewRecord& currentView() const { return view(currentLevel_); }
    // Makes level (clamped) the current one, showing measurements first..last of the
    // primary recording with their extremes and averages and the plotted range of each
    // input; the levels below it are left as they are.
    ViewRecord& showLevel(int level, int first, int last);
    // Physical top, bottom and label step of the input's axis on the current level.
    AxisScale axisScale(int input) const;

    // What the texts and exports of this view describe: the current level's measurements
    // and the inputs drawn.
    DataRange range() const;

    // --- Title ---------------------------------------------------------------------------
    // Sets the caption once, numbered n; does nothing while the title is set.
    void childTitle(int n);
    bool isTitleSet() const { return titleSet_; }
    void clearTitleSet() { titleSet_ = false; }
    const QString& caption() const { return caption_; }

private:
    // The extremes and averages of the level's measurements.
    void measureLevel(int level);
    // Raw range plotted per recorded input: the data plus the margin (automatic scale) or
    // the calibrated range (fixed scale). A flat range on a deeper level keeps the range of
    // the level above.
    void scaleLevel(int level);

    std::vector<std::shared_ptr<const RecordingData>> recordings_;
    ColourTable colours_ = defaultColours();
    DisplaySettings settings_;
    std::array<ViewRecord, kViewLevels> views_{};
    int currentLevel_ = 0;
    QString caption_;
    bool titleSet_ = false;
};

} // namespace qz
