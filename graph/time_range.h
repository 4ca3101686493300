#pragma once
// A view of the measurements between two instants, as a zoom level under the whole
// recording: its value axes scaled to the measurements it holds.
#include <QDateTime>

#include <optional>

namespace qz {

class GraphView;

enum class TimeRangeResult {
    Selected, // the view's current level holds the measurements from..to
    Empty, // no measurement lies between the two instants
    TooShort, // only one does: a graph needs two
};

// from and to are local times of the recording's clock; an instant not given is the
// recording's first or last measurement. Without either, the whole recording stays shown.
// A view of several recordings shows the instants between them on its time axis, each
// recording what it measured there; it is empty when none measured there.
TimeRangeResult selectTimeRange(GraphView& view, const std::optional<QDateTime>& from,
                                const std::optional<QDateTime>& to);

} // namespace qz
