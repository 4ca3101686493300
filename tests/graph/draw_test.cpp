#include "graph/graph_draw.h"
#include "graph/graph_fonts.h"
#include "graph_fixture.h"
#include "recording/exports.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace qz::test {
namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0); // input 1 in TestColours
const QColor kMagenta(255, 0, 255); // input 3
const QColor kPurple(128, 0, 128); // input 6

// bottom - ((raw x 64 - B) x H) div (T - B) for a raw range bottom..top.
int row(int raw, int rawTop, int rawBottom, int bottom = 256, int height = 230)
{
    const long long t = 64LL * rawTop, b = 64LL * rawBottom;
    return bottom - int(((raw * 64LL - b) * height) / (t - b));
}

int countColour(const QImage& img, const QColor& c, QRect area)
{
    int n = 0;
    area = area.intersected(img.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}

class GraphDrawTest : public ::testing::Test {
protected:
    void SetUp() override { setUpFontSubstitutions(); }
    GraphFixture fixture_;
};

TEST_F(GraphDrawTest, FrameTicksAndCurveOfOneInputAtTheirPixels)
{
    auto rec = fixture_.load(oneInput());
    ASSERT_TRUE(rec);
    const QImage img = graphBitmap(*rec, QSize(400, 300));
    ASSERT_EQ(img.size(), QSize(400, 300));

    // Frame: columns 60 and 339, rows 26 and 255.
    for (const QPoint p : {QPoint(60, 100), QPoint(339, 200), QPoint(200, 26), QPoint(200, 255)})
        EXPECT_EQ(img.pixelColor(p), kBlue) << p.x() << "," << p.y();
    EXPECT_EQ(img.pixelColor(61, 100), Qt::white);
    EXPECT_EQ(img.pixelColor(340, 200), Qt::white);

    // Every measurement's point: x = 60 + 5 (k - 1), raw 50 + 2k over 40..176.
    for (int k = 1; k < 57; ++k) {
        const int x = 60 + 5 * (k - 1);
        EXPECT_EQ(img.pixelColor(x, row(50 + 2 * k, 176, 40)), kRed) << "measurement " << k;
    }
    // Nothing of the curve right of the plot (no right axis) or under it.
    EXPECT_EQ(countColour(img, kRed, QRect(340, 0, 60, 300)), 0);
    EXPECT_EQ(countColour(img, kRed, QRect(0, 257, 400, 7)), 0);

    // Time ticks every 10 minutes, 50 pixels apart, 8 pixels below the bottom edge.
    for (int x = 60; x < 340; x += 50) {
        EXPECT_EQ(img.pixelColor(x, 256), kBlue) << x;
        EXPECT_EQ(img.pixelColor(x, 263), kBlue) << x;
        EXPECT_EQ(img.pixelColor(x + 2, 260), Qt::white) << x;
    }

    // Value ticks: 0..100 over raw 0..255, so the plot spans 15.69..69.02 and the step
    // is 7.5 (32.3 pixels), 8 pixels long left of the frame.
    const double pb = 40 * 100.0 / 255, pt = 176 * 100.0 / 255;
    for (int k = 0; k < 8; ++k) {
        const int y = int(std::nearbyint(256 - k * 230 * 7.5 / (pt - pb)));
        EXPECT_EQ(img.pixelColor(53, y), kBlue) << "tick " << k;
        EXPECT_EQ(img.pixelColor(56, y), kBlue) << "tick " << k;
        EXPECT_EQ(img.pixelColor(52, y), Qt::white) << "tick " << k;
    }
    // Between the labels and the ticks the margin is clear.
    EXPECT_EQ(countColour(img, kRed, QRect(51, 26, 2, 231)), 0);
    EXPECT_EQ(countColour(img, kBlue, QRect(51, 26, 2, 231)), 0);
}

TEST_F(GraphDrawTest, ThreeInputsEachInItsColourFromTheirOwnByte)
{
    auto rec = fixture_.load(threeInputs());
    ASSERT_TRUE(rec);
    const QImage img = graphBitmap(*rec, QSize(400, 300));
    // 80 steps over 280 pixels: x = 60 + trunc(3.5 (k - 1)).
    // Measurement 41 is the first of the second block.
    for (int k : {1, 2, 40, 41, 42, 79, 80}) {
        const int x = 60 + (7 * (k - 1)) / 2;
        // Input 1 zigzags 100/150 (range 88..162); input 3 falls 199..119 (107..211) and
        // crosses the flat input 6 in the middle, at measurement 41.
        EXPECT_EQ(img.pixelColor(x, row(k % 2 ? 100 : 150, 162, 88)), kRed) << k;
        if (k != 41) {
            EXPECT_EQ(img.pixelColor(x, row(200 - k, 211, 107)), kMagenta) << k;
        }
    }
    // Input 6 is flat: 80 within 68..92 is the middle row.
    EXPECT_EQ(img.pixelColor(200, row(80, 92, 68)), kPurple);
    // Right axis (input 3): ticks from the right edge outwards.
    EXPECT_EQ(img.pixelColor(340, 256), kBlue);
    EXPECT_EQ(img.pixelColor(347, 256), kBlue);
    EXPECT_EQ(img.pixelColor(348, 256), Qt::white);
}

TEST_F(GraphDrawTest, CurveWithoutRawRangeIsNotDrawn)
{
    auto rec = fixture_.load(threeInputs());
    ASSERT_TRUE(rec);
    rec->currentView().top[2] = 150.0;
    rec->currentView().bottom[2] = 150.01; // the same in 1/64 units
    RecordingDevice dev(QSize(400, 300));
    {
        QPainter p(&dev);
        drawGraph(p, screenTarget(QSize(400, 300)), *rec);
    }
    int red = 0;
    for (const DrawnLine& l : dev.engine().lines) {
        EXPECT_NE(l.colour, kMagenta);
        red += l.colour == kRed;
    }
    EXPECT_GT(red, 50);
}

TEST_F(GraphDrawTest, InputsNotShownAreNeitherDrawnNorNumbered)
{
    auto rec = fixture_.load(threeInputs());
    ASSERT_TRUE(rec);
    DisplaySettings s = rec->settings();
    s.shown[2] = false;
    rec->setDisplaySettings(s);
    RecordingDevice dev(QSize(400, 300));
    {
        QPainter p(&dev);
        drawGraph(p, screenTarget(QSize(400, 300)), *rec);
    }
    const std::vector<QString> texts = dev.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("1")), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), QStringLiteral("3")), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("6")), texts.end());
    for (const DrawnLine& l : dev.engine().lines)
        EXPECT_NE(l.colour, kMagenta);
}

