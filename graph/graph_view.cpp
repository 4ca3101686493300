#include "graph/graph_view.h"

#include <algorithm>

namespace qz {

namespace {

int clampLevel(int level)
{
    return std::clamp(level, 0, kViewLevels - 1);
}

} // namespace

GraphView::GraphView(std::shared_ptr<const RecordingData> primary)
    : recordings_{std::move(primary)}, settings_(initDisplaySettings(data().reader().inputMask()))
{
    showLevel(0, 1, data().measurementCount());
}

void GraphView::renamePrimary(const QString& fileName)
{
    recordings_.front() = data().withFileName(fileName);
}

void GraphView::applyGraphicConfig(const ColourTable& colours, const DisplaySettings& settings)
{
    colours_ = colours;
    settings_ = settings;
    scaleLevel(currentLevel_);
}

ViewRecord& GraphView::view(int level)
{
    return views_[std::size_t(clampLevel(level))];
}

const ViewRecord& GraphView::view(int level) const
{
    return views_[std::size_t(clampLevel(level))];
}

void GraphView::setCurrentLevel(int level)
{
    currentLevel_ = clampLevel(level);
}

ViewRecord& GraphView::showLevel(int level, int first, int last)
{
    ViewRecord& v = view(level);
    v = ViewRecord{};
    v.first = first;
    v.last = last;
    setCurrentLevel(level);
    measureLevel(level);
    scaleLevel(level);
    return v;
}

void GraphView::measureLevel(int level)
{
    ViewRecord& v = view(level);
    const RangeStatistics stats = rangeStatistics(data(), v.first, v.last);
    for (std::size_t i = 0; i < std::size_t(mem::kInputs); ++i) {
        if (!data().isEnabled(int(i)))
            continue;
        v.rawMin[i] = stats[i].rawMin;
        v.rawMax[i] = stats[i].rawMax;
        v.average[i] = stats[i].average;
    }
}

void GraphView::scaleLevel(int level)
{
    level = clampLevel(level);
    ViewRecord& v = view(level);
    const ImageReader& reader = data().reader();
    const int margin = level == 0 ? kAutoScaleMargin : 0;
    for (std::size_t i = 0; i < std::size_t(mem::kInputs); ++i) {
        const int input = int(i);
        if (!data().isEnabled(input))
            continue;
        // The physically higher end goes to the top; with a falling conversion that is
        // the lower raw value, so the margin widens the range downwards in raw units.
        const bool falling = data().conversion(input).gain < 0;
        if (settings_.autoScale) {
            const int m = falling ? -margin : margin;
            v.bottom[i] = v.rawMin[i] - m;
            v.top[i] = v.rawMax[i] + m;
            if (v.top[i] == v.bottom[i] && level >= 1) {
                v.top[i] = views_[std::size_t(level - 1)].top[i];
                v.bottom[i] = views_[std::size_t(level - 1)].bottom[i];
            }
        } else {
            // ScaleHigh is read at CalHigh and ScaleLow at CalLow, whichever raw value is
            // larger: the higher scale value goes to the top, not the larger raw value.
            v.bottom[i] = reader.calLow(input);
            v.top[i] = reader.calHigh(input);
            if (reader.scaleHigh(input) < reader.scaleLow(input))
                std::swap(v.top[i], v.bottom[i]);
        }
        // A plot without height cannot be drawn (no calibrated span, or a flat level
        // above): keep the level-0 margin around it.
        if (v.top[i] == v.bottom[i]) {
            v.top[i] += kAutoScaleMargin;
            v.bottom[i] -= kAutoScaleMargin;
        }
    }
}

AxisScale GraphView::axisScale(int input) const
{
    if (input < 0 || input >= mem::kInputs)
        return {};
    const ViewRecord& v = currentView();
    return computeAxisScale(data().conversion(input), v.top[std::size_t(input)],
                            v.bottom[std::size_t(input)]);
}

DataRange GraphView::range() const
{
    const ViewRecord& v = currentView();
    DataRange r;
    r.first = v.first;
    r.last = v.last;
    for (int i = 0; i < mem::kInputs; ++i)
        r.inputs[std::size_t(i)] = isInputDrawn(i);
    return r;
}

void GraphView::childTitle(int n)
{
    if (titleSet_)
        return;
    const RecordingData& d = data();
    const QString number = QString::number(n).leftJustified(3, ' ');
    const QString name = d.reader().recordName().left(30);
    const QString& fileName = d.fileName();
    if (!fileName.isEmpty()) {
        const QString base = fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1);
        caption_ = base + d.simulatedMark() + QStringLiteral(" - ") + name + QStringLiteral(" #") + number;
    } else {
        caption_ = QStringLiteral("S/N:") + d.reader().serialNumber() + d.simulatedMark()
            + QStringLiteral(" - ") + name + QStringLiteral(" #") + number + QStringLiteral(" (")
            + d.createdText() + QStringLiteral(" )");
    }
    titleSet_ = true;
}

} // namespace qz
