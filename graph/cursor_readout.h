#pragma once
// What the status line reports for the mouse over the plot: the date and time of the
// measurement under the cursor and the value of every drawn input, for each recording of
// the view that has a measurement there.
#include "graph/graph_layout.h"
#include "graph/view_record.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qz {

class GraphView;

// The measurement under pixel column x of the plot showing view v: first +
// (last - first) x (x - left) div W, the last one at the frame's last inner column;
// always within first..last.
int measurementAt(const GraphLayout& layout, const ViewRecord& v, int x);

struct CursorReadout {
    // 0: " dd/mm/yy hh:mm:ss "; k >= 1: the value of the k-th drawn input, its number
    // formatted with the input's own digits, followed by " " and the supplementary unit,
    // or with diagnostic on the raw converter count followed by " AD".
    QStringList values;
    // 0: the same date and time; k >= 1: the k-th drawn input's unit as stored.
    QStringList units;
};

// The readout of one measurement of the view's primary recording. Every physical value is
// followed by the recording's readout unit (RecordingData::readoutUnit).
CursorReadout readCursor(const GraphView& view, int measurement, bool diagnostic);
// The same for any recording of the view.
CursorReadout readCursor(const GraphView& view, int recording, int measurement, bool diagnostic);

// The measurement of a recording under pixel column x: for a view that zooms by
// measurement, measurementAt of its primary recording; otherwise the one nearest to the
// column's instant, when that lies within the recording (half a step around it).
std::optional<int> measurementUnder(const GraphView& view, const GraphLayout& layout, int recording, int x);

// " dd/mm/yy hh:mm:ss " of the instant under column x on the view's time axis.
QString instantTextAt(const GraphView& view, const GraphLayout& layout, int x);

} // namespace qz