TEST_F(GraphDrawTest, FixedScaleCurveBeyondThePlotIsCleared)
{
    // Samples above 150 lie above the plot.
    auto rec = fixture_.load(oneInput().input(0, graphInput("degC", 0, 100, 100 * 256, 150 * 256)));
    ASSERT_TRUE(rec);
    DisplaySettings s = rec->settings();
    s.autoScale = false;
    rec->applyGraphicConfig(rec->colours(), s);
    const QImage img = graphBitmap(*rec, QSize(400, 300));
    EXPECT_GT(countColour(img, kRed, QRect(60, 26, 280, 231)), 50);
    // Above and below the plot, where only black texts stand.
    EXPECT_EQ(countColour(img, kRed, QRect(60, 0, 280, 26)), 0);
    EXPECT_EQ(countColour(img, kRed, QRect(60, 257, 280, 43)), 0);
}

TEST_F(GraphDrawTest, TwoMeasurementsDrawOneLineFromEdgeToEdge)
{
    auto rec = fixture_.load(oneInput());
    ASSERT_TRUE(rec);
    ViewRecord& v = rec->currentView();
    v.first = 10;
    v.last = 11;
    RecordingDevice dev(QSize(400, 300));
    {
        QPainter p(&dev);
        drawGraph(p, screenTarget(QSize(400, 300)), *rec);
    }
    std::vector<QLine> curve;
    for (const DrawnLine& l : dev.engine().lines) {
        if (l.colour == kRed)
            curve.push_back(l.line);
        EXPECT_TRUE(l.cosmetic);
    }
    ASSERT_EQ(curve.size(), 1u);
    EXPECT_EQ(curve[0], QLine(60, row(70, 176, 40), 340, row(72, 176, 40)));
}

