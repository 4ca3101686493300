#include "graph_fixture.h"

#include "model/memory_image.h"
#include "model/real48.h"
#include "model/values.h"

#include <QFile>
#include <QTextItem>

#include <algorithm>

namespace qz::test {

namespace {
void Put16(QByteArray& a, std::size_t at, unsigned v)
{
    a[int(at)] = char(v & 0xFF);
    a[int(at + 1)] = char((v >> 8) & 0xFF);
}
std::uint8_t* At(QByteArray& a, std::size_t at)
{
    return reinterpret_cast<std::uint8_t*>(a.data()) + at;
}
} // namespace

QByteArray BuildImage(const GraphImage& preset)
{
    QByteArray a(int(mem::kImageSize), '\0');
    StrToBytes(QString::fromLatin1(preset.serial), At(a, mem::kSerialNumber), int(mem::kSerialNumberSize));
    Put16(a, mem::kDeviceCode, preset.deviceCode);
    StrToBytes(QString::fromLatin1(preset.name).leftJustified(50, u' '), At(a, mem::kRecordName), 50);
    a[int(mem::kSamplingPeriod)] = char(preset.samplingPeriod);
    a[int(mem::kSamplingReload)] = char(preset.samplingPeriod);
    a[int(mem::kSamplingInterval)] = char(preset.samplingPeriod);
    Put16(a, mem::kSamplesPerInterval, unsigned(preset.samplesPerInterval));
    std::uint8_t mask = 0;
    for (const GraphInput& in : preset.inputs) {
        mask |= std::uint8_t(1u << in.index);
        const std::size_t d = mem::DescriptorAddress(in.index);
        StrToBytes(QString::fromLatin1(in.unit), At(a, d + mem::kInputUnit), int(mem::kInputUnitSize));
        DoubleToReal48(in.scaleLow, At(a, d + mem::kScaleLow));
        DoubleToReal48(in.scaleHigh, At(a, d + mem::kScaleHigh));
        Put16(a, mem::kCalLow + 2 * std::size_t(in.index), in.calLow);
        Put16(a, mem::kCalHigh + 2 * std::size_t(in.index), in.calHigh);
    }
    const int width = std::max<int>(1, int(preset.inputs.size()));
    a[int(mem::kInputMask)] = char(mask);
    a[int(mem::kInputCount)] = char(width);
    const int perBlock = 120 / width;
    const int blocks = (preset.count + perBlock - 1) / perBlock;
    for (int j = 0; j < blocks; ++j) {
        const std::size_t b = mem::BlockAddress(j);
        const int records = std::min(perBlock, preset.count - j * perBlock);
        a[int(b + mem::kSampleBytes)] = char(records * width);
        std::copy(preset.stamp, preset.stamp + 6, At(a, b + mem::kBlockStamp));
        a[int(b + mem::kBatteryCount)] = char(180);
        for (int r = 0; r < records; ++r) {
            int pos = 0;
            for (int i = 0; i < mem::kInputs; ++i) {
                if (!((mask >> i) & 1))
                    continue;
                const int k = j * perBlock + r + 1;
                a[int(b + mem::kSamples + std::size_t(r * width + pos))] = char(preset.raw(k, i));
                ++pos;
            }
        }
    }
    Put16(a, mem::kBlocksUsed, unsigned(blocks));
    Put16(a, mem::kFirstBlock, 0);
    return a;
}

GraphFixture::GraphFixture() : saved_(QLocale())
{
    QLocale::setDefault(QLocale::c());
    QFile f(dir_.filePath(QStringLiteral("devices.ini")));
    if (f.open(QIODevice::WriteOnly))
        f.write("[Device 0]\r\nType=ZK\r\nDeviceDesc=ZK-110\r\n[Device 224]\r\nType=ZK\r\nDeviceDesc=ZK-380\r\n");
}

GraphFixture::~GraphFixture()
{
    QLocale::setDefault(saved_);
}

std::unique_ptr<Recording> GraphFixture::Load(const GraphImage& preset) const
{
    auto r = std::make_unique<Recording>(ProgramFolder(dir_.path()));
    r->SetImage(BuildImage(preset));
    if (!r->Initialize())
        return nullptr;
    r->SetColourTable(TestColours());
    return r;
}

ColourTable TestColours()
{
    ColourTable c = DefaultColours();
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

std::vector<QString> RecordingDevice::Texts() const
{
    std::vector<QString> out;
    for (const DrawnText& t : engine_.texts)
        out.push_back(t.text);
    return out;
}

const DrawnText* RecordingDevice::Find(const QString& text) const
{
    for (const DrawnText& t : engine_.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

int RecordingDevice::metric(PaintDeviceMetric m) const
{
    switch (m) {
    case PdmWidth: return size_.width();
    case PdmHeight: return size_.height();
    case PdmWidthMM: return size_.width() * 254 / 960;
    case PdmHeightMM: return size_.height() * 254 / 960;
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
}

} // namespace qz::test
