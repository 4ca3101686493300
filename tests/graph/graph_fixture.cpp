#include "graph_fixture.h"

#include <QTextItem>

namespace qz::test {

ImageBuilder graphRecording()
{
    return ImageBuilder()
        .serial("4711")
        .recordName(QStringLiteral("  Cold room  "))
        .deviceCode(kCodeLarge)
        .interval(1, 60)
        .start(1, 3, 12, 14, 20, 0);
}

ImageBuilder oneInput()
{
    return graphRecording().input(0, graphInput("degC")).measurements(57, [](int k, int) {
        return std::uint8_t(50 + 2 * k);
    });
}

ImageBuilder threeInputs()
{
    return graphRecording()
        .input(0, graphInput("degC"))
        .input(2, graphInput("%rH", 0, 200))
        .input(5, graphInput("bar"))
        .measurements(81, [](int k, int i) {
            if (i == 0)
                return std::uint8_t(k % 2 ? 100 : 150);
            if (i == 2)
                return std::uint8_t(200 - k);
            return std::uint8_t(80);
        });
}

GraphFixture::GraphFixture() : saved_(QLocale())
{
    QLocale::setDefault(QLocale::c());
}

GraphFixture::~GraphFixture()
{
    QLocale::setDefault(saved_);
}

std::unique_ptr<GraphView> GraphFixture::loadByUnit(const ImageBuilder& image) const
{
    const RecordingResult made = RecordingData::fromImage(image.build(), 0, programFolder());
    if (!made)
        return nullptr;
    auto view = std::make_unique<GraphView>(made.data);
    view->setColourTable(testColours());
    return view;
}

std::unique_ptr<GraphView> GraphFixture::load(const ImageBuilder& image) const
{
    auto view = loadByUnit(image);
    if (view)
        view->setDisplaySettings(ownScales(view->settings()));
    return view;
}

DisplaySettings ownScales(DisplaySettings settings)
{
    settings.ownScales = true;
    return settings;
}

ColourTable testColours()
{
    ColourTable c = defaultColours();
    // 0x00BBGGRR: red, green, magenta, orange, ...
    const Colour inputs[8] = {0x0000FF, 0x00C000, 0xFF00FF, 0x0080FF, 0x808000, 0x800080, 0x008080, 0x404040};
    for (int i = 0; i < 8; ++i)
        c[std::size_t(1 + i)] = inputs[i];
    return c;
}

void RecordingEngine::updateState(const QPaintEngineState& state)
{
    if (state.state() & QPaintEngine::DirtyPen)
        pen_ = state.pen();
}

void RecordingEngine::drawTextItem(const QPointF& p, const QTextItem& item)
{
    texts.push_back({item.text(), p.toPoint(), item.font(), pen_.color()});
}

void RecordingEngine::drawLines(const QLine* l, int count)
{
    for (int i = 0; i < count; ++i)
        lines.push_back({l[i], pen_.color(), pen_.isCosmetic()});
}

void RecordingEngine::drawLines(const QLineF* l, int count)
{
    for (int i = 0; i < count; ++i)
        lines.push_back({l[i].toLine(), pen_.color(), pen_.isCosmetic()});
}

void RecordingEngine::drawRects(const QRect* r, int count)
{
    rects.insert(rects.end(), r, r + count);
}

void RecordingEngine::drawRects(const QRectF* r, int count)
{
    for (int i = 0; i < count; ++i)
        rects.push_back(r[i].toRect());
}

std::vector<QString> RecordingDevice::texts() const
{
    std::vector<QString> out;
    for (const DrawnText& t : engine_.texts)
        out.push_back(t.text);
    return out;
}

const DrawnText* RecordingDevice::find(const QString& text) const
{
    for (const DrawnText& t : engine_.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

int RecordingDevice::metric(PaintDeviceMetric m) const
{
    switch (m) {
    case PdmWidth:
        return size_.width();
    case PdmHeight:
        return size_.height();
    case PdmWidthMM:
        return size_.width() * 254 / 960;
    case PdmHeightMM:
        return size_.height() * 254 / 960;
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
}

} // namespace qz::test