TEST_F(GraphDrawTest, TextsAndTheirPlaces)
{
    auto rec = fixture_.load(oneInput());
    ASSERT_TRUE(rec);
    RecordingDevice dev(QSize(400, 300));
    {
        QPainter p(&dev);
        drawGraph(p, screenTarget(QSize(400, 300)), *rec);
    }
    const QFont label = graphFont(8, false);
    const QFont bold = graphFont(10, true);
    const QFontMetrics lm(label, &dev);
    const QFontMetrics bm(bold, &dev);
    const int w = bm.horizontalAdvance(QStringLiteral("W"));

    // Time labels: centred under ticks 50 pixels apart, top 8 pixels below the plot; the
    // second would run into the first, which carries the date, so it is left out.
    EXPECT_FALSE(dev.find(QStringLiteral("14:31")));
    const char* times[] = {"12/03-14:21", nullptr, "14:41", "14:51", "15:01", "15:11"};
    for (int k = 0; k < 6; ++k) {
        if (!times[k])
            continue;
        const QString text = QString::fromLatin1(times[k]);
        const DrawnText* t = dev.find(text);
        ASSERT_TRUE(t) << times[k];
        EXPECT_EQ(t->baseline.x(), int(60 + 50 * k - lm.horizontalAdvance(text) / 2.0)) << times[k];
        EXPECT_EQ(t->baseline.y(), 264 + lm.ascent());
        EXPECT_EQ(t->colour, Qt::black);
        EXPECT_EQ(t->font.pointSize(), 8);
        EXPECT_FALSE(t->font.bold());
    }

    // Value labels in the input's colour, ending 10 pixels left of the frame.
    const char* values[] = {"15.7", "23.2", "30.7", "38.2", "45.7", "53.2", "60.7", "68.2"};
    for (const char* v : values) {
        const DrawnText* t = dev.find(QString::fromLatin1(v));
        ASSERT_TRUE(t) << v;
        EXPECT_EQ(t->baseline.x() + lm.horizontalAdvance(t->text), 50) << v;
        EXPECT_EQ(t->colour, kRed);
    }
    EXPECT_EQ(dev.find(QStringLiteral("15.7"))->baseline.y(), int(256 - lm.height() / 2.0) + lm.ascent());

    // Unit above the left axis, bold, ending one "W" left of the frame.
    const DrawnText* unit = dev.find(QStringLiteral("degC"));
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->baseline.x(), 60 - bm.horizontalAdvance(QStringLiteral("degC")) - w);
    EXPECT_EQ(unit->baseline.y(), int(13 - bm.height() / 2.0) + bm.ascent());
    EXPECT_TRUE(unit->font.bold());
    EXPECT_EQ(unit->colour, kRed);

    // Footer on one line at the bottom: start, input numbers, serial number.
    const int footerY = 300 - bm.height() + bm.ascent();
    const DrawnText* start = dev.find(QStringLiteral("Start : 12/03/01 14:21:00"));
    ASSERT_TRUE(start);
    EXPECT_EQ(start->baseline, QPoint(w, footerY));
    EXPECT_TRUE(start->font.bold());
    const DrawnText* serial = dev.find(QStringLiteral("S/N : 4711"));
    ASSERT_TRUE(serial);
    const int serialX = 400 - w - bm.horizontalAdvance(QStringLiteral("S/N : 4711"));
    EXPECT_EQ(serial->baseline, QPoint(serialX, footerY));
    const DrawnText* number = dev.find(QStringLiteral("1"));
    ASSERT_TRUE(number);
    EXPECT_EQ(number->baseline, QPoint(serialX - 4 * w, footerY));
    EXPECT_FALSE(number->font.bold());
    EXPECT_EQ(number->colour, kRed);

    // Name without its blanks, centred over the plot.
    const DrawnText* name = dev.find(QStringLiteral("Cold room"));
    ASSERT_TRUE(name);
    EXPECT_EQ(name->baseline.x(), 200 - bm.horizontalAdvance(QStringLiteral("Cold room")) / 2);
    EXPECT_EQ(name->font.family(), QStringLiteral("Courier New"));
}

