#include "graph/cursor_readout.h"

#include "graph/graph_view.h"
#include "graph/zoom.h"
#include "model/logger_date.h"
#include "model/values.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qz {

int measurementAt(const GraphLayout& layout, const ViewRecord& v, int x)
{
    const std::int64_t w = layout.width();
    const std::int64_t span = std::int64_t(v.last) - v.first;
    std::int64_t k = v.first;
    if (w > 0)
        k += span * (x - layout.left) / w;
    // Truncation would never reach the last measurement inside the frame.
    if (x == layout.right - 1)
        ++k;
    return int(std::clamp<std::int64_t>(k, v.first, std::max(v.first, v.last)));
}

CursorReadout readCursor(const GraphView& view, int measurement, bool diagnostic)
{
    return readCursor(view, 0, measurement, diagnostic);
}

CursorReadout readCursor(const GraphView& view, int recording, int measurement, bool diagnostic)
{
    const RecordingData& data = view.data(recording);
    const ImageReader& reader = data.reader();
    const QString when =
        u' ' + reader.recordDateText(measurement) + u' ' + reader.recordTimeText(measurement) + u' ';
    CursorReadout out;
    out.values << when;
    out.units << when;
    // Read with the recording: a mouse move reads no file.
    const QString unitAfter = diagnostic ? QString() : data.readoutUnit();
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!view.isDrawn(recording, i))
            continue;
        const int raw = data.sample(i, measurement);
        if (diagnostic) {
            out.values << formatValue(QStringLiteral("0"), raw) + QStringLiteral(" AD");
        } else {
            const long double v = data.normalize(i, data.physicalValue(i, raw));
            out.values << formatValue(data.valueFormat(i), double(v)) + u' ' + unitAfter;
        }
        out.units << data.input(i).unit;
    }
    return out;
}

} // namespace qz

namespace qz {

std::optional<int> measurementUnder(const GraphView& view, const GraphLayout& layout, int recording, int x)
{
    if (zoomsByMeasurement(view))
        return measurementAt(layout, view.currentView(), x);
    const TimeWindow& w = view.currentWindow();
    if (layout.width() <= 0)
        return std::nullopt;
    const double t = w.from + (x - layout.left) * w.span() / layout.width() - view.shift(recording);
    const Timeline& line = view.timeline(recording);
    if (t < line.first() - line.step / 2 || t > line.last() + line.step / 2)
        return std::nullopt;
    return line.nearest(t);
}

QString instantTextAt(const GraphView& view, const GraphLayout& layout, int x)
{
    const TimeWindow& w = view.currentWindow();
    const double t = layout.width() > 0 ? w.from + (x - layout.left) * w.span() / layout.width() : w.from;
    LoggerDate d;
    d.setDateTime(std::nearbyint(t) / 86400.0);
    return u' ' + d.dateText() + u' ' + d.timeText() + u' ';
}

} // namespace qz
