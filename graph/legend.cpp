#include "graph/legend.h"

#include "graph/graph_colours.h"
#include "graph/graph_view.h"
#include "model/values.h"

#include <algorithm>

namespace qz {

namespace {
// The sample line and the room around it, in widths of "M".
constexpr int kSampleEms = 2;
constexpr int kNarrowWidthEms = 40;
} // namespace

QString legendText(const QString& name, const QString& unit, int input, const QString& recording)
{
    QString text = trimLeadingBlanks(trimTrailingBlanks(name));
    if (text.isEmpty())
        text = QStringLiteral("Input %1").arg(input + 1);
    const QString u = trimLeadingBlanks(trimTrailingBlanks(unit));
    if (!u.isEmpty())
        text += QStringLiteral(" (") + u + u')';
    if (!recording.isEmpty())
        text = recording + QStringLiteral(": ") + text;
    return text;
}

std::vector<LegendEntry> legendEntries(const GraphView& view)
{
    std::vector<LegendEntry> entries;
    const bool several = view.recordingCount() > 1;
    for (const CurveRef& c : view.curves()) {
        const RecordingData& d = view.data(c.recording);
        entries.push_back({legendText(d.input(c.input).name, d.input(c.input).unit, c.input,
                                      several ? view.label(c.recording) : QString()),
                           colourFromBgr(view.curveColour(c))});
    }
    return entries;
}

LegendPlan planLegend(const std::vector<LegendEntry>& entries, int left, int width, int top,
                      const QFontMetrics& fm)
{
    LegendPlan plan;
    plan.rowHeight = fm.height();
    if (entries.empty() || width <= 0)
        return plan;
    const int em = fm.horizontalAdvance(u'M');
    const int sampleWidth = kSampleEms * em;
    const int gap = em;
    const int maxEntry = width < kNarrowWidthEms * em ? width : width / 2;
    int x = left;
    int row = 0;
    for (const LegendEntry& e : entries) {
        const int textRoom = std::max(0, maxEntry - sampleWidth - gap / 2);
        const QString shown = fm.elidedText(e.text, Qt::ElideRight, textRoom);
        const int entryWidth = sampleWidth + gap / 2 + fm.horizontalAdvance(shown);
        if (x > left && x + entryWidth > left + width) {
            ++row;
            x = left;
        }
        const int y = top + row * plan.rowHeight;
        PlacedEntry p;
        p.text = shown;
        p.colour = e.colour;
        p.sample = QRect(x, y + plan.rowHeight / 2 - 1, sampleWidth, 3);
        p.textRect = QRect(x + sampleWidth + gap / 2, y, fm.horizontalAdvance(shown), plan.rowHeight);
        plan.entries.push_back(p);
        x += entryWidth + 2 * gap;
    }
    plan.rows = row + 1;
    return plan;
}

} // namespace qz