TEST_F(GraphDrawTest, FirstTimeTickIsTheNextRoundInstantWithinTheFirst12Percent)
{
    // 56 minutes over 280 pixels (5 pixels a minute); the round hour counts when it is
    // not later than measurement 7 (12 % of 56 steps after the first).
    struct Case {
        int minute; // of the stamp; measurement 1 is one minute later
        int x;
        const char* label;
    };
    const Case cases[] = {
        {20, 60, "12/03-14:21"}, // 15:00 is past 14:27: the first measurement itself
        {55, 80, "12/03-15:00"}, // 15:00 is before 15:02: four minutes in
        {50, 60, "12/03-14:51"}, // 15:00 is past 14:57
    };
    for (const Case& c : cases) {
        auto rec = fixture_.load(oneInput().start(1, 3, 12, 14, c.minute, 0));
        ASSERT_TRUE(rec);
        RecordingDevice dev(QSize(400, 300));
        {
            QPainter p(&dev);
            drawGraph(p, screenTarget(QSize(400, 300)), *rec);
        }
        const DrawnText* label = dev.find(QString::fromLatin1(c.label));
        ASSERT_TRUE(label) << c.label;
        const QFontMetrics fm(graphFont(8, false), &dev);
        EXPECT_EQ(label->baseline.x(), int(c.x - fm.horizontalAdvance(label->text) / 2.0)) << c.label;
        bool tick = false;
        for (const DrawnLine& l : dev.engine().lines)
            tick = tick || (l.line == QLine(c.x, 256, c.x, 263) && l.colour == kBlue);
        EXPECT_TRUE(tick) << c.label;
    }
}

TEST_F(GraphDrawTest, InputNumbersStandInIncreasingOrderBeforeTheSerialNumber)
{
    auto rec = fixture_.load(threeInputs());
    ASSERT_TRUE(rec);
    RecordingDevice dev(QSize(400, 300));
    {
        QPainter p(&dev);
        drawGraph(p, screenTarget(QSize(400, 300)), *rec);
    }
    const DrawnText* one = dev.find(QStringLiteral("1"));
    const DrawnText* three = dev.find(QStringLiteral("3"));
    const DrawnText* six = dev.find(QStringLiteral("6"));
    const DrawnText* serial = dev.find(QStringLiteral("S/N : 4711"));
    ASSERT_TRUE(one && three && six && serial);
    const int w = QFontMetrics(graphFont(10, true), &dev).horizontalAdvance(QStringLiteral("W"));
    EXPECT_EQ(six->baseline.x(), serial->baseline.x() - 4 * w);
    EXPECT_EQ(three->baseline.x(), six->baseline.x() - 2 * w);
    EXPECT_EQ(one->baseline.x(), three->baseline.x() - 2 * w);
    EXPECT_EQ(three->colour, kMagenta);
    // The right axis shows input 3's unit, one "W" right of the frame.
    const DrawnText* unit = dev.find(QStringLiteral("%rH"));
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->baseline.x(), 340 + w);
}

TEST_F(GraphDrawTest, LabelTestOfTheZoom)
{
    auto rec = fixture_.load(oneInput());
    ASSERT_TRUE(rec);
    const GraphLayout layout = computeLayout(screenTarget(QSize(400, 300)), *rec);
    EXPECT_TRUE(axisTickInside(layout, *rec, AxisSide::Left));
    EXPECT_TRUE(axisTickInside(layout, *rec, AxisSide::Right)); // no right axis
    // An axis without physical range has no tick at all.
    rec->currentView().top[0] = rec->currentView().bottom[0];
    EXPECT_FALSE(axisTickInside(layout, *rec, AxisSide::Left));
}

TEST_F(GraphDrawTest, LabelsHiddenLeaveOutValueAxisButKeepTheirFlags)
{
    auto rec = fixture_.load(oneInput());
    ASSERT_TRUE(rec);
    RecordingDevice dev(QSize(400, 300));
    DrawResult r;
    {
        QPainter p(&dev);
        DrawOptions o;
        o.labelsShown = false;
        r = drawGraph(p, screenTarget(QSize(400, 300)), *rec, o);
    }
    EXPECT_TRUE(r.leftTickInside);
    EXPECT_FALSE(dev.find(QStringLiteral("15.7")));
    EXPECT_FALSE(dev.find(QStringLiteral("degC")));
    EXPECT_TRUE(dev.find(QStringLiteral("12/03-14:21")));
}

TEST_F(GraphDrawTest, ZeroIntervalOrTinyCanvasDrawsWithoutHanging)
{
    auto rec = fixture_.load(oneInput().interval(1, 0)); // every measurement at the same instant
    ASSERT_TRUE(rec);
    const QImage img = graphBitmap(*rec, QSize(400, 300));
    EXPECT_GT(countColour(img, kRed, img.rect()), 0);
    for (const QSize size : {QSize(1, 1), QSize(100, 40), QSize(130, 80)}) {
        const QImage small = graphBitmap(*rec, size);
        EXPECT_EQ(small.size(), size);
    }
}

