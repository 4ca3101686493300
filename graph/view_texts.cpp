#include "graph/view_texts.h"

#include "graph/graph_view.h"

namespace qz {

namespace {
// The recordings with measurements at the level shown; the primary always.
std::vector<int> shownRecordings(const GraphView& view)
{
    std::vector<int> shown{0};
    for (int r = 1; r < view.recordingCount(); ++r)
        if (view.range(r).count() > 0)
            shown.push_back(r);
    return shown;
}
} // namespace

QStringList informationLines(const GraphView& view)
{
    QStringList lines;
    for (int r : shownRecordings(view))
        lines += informationLines(view.data(r), view.range(r));
    return lines;
}

std::vector<ExportPart> exportParts(const GraphView& view)
{
    std::vector<ExportPart> parts;
    const bool several = view.recordingCount() > 1;
    for (int r : shownRecordings(view))
        parts.push_back({&view.data(r), view.range(r), view.shift(r), several ? view.label(r) : QString()});
    return parts;
}

} // namespace qz
