#include "graph/graph_view.h"

#include "graph/round_scale.h"
#include "model/values.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

namespace qz {

namespace {

int clampLevel(int level)
{
    return std::clamp(level, 0, kViewLevels - 1);
}

// Colours of the curves of further recordings (0x00BBGGRR), far from each other and from
// the white page.
constexpr Colour kOverlayColours[] = {0x0E7FFF, 0xBD6794, 0x4B568C, 0xC277E3, 0x22BDBC, 0xCFBE17,
                                      0xB4771F, 0x2CA02C, 0x2827D6, 0x7F7F7F, 0x0D55E6, 0xB16B75,
                                      0x00A5FF, 0x8B008B, 0x228B22, 0x8B0000};

} // namespace

QString axisUnit(const RecordingData& data, int input)
{
    return trimLeadingBlanks(trimTrailingBlanks(data.input(input).unit));
}

GraphView::GraphView(std::shared_ptr<const RecordingData> primary)
    : recordings_{primary}, settings_(initDisplaySettings(primary->reader().inputMask()))
{
    sources_.push_back({primary, timelineOf(*primary), 0});
    showWhole();
}

const RecordingData& GraphView::data(int recording) const
{
    return *sources_[std::size_t(std::clamp(recording, 0, recordingCount() - 1))].data;
}

const Timeline& GraphView::timeline(int recording) const
{
    return sources_[std::size_t(std::clamp(recording, 0, recordingCount() - 1))].timeline;
}

double GraphView::shift(int recording) const
{
    return sources_[std::size_t(std::clamp(recording, 0, recordingCount() - 1))].shift;
}

bool GraphView::addRecording(std::shared_ptr<const RecordingData> data)
{
    if (!data || recordingCount() >= kMaxRecordings)
        return false;
    recordings_.push_back(data);
    sources_.push_back({data, timelineOf(*data), 0});
    // Inputs only the new recording has are drawn; the choices made for the others stay.
    for (int i = 0; i < mem::kInputs; ++i) {
        if (data->isEnabled(i) && !settings_.enabled[std::size_t(i)]) {
            settings_.enabled[std::size_t(i)] = true;
            settings_.shown[std::size_t(i)] = true;
        }
    }
    showWhole();
    return true;
}

void GraphView::renamePrimary(const QString& fileName)
{
    recordings_.front() = data().withFileName(fileName);
    sources_.front().data = recordings_.front();
}

QString GraphView::label(int recording) const
{
    const RecordingData& d = data(recording);
    if (!d.fileName().isEmpty())
        return QFileInfo(d.fileName()).completeBaseName();
    const QString name = trimLeadingBlanks(trimTrailingBlanks(d.reader().recordName()));
    if (!name.isEmpty())
        return name;
    return QStringLiteral("S/N ") + d.reader().serialNumber();
}

bool GraphView::isDrawn(int recording, int input) const
{
    return qz::isInputDrawn(settings_, input) && data(recording).isEnabled(input);
}

std::vector<CurveRef> GraphView::curves() const
{
    std::vector<CurveRef> out;
    for (int r = 0; r < recordingCount(); ++r)
        for (int i = 0; i < mem::kInputs; ++i)
            if (isDrawn(r, i))
                out.push_back({r, i});
    return out;
}

Colour GraphView::curveColour(const CurveRef& curve) const
{
    const auto tableColour = [this](int input) { return colours_[std::size_t(1 + std::clamp(input, 0, 7))]; };
    if (curve.recording == 0)
        return tableColour(curve.input);
    // The colours taken by the curves before this one.
    std::vector<Colour> taken;
    std::size_t next = 0;
    for (const CurveRef& c : curves()) {
        if (c == curve)
            break;
        if (c.recording == 0) {
            taken.push_back(tableColour(c.input));
            continue;
        }
        ++next;
    }
    // The next free overlay colour, in order, skipping those the primary's curves show.
    std::size_t n = 0;
    for (std::size_t k = 0; k < 4 * std::size(kOverlayColours); ++k) {
        const Colour c = kOverlayColours[k % std::size(kOverlayColours)];
        if (std::find(taken.begin(), taken.end(), c) != taken.end())
            continue;
        if (n++ == next)
            return c;
    }
    return kOverlayColours[next % std::size(kOverlayColours)];
}

void GraphView::applyGraphicConfig(const ColourTable& colours, const DisplaySettings& settings)
{
    const bool realign = settings.alignStarts != settings_.alignStarts && recordingCount() > 1;
    colours_ = colours;
    settings_ = settings;
    if (realign) {
        showWhole();
        return;
    }
    measureLevel(currentLevel_);
    scaleLevel(currentLevel_);
}

GraphView::Level& GraphView::level(int index)
{
    return levels_[std::size_t(clampLevel(index))];
}

const GraphView::Level& GraphView::level(int index) const
{
    return levels_[std::size_t(clampLevel(index))];
}

ViewRecord& GraphView::view(int index)
{
    return level(index).records.front();
}

const ViewRecord& GraphView::view(int index) const
{
    return level(index).records.front();
}

ViewRecord& GraphView::record(int index, int recording)
{
    Level& l = level(index);
    return l.records[std::size_t(std::clamp(recording, 0, int(l.records.size()) - 1))];
}

const ViewRecord& GraphView::record(int index, int recording) const
{
    const Level& l = level(index);
    return l.records[std::size_t(std::clamp(recording, 0, int(l.records.size()) - 1))];
}

const TimeWindow& GraphView::window(int index) const
{
    return level(index).window;
}

std::vector<UnitRange>& GraphView::unitRanges(int index)
{
    return level(index).units;
}

const std::vector<UnitRange>& GraphView::unitRanges(int index) const
{
    return level(index).units;
}

void GraphView::setCurrentLevel(int index)
{
    currentLevel_ = clampLevel(index);
}

void GraphView::showWhole()
{
    const std::size_t n = sources_.size();
    const double start = sources_.front().timeline.first();
    for (Source& s : sources_)
        s.shift = settings_.alignStarts ? start - s.timeline.first() : 0;
    for (Level& l : levels_)
        l.records.assign(n, ViewRecord{});
    if (n == 1) {
        showLevel(0, 1, data().measurementCount());
        return;
    }
    TimeWindow whole{std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest()};
    for (int r = 0; r < int(n); ++r) {
        whole.from = std::min(whole.from, viewTime(r, 1));
        whole.to = std::max(whole.to, viewTime(r, timeline(r).count));
    }
    showWindow(0, whole);
}

ViewRecord& GraphView::showLevel(int index, int first, int last)
{
    Level& l = level(index);
    l.window = {viewTime(0, first), viewTime(0, last)};
    for (ViewRecord& v : l.records)
        v = ViewRecord{};
    placeRecords(index);
    // The primary's measurements as asked, also where they are none of the recording's.
    ViewRecord& v = l.records.front();
    v.first = first;
    v.last = last;
    setCurrentLevel(index);
    measureLevel(index);
    scaleLevel(index);
    return v;
}

void GraphView::showWindow(int index, const TimeWindow& window)
{
    Level& l = level(index);
    l.window = window;
    for (ViewRecord& v : l.records)
        v = ViewRecord{};
    placeRecords(index);
    setCurrentLevel(index);
    measureLevel(index);
    scaleLevel(index);
}

void GraphView::leaveWholeView()
{
    if (currentLevel_ != 0)
        return;
    levels_[1] = levels_[0];
    currentLevel_ = 1;
}

void GraphView::moveWindow(const TimeWindow& window)
{
    leaveWholeView();
    level(currentLevel_).window = window;
    placeRecords(currentLevel_);
}

void GraphView::placeRecords(int index)
{
    Level& l = level(index);
    for (int r = 0; r < int(l.records.size()); ++r) {
        const double s = shift(r);
        const auto [first, last] = timeline(r).inside(l.window.from - s, l.window.to - s);
        l.records[std::size_t(r)].first = first;
        l.records[std::size_t(r)].last = last;
    }
}

void GraphView::measureLevel(int index)
{
    Level& l = level(index);
    for (int r = 0; r < int(l.records.size()); ++r) {
        ViewRecord& v = l.records[std::size_t(r)];
        const RecordingData& d = data(r);
        const RangeStatistics stats = rangeStatistics(d, v.first, v.last);
        for (std::size_t i = 0; i < std::size_t(mem::kInputs); ++i) {
            if (!d.isEnabled(int(i)))
                continue;
            v.rawMin[i] = stats[i].rawMin;
            v.rawMax[i] = stats[i].rawMax;
            v.average[i] = stats[i].average;
        }
    }
}

void GraphView::scaleLevel(int index)
{
    index = clampLevel(index);
    for (int r = 0; r < recordingCount(); ++r)
        scaleRecord(index, r);
    scaleUnits(index);
}

void GraphView::scaleRecord(int index, int recording)
{
    ViewRecord& v = record(index, recording);
    const RecordingData& d = data(recording);
    const ImageReader& reader = d.reader();
    const int margin = index == 0 ? kAutoScaleMargin : 0;
    // A recording without measurements in this window keeps the ranges of the level above.
    const bool empty = v.first > v.last && recording > 0;
    for (std::size_t i = 0; i < std::size_t(mem::kInputs); ++i) {
        const int input = int(i);
        if (!d.isEnabled(input))
            continue;
        if (empty && index >= 1) {
            v.top[i] = record(index - 1, recording).top[i];
            v.bottom[i] = record(index - 1, recording).bottom[i];
            continue;
        }
        // The physically higher end goes to the top; with a falling conversion that is
        // the lower raw value, so the margin widens the range downwards in raw units.
        const bool falling = d.conversion(input).gain < 0;
        if (settings_.autoScale) {
            const int m = falling ? -margin : margin;
            v.bottom[i] = v.rawMin[i] - m;
            v.top[i] = v.rawMax[i] + m;
            if (v.top[i] == v.bottom[i] && index >= 1) {
                v.top[i] = record(index - 1, recording).top[i];
                v.bottom[i] = record(index - 1, recording).bottom[i];
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

std::vector<ValueAxis> GraphView::unitsWithCurves() const
{
    // Every unit of a recorded input, so that any level has a range for any unit the
    // configuration may draw; an axis's curves are those drawn.
    std::vector<ValueAxis> axes;
    for (int r = 0; r < recordingCount(); ++r) {
        for (int i = 0; i < mem::kInputs; ++i) {
            if (!data(r).isEnabled(i))
                continue;
            const QString unit = axisUnit(data(r), i);
            auto it = std::find_if(axes.begin(), axes.end(),
                                   [&unit](const ValueAxis& a) { return a.range.unit == unit; });
            if (it == axes.end()) {
                axes.push_back({});
                it = axes.end() - 1;
                it->range.unit = unit;
            }
            if (isDrawn(r, i))
                it->curves.push_back({r, i});
        }
    }
    return axes;
}

void GraphView::scaleUnits(int index)
{
    Level& l = level(index);
    const std::vector<UnitRange> above = index >= 1 ? level(index - 1).units : std::vector<UnitRange>{};
    const auto rangeAbove = [&above](const QString& unit) -> const UnitRange* {
        for (const UnitRange& u : above)
            if (u.unit == unit)
                return &u;
        return nullptr;
    };
    const double margin = index == 0 ? kAutoScaleMargin : 0;
    std::vector<UnitRange> units;
    for (const ValueAxis& axis : unitsWithCurves()) {
        // The curves drawn decide the range; a unit without any, its recorded inputs.
        std::vector<CurveRef> members = axis.curves;
        if (members.empty()) {
            for (int r = 0; r < recordingCount(); ++r)
                for (int i = 0; i < mem::kInputs; ++i)
                    if (data(r).isEnabled(i) && axisUnit(data(r), i) == axis.range.unit)
                        members.push_back({r, i});
        }
        double low = std::numeric_limits<double>::max();
        double high = std::numeric_limits<double>::lowest();
        for (const CurveRef& c : members) {
            const RecordingData& d = data(c.recording);
            if (!settings_.autoScale) {
                const double a = d.reader().scaleLow(c.input);
                const double b = d.reader().scaleHigh(c.input);
                low = std::min({low, a, b});
                high = std::max({high, a, b});
                continue;
            }
            const ViewRecord& v = l.records[std::size_t(c.recording)];
            if (v.first > v.last)
                continue;
            const Conversion& conv = d.conversion(c.input);
            const double a = double(conv.physical(v.rawMin[std::size_t(c.input)]));
            const double b = double(conv.physical(v.rawMax[std::size_t(c.input)]));
            const double m = margin * double(std::fabs(conv.gain));
            low = std::min({low, a - m, b - m});
            high = std::max({high, a + m, b + m});
        }
        UnitRange u = axis.range;
        const UnitRange* previous = rangeAbove(u.unit);
        const bool found = low <= high && std::isfinite(low) && std::isfinite(high);
        if (found && high > low) {
            u.low = low;
            u.high = high;
            if (index == 0 && settings_.autoScale)
                roundOutwards(u.low, u.high);
        } else if (previous) {
            // A flat range, or no measurement in this window: the range of the level above.
            u = *previous;
        } else {
            const double v = found ? low : 0;
            const double d = v != 0 ? std::fabs(v) * 0.1 : 1;
            u.low = v - d;
            u.high = v + d;
        }
        units.push_back(u);
    }
    l.units = std::move(units);
}

AxisScale GraphView::axisScale(int input) const
{
    if (input < 0 || input >= mem::kInputs)
        return {};
    const ViewRecord& v = currentView();
    return computeAxisScale(data().conversion(input), v.top[std::size_t(input)],
                            v.bottom[std::size_t(input)]);
}

std::vector<ValueAxis> GraphView::valueAxes() const
{
    const std::vector<UnitRange>& ranges = level(currentLevel_).units;
    std::vector<ValueAxis> axes;
    for (ValueAxis& axis : unitsWithCurves()) {
        if (axis.curves.empty())
            continue;
        for (const UnitRange& u : ranges)
            if (u.unit == axis.range.unit)
                axis.range = u;
        axes.push_back(std::move(axis));
    }
    // In the order their first curve is drawn: the primary's inputs first.
    std::stable_sort(axes.begin(), axes.end(), [](const ValueAxis& a, const ValueAxis& b) {
        const CurveRef& x = a.curves.front();
        const CurveRef& y = b.curves.front();
        return x.recording != y.recording ? x.recording < y.recording : x.input < y.input;
    });
    return axes;
}

bool GraphView::holdsThreeMeasurements() const
{
    const Level& l = level(currentLevel_);
    return std::any_of(l.records.begin(), l.records.end(),
                       [](const ViewRecord& v) { return std::int64_t(v.last) - v.first >= 2; });
}

DataRange GraphView::range(int recording) const
{
    const ViewRecord& v = record(currentLevel_, recording);
    DataRange r;
    r.first = v.first;
    r.last = v.last;
    for (int i = 0; i < mem::kInputs; ++i)
        r.inputs[std::size_t(i)] = isDrawn(recording, i);
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
