// Several recordings in one graph view: the time axis of all of them, aligned at their
// starts or on the loggers' clocks, their colours and names, the zoom by time, and the
// texts and exports of what is shown.
#include "graph/graph_draw.h"
#include "graph/graph_fonts.h"
#include "graph/view_texts.h"
#include "graph/zoom.h"
#include "graph_fixture.h"
#include "platform/progress.h"
#include "recording/union_export.h"

#include <QBuffer>
#include <QPainter>

#include <gtest/gtest.h>

namespace qz::test {
namespace {

// A: one measurement a minute from 12/03/01 14:21 to 15:17 (57). B: one every two
// minutes from 14:52 to 16:10 (40), raw 200 - k, in another unit.
ImageBuilder recordingA()
{
    return oneInput().recordName(QStringLiteral("Run A"));
}
ImageBuilder recordingB()
{
    return graphRecording()
        .recordName(QStringLiteral("Run B"))
        .interval(1, 120)
        .start(1, 3, 12, 14, 50, 0)
        .input(0, graphInput("degC"))
        .input(1, graphInput("bar", 0, 10))
        .measurements(40, [](int k, int) { return std::uint8_t(200 - k); });
}

double at(int h, int m)
{
    return (QDate(1899, 12, 30).daysTo(QDate(2001, 3, 12))) * 86400.0 + h * 3600 + m * 60;
}

class SeveralRecordingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUpFontSubstitutions();
        a_ = fixture_.writeFile(QStringLiteral("run-a.qrv"), recordingA().file());
        b_ = fixture_.writeFile(QStringLiteral("run-b.qrv"), recordingB().file());
    }
    std::shared_ptr<const RecordingData> open(const QString& name) const
    {
        return RecordingData::fromFile(name, fixture_.programFolder()).data;
    }
    std::unique_ptr<GraphView> both() const
    {
        auto view = std::make_unique<GraphView>(open(a_));
        EXPECT_TRUE(view->addRecording(open(b_)));
        return view;
    }
    GraphFixture fixture_;
    QString a_;
    QString b_;
};

TEST_F(SeveralRecordingsTest, TheWholeViewSpansAllOfThemOnTheLoggersClocks)
{
    auto view = both();
    EXPECT_EQ(view->recordingCount(), 2);
    EXPECT_EQ(view->currentLevel(), 0);
    EXPECT_EQ(view->extent(), (TimeWindow{at(14, 21), at(16, 10)}));
    EXPECT_EQ(view->record(0, 0).first, 1);
    EXPECT_EQ(view->record(0, 0).last, 57);
    EXPECT_EQ(view->record(0, 1).first, 1);
    EXPECT_EQ(view->record(0, 1).last, 40);
    // B's second input is drawn too, against its own unit.
    EXPECT_TRUE(view->isDrawn(1, 1));
    EXPECT_FALSE(view->isDrawn(0, 1));
    ASSERT_EQ(view->valueAxes().size(), 2u);
    EXPECT_EQ(view->valueAxes()[0].curves, (std::vector<CurveRef>{{0, 0}, {1, 0}}));
    EXPECT_EQ(view->label(0), "run-a");
    EXPECT_EQ(view->label(1), "run-b");
}

TEST_F(SeveralRecordingsTest, AlignedAtTheirStartsEachBeginsWithTheFirst)
{
    auto view = both();
    DisplaySettings s = view->settings();
    s.alignStarts = true;
    view->applyGraphicConfig(view->colours(), s);
    EXPECT_DOUBLE_EQ(view->shift(1), at(14, 21) - at(14, 52));
    EXPECT_DOUBLE_EQ(view->viewTime(1, 1), at(14, 21));
    EXPECT_EQ(view->extent(), (TimeWindow{at(14, 21), at(15, 39)}));
    EXPECT_EQ(view->currentLevel(), 0);
}

TEST_F(SeveralRecordingsTest, EveryCurveHasAColourOfItsOwn)
{
    auto view = both();
    const std::vector<CurveRef> curves = view->curves();
    ASSERT_EQ(curves.size(), 3u);
    EXPECT_EQ(view->curveColour(curves[0]), view->colours()[1]); // the primary keeps its table
    for (std::size_t m = 0; m < curves.size(); ++m)
        for (std::size_t n = m + 1; n < curves.size(); ++n)
            EXPECT_NE(view->curveColour(curves[m]), view->curveColour(curves[n]));
}

TEST_F(SeveralRecordingsTest, AViewHoldsEightRecordingsAtMost)
{
    auto view = std::make_unique<GraphView>(open(a_));
    for (int n = 1; n < kMaxRecordings; ++n)
        ASSERT_TRUE(view->addRecording(open(b_))) << n;
    EXPECT_FALSE(view->addRecording(open(b_)));
    EXPECT_EQ(view->recordingCount(), kMaxRecordings);
}

