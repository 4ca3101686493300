#include "graph/cursor_readout.h"

#include "model/values.h"
#include "recording/recording.h"

#include <algorithm>
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

QString supplementaryUnit(const Recording& recording)
{
    const int key = int(recording.reader().inputMask()) + 1;
    return recording.deviceSetting(QStringLiteral("PrimUnit") + QString::number(key));
}

CursorReadout readCursor(const Recording& recording, int measurement, bool diagnostic)
{
    const ImageReader& reader = recording.reader();
    const QString when =
        u' ' + reader.recordDateText(measurement) + u' ' + reader.recordTimeText(measurement) + u' ';
    CursorReadout out;
    out.values << when;
    out.units << when;
    const QString unitAfter = diagnostic ? QString() : supplementaryUnit(recording);
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!recording.isInputDrawn(i))
            continue;
        const int raw = recording.sample(i, measurement);
        if (diagnostic) {
            out.values << formatValue(QStringLiteral("0"), raw) + QStringLiteral(" AD");
        } else {
            const long double v = recording.normalize(i, recording.physicalValue(i, raw));
            out.values << formatValue(recording.valueFormat(i), double(v)) + u' ' + unitAfter;
        }
        out.units << reader.inputUnit(i);
    }
    return out;
}

} // namespace qz
