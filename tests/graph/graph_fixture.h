#pragma once
// Small recordings built by hand for the graph tests, and a paint device that records
// what is drawn on it (lines, rectangles, texts with their place, font and colour).
#include "graph/graph_view.h"
#include "recording/recording_data.h"
#include "support/catalogue_folder.h"
#include "support/image_builder.h"
#include "support/print_qt.h"

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

#include <memory>
#include <vector>

namespace qz::test {

// The graph tests' recording before its inputs and measurements: serial 4711, name
// "  Cold room  ", a 508-block logger, one measurement a minute from 12/03/01 14:20:00.
ImageBuilder graphRecording();

// One input, 57 measurements a minute apart from 12/03/01 14:21:00, raw 50 + 2k (52..164):
// on a 400 x 300 canvas the plot is 60..340 x 26..256 and measurements are 5 pixels apart.
ImageBuilder oneInput();
// Inputs 1, 3 and 6 (indices 0, 2, 5): 40 measurements per block, 81 in three blocks.
// Input 1 zigzags 100/150, input 3 falls from 199, input 6 stays at 80.
ImageBuilder threeInputs();

// An input of the graph tests: no name, 0..100 over the whole converter range.
inline InputSetup graphInput(const char* unit, double scaleLow = 0, double scaleHigh = 100,
                             std::uint16_t calLow = 0, std::uint16_t calHigh = 255 * 256)
{
    return {QString(), QString::fromLatin1(unit), scaleLow, scaleHigh, calLow, calHigh};
}

// A catalogue folder, a "C" locale for the test, and graph views of recordings drawn in
// TestColours.
class GraphFixture {
public:
    GraphFixture();
    ~GraphFixture();
    // A view of the image's recording drawn with each input on its own scale (the
    // drawing whose pictures these tests keep); null when it is refused.
    std::unique_ptr<GraphView> load(const ImageBuilder& image) const;
    // The same drawn as a new view is, with one value axis per unit.
    std::unique_ptr<GraphView> loadByUnit(const ImageBuilder& image) const;
    ProgramFolder programFolder() const { return ProgramFolder(catalogue_.path()); }
    // The program folder with the catalogue (and the settings file, once written).
    QString folder() const { return catalogue_.path(); }
    QString writeFile(const QString& name, const QByteArray& bytes) const
    {
        return catalogue_.write(name, bytes);
    }

private:
    CatalogueFolder catalogue_;
    QLocale saved_;
};

// The default colours with distinct, non-black colours for every input.
ColourTable testColours();

// The settings with each input on its own scale.
DisplaySettings ownScales(DisplaySettings settings);

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
    std::vector<QString> texts() const;
    const DrawnText* find(const QString& text) const;

protected:
    int metric(PaintDeviceMetric m) const override;

private:
    QSize size_;
    mutable RecordingEngine engine_;
};

} // namespace qz::test