TEST_F(SeveralRecordingsTest, ARectangleZoomsByTimeAndEachRecordingShowsWhatLiesThere)
{
    for (bool own : {false, true}) {
        auto view = both();
        DisplaySettings s = view->settings();
        s.ownScales = own;
        view->setDisplaySettings(s);
        GraphLayout l; // 109 minutes over 218 pixels: two pixels a minute
        l.left = 60;
        l.right = 278;
        l.top = 26;
        l.bottom = 256;
        const ZoomResult r = zoomIn(*view, l, {60 + 2 * 39, 40}, {60 + 2 * 79, 240}); // 15:00 to 15:40
        EXPECT_EQ(r.outcome, ZoomOutcome::Zoomed) << own;
        EXPECT_EQ(view->currentLevel(), 1);
        EXPECT_EQ(view->currentWindow(), (TimeWindow{at(15, 0), at(15, 40)}));
        EXPECT_EQ(view->record(1, 0).first, 40); // A: 15:00 to its last, 15:17
        EXPECT_EQ(view->record(1, 0).last, 57);
        EXPECT_EQ(view->record(1, 1).first, 5); // B: 15:00 ...
        EXPECT_EQ(view->record(1, 1).last, 25); // ... to 15:40
        // A window of B alone still draws.
        const QImage img = graphBitmap(*view, QSize(400, 300));
        EXPECT_EQ(img.size(), QSize(400, 300));
    }
}

TEST_F(SeveralRecordingsTest, TextsAndExportsDescribeEachRecordingShown)
{
    auto view = both();
    const QStringList info = informationLines(*view);
    EXPECT_EQ(info.filter(QStringLiteral("Record Name")).size(), 2);
    const std::vector<ExportPart> parts = exportParts(*view);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[1].label, "run-b");
    EXPECT_EQ(parts[1].range.count(), 40);
}

TEST(UnionExport, OneTimeColumnOfAllInstantsWithEmptyCellsWhereNoneWasMeasured)
{
    GraphFixture fixture;
    // A at 14:21, 14:22, 14:23; B at 14:22 and 14:24 (two-minute steps from 14:20). A's
    // last value lies between the display's steps: written as the conversion gives it.
    const auto a = RecordingData::fromImage(
        graphRecording()
            .input(0, graphInput("degC"))
            .measurements(3, [](int k, int) { return std::uint8_t(k < 3 ? 51 * k : 152); })
            .build(),
        0, fixture.programFolder());
    const auto b = RecordingData::fromImage(
        graphRecording()
            .interval(1, 120)
            .input(0, {QStringLiteral("Flow"), QStringLiteral("l/h"), 0, 200, 0, 200 * 256})
            .measurements(2, [](int k, int) { return std::uint8_t(10 * k); })
            .build(),
        0, fixture.programFolder());
    ASSERT_TRUE(a.ok() && b.ok());
    const std::vector<ExportPart> parts{{a.data.get(), wholeRecording(*a.data), 0, QStringLiteral("A")},
                                        {b.data.get(), wholeRecording(*b.data), 0, QStringLiteral("B")}};
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    NullProgress progress;
    ASSERT_EQ(exportPartsTo(out, parts, ExportKind::Csv, progress).result, ExportResult::Done);
    EXPECT_EQ(bytes.toStdString(),
              std::string("time,A: Input 1 (degC),B: Flow (l/h)\r\n"
                          "2001-03-12T14:21:00,20,\r\n"
                          "2001-03-12T14:22:00,40,10\r\n"
                          "2001-03-12T14:23:00,59.607843137255,\r\n"
                          "2001-03-12T14:24:00,,20\r\n"));

    // One recording alone is written as its own export writes it, in either kind.
    for (ExportKind kind : {ExportKind::Csv, ExportKind::Text}) {
        QByteArray alone;
        QBuffer aloneOut(&alone);
        aloneOut.open(QIODevice::WriteOnly);
        ASSERT_EQ(
            exportPartsTo(aloneOut, {{a.data.get(), wholeRecording(*a.data), 0, QString()}}, kind, progress)
                .result,
            ExportResult::Done);
        QByteArray own;
        QBuffer ownOut(&own);
        ownOut.open(QIODevice::WriteOnly);
        ASSERT_EQ(exportTo(ownOut, *a.data, wholeRecording(*a.data), kind, progress).result,
                  ExportResult::Done);
        EXPECT_EQ(alone.toStdString(), own.toStdString()) << int(kind);
    }
}

} // namespace
} // namespace qz::test
