#pragma once
// Small recordings built by hand for the graph tests, and a paint device that records
// what is drawn on it (lines, rectangles, texts with their place, font and colour).
#include "recording/recording.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QLine>
#include <QLocale>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qz::test {

struct GraphInput {
    int index = 0;            // 0..7
    const char* unit = "degC";
    double scaleLow = 0;
    double scaleHigh = 100;
    std::uint16_t calLow = 0; // 1/256 counts
    std::uint16_t calHigh = 255 * 256;
};

// raw sample of input in measurement k (from 1)
using RawFn = std::function<std::uint8_t(int k, int input)>;

struct GraphImage {
    std::vector<GraphInput> inputs;
    int count = 61;                   // measurements
    int samplingPeriod = 1;           // seconds
    int samplesPerInterval = 60;      // interval = period x samples
    std::uint8_t stamp[6] = {0x01, 0x03, 0x12, 0x14, 0x20, 0x00}; // 12/03/01 14:20:00, BCD
    const char* serial = "4711";
    const char* name = "  Cold room  ";
    std::uint16_t deviceCode = 0xE0;  // 508 blocks
    RawFn raw;
};

QByteArray BuildImage(const GraphImage& preset);

// A catalogue folder accepting device codes 0 and 0xE0, a "C" locale for the test, and
// recordings made from GraphImages.
class GraphFixture {
public:
    GraphFixture();
    ~GraphFixture();
    std::unique_ptr<Recording> Load(const GraphImage& preset) const;

private:
    QTemporaryDir dir_;
    QLocale saved_;
};

// The default colours with distinct, non-black colours for every input.
ColourTable TestColours();

struct DrawnText {
    QString text;
    QPoint baseline;
    QFont font;
    QColor colour;
};
struct DrawnLine {
    QLine line;
    QColor colour;
    bool cosmetic = false;
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override;
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override;
    void drawLines(const QLine* lines, int count) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawRects(const QRect* rects, int count) override;
    void drawRects(const QRectF* rects, int count) override;
    Type type() const override { return QPaintEngine::User; }

    std::vector<DrawnText> texts;
    std::vector<DrawnLine> lines;
    std::vector<QRect> rects;

private:
    QPen pen_;
};

// 96 dots per inch, like the canvas.
class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(QSize size) : size_(size) {}
    QPaintEngine* paintEngine() const override { return &engine_; }
    RecordingEngine& engine() const { return engine_; }
    // The texts drawn, in order.
    std::vector<QString> Texts() const;
    const DrawnText* Find(const QString& text) const;

protected:
    int metric(PaintDeviceMetric m) const override;

private:
    QSize size_;
    mutable RecordingEngine engine_;
};

} // namespace qz::test