TEST_F(GraphDrawTest, UnusualScalesDrawWithoutFault)
{
    struct Case {
        const char* what;
        InputSetup input;
    };
    const Case cases[] = {
        {"huge span", graphInput("x", -1e30, 1e30)},
        {"no span (gain 0): no value ticks", graphInput("x", 5, 5)},
        {"no calibration span", graphInput("x", 0, 100, 1000, 1000)},
        {"falling scale", graphInput("x", 100, -100)},
    };
    for (const Case& c : cases) {
        auto rec = fixture_.load(oneInput().input(0, c.input));
        ASSERT_TRUE(rec) << c.what;
        RecordingDevice dev(QSize(400, 300));
        {
            QPainter p(&dev);
            drawGraph(p, screenTarget(QSize(400, 300)), *rec);
        }
        EXPECT_TRUE(dev.find(QStringLiteral("S/N : 4711"))) << c.what;
        EXPECT_EQ(graphBitmap(*rec, QSize(400, 300)).size(), QSize(400, 300)) << c.what;
    }
}

TEST_F(GraphDrawTest, DrawingAndPrintingLeaveTheRecordingAsItWas)
{
    // Inputs 1, 3 and 6 lie at bytes 0, 1 and 2 of a measurement: a drawing that left an
    // input or byte selected behind would shift what is read next.
    auto rec = fixture_.load(threeInputs());
    ASSERT_TRUE(rec);
    const GraphView& shown = *rec;
    const QByteArray image = shown.data().imageBytes();
    const QStringList info = informationLines(shown.data(), shown.range());
    const QImage first = graphBitmap(shown, QSize(400, 300));
    RecordingDevice page(QSize(800, 600));
    {
        QPainter p(&page);
        printTo(p, QSize(800, 600), false, shown);
    }
    EXPECT_EQ(shown.data().imageBytes(), image);
    EXPECT_EQ(informationLines(shown.data(), shown.range()), info);
    EXPECT_EQ(graphBitmap(shown, QSize(400, 300)), first);
    for (int k : {1, 40, 41, 81})
        EXPECT_EQ(shown.data().sample(2, k), 200 - k) << k;
}

TEST_F(GraphDrawTest, ARecordingWhoseBlocksSayMoreThanTheyHoldDraws)
{
    auto broken = fixture_.load(oneInput()
                                    .set16(mem::kBlocksUsed, 0xFFFF) // far beyond the memory
                                    .set16(mem::kFirstBlock, 0x00F0)); // beyond it too
    ASSERT_TRUE(broken);
    const QImage img = graphBitmap(*broken, QSize(200, 150));
    EXPECT_EQ(img.size(), QSize(200, 150));
    EXPECT_GT(countColour(img, kBlue, img.rect()), 0); // the frame
}

TEST_F(GraphDrawTest, CanvasIsWhiteAtScreenResolution)
{
    QImage canvas;
    const GraphTarget t = prepareCanvas(canvas, QSize(320, 200), true);
    EXPECT_EQ(t.size, QSize(320, 200));
    EXPECT_FALSE(t.printer);
    EXPECT_EQ(canvas.size(), QSize(320, 200));
    EXPECT_EQ(canvas.logicalDpiX(), 96);
    EXPECT_EQ(canvas.pixelColor(10, 10), Qt::white);
    canvas.fill(Qt::black);
    prepareCanvas(canvas, QSize(320, 200), false); // no blanking: the picture stays
    EXPECT_EQ(canvas.pixelColor(10, 10), Qt::black);
}

TEST(GraphFonts, ProgramFontNamesFindAFont)
{
    setUpFontSubstitutions();
    setUpFontSubstitutions();
    // Set up twice: the stand-ins are not listed twice.
    const QStringList subs = QFont::substitutes(QStringLiteral("Courier New"));
    EXPECT_EQ(subs.filter(QStringLiteral("Liberation Mono"), Qt::CaseInsensitive).size(), 1);
    const QFontInfo info(graphFont(10, true));
    EXPECT_TRUE(info.fixedPitch()) << info.family().toStdString();
    EXPECT_TRUE(info.bold());
}

} // namespace
} // namespace qz::test
