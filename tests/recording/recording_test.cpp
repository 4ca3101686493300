// Initialization of a recording, its derived values, value search, plotted ranges,
// titles and duplicates.
#include "recording_fixture.h"

#include "model/datetime_number.h"
#include "model/memory_image.h"
#include "platform/progress.h"

#include <QBuffer>
#include <functional>

namespace qz::test {
namespace {

using RecordingInit = RecordingTest;

TEST_F(RecordingInit, AcceptsTwoMeasurementsRefusesOne)
{
    EXPECT_TRUE(Load(TwoMeasurements().build())->IsInitialized());

    auto r = Make();
    r->SetImage(TwoMeasurements().measurements(1, [](int, int) -> std::uint8_t { return 9; }).build());
    EXPECT_FALSE(r->Initialize());
    EXPECT_FALSE(r->IsInitialized());
    EXPECT_EQ(r->MeasurementCount(), 1);
    EXPECT_EQ(r->View(0).last, 0); // nothing derived
}

TEST_F(RecordingInit, RefusesModelOutsideCatalogue)
{
    const struct { std::uint16_t code; bool accepted; } cases[] = {
        {kCodeSmall, true}, {kCodeLarge, true}, {kCodeRefused, false}, {0x40, false},
    };
    for (const auto& c : cases) {
        auto r = Make();
        r->SetImage(ColdStore().deviceCode(c.code).build());
        EXPECT_EQ(r->Initialize(), c.accepted) << c.code;
    }
}

TEST_F(RecordingInit, DerivesPerInputValues)
{
    auto r = Load(ColdStore().build());
    const struct { int input; bool enabled; int position; double gain; double offset; const char* format; } cases[] = {
        {0, true, 0, 0.5, -28.0, "0.0"},
        {1, true, 1, 0.4, 0.0, "0.0"},
        {2, false, 2, 0, 0, "0"},
        {4, true, 2, -0.05, 10.0, "0.00"},
        {7, false, 3, 0, 0, "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r->IsEnabled(c.input), c.enabled) << c.input;
        EXPECT_EQ(r->RecordPosition(c.input), c.position) << c.input;
        EXPECT_NEAR(static_cast<double>(r->Gain(c.input)), c.gain, 1e-12) << c.input;
        EXPECT_NEAR(static_cast<double>(r->Offset(c.input)), c.offset, 1e-12) << c.input;
        EXPECT_EQ(r->ValueFormat(c.input).toStdString(), c.format) << c.input;
    }
    EXPECT_EQ(r->MeasurementCount(), 100);
    EXPECT_EQ(r->CurrentLevel(), 0);
    EXPECT_EQ(r->View(0).first, 1);
    EXPECT_EQ(r->View(0).last, 100);
    EXPECT_EQ(r->Settings(), InitDisplaySettings(0x13));
    EXPECT_EQ(r->Colours(), DefaultColours());
}

TEST_F(RecordingInit, SamplesFollowTheRingAndTheRecordLayout)
{
    auto r = Load(WrappedRing().build());
    ASSERT_EQ(r->MeasurementCount(), 900);
    // 15 records per block: measurement 31 is the first of logical block 2, physical 0.
    for (int input : {0, 3, 7}) {
        for (int k : {1, 15, 16, 30, 31, 50, 900})
            EXPECT_EQ(r->Sample(input, k), (k + 10 * input) & 0xFF) << input << " " << k;
    }
}

TEST_F(RecordingInit, ExtremesSumsAndAveragesOfWholeRecording)
{
    auto r = Load(ColdStore().build());
    const ViewRecord& v = r->View(0);
    // Input 1: 100 + k % 20 -> 100..119.
    EXPECT_EQ(v.rawMin[0], 100);
    EXPECT_EQ(v.rawMax[0], 119);
    EXPECT_DOUBLE_EQ(v.average[0], 109.5);
    // Input 2: 50 + k / 2 -> 50..100.
    EXPECT_EQ(v.rawMin[1], 50);
    EXPECT_EQ(v.rawMax[1], 100);
    long double sum = 0;
    for (int k = 1; k <= 100; ++k)
        sum += 50 + k / 2;
    EXPECT_EQ(r->RawSum(1), sum);
    // Input 5 has a falling scale: raw max is the raw value of the physically highest
    // point, the lowest raw value 20.
    EXPECT_EQ(v.rawMax[4], 20);
    EXPECT_EQ(v.rawMin[4], 69);
}

TEST_F(RecordingInit, AutomaticRangeAddsMarginAtLevelZero)
{
    auto r = Load(ColdStore().build());
    const ViewRecord& v = r->View(0);
    EXPECT_EQ(v.bottom[0], 100 - 12);
    EXPECT_EQ(v.top[0], 119 + 12);
    // Falling scale: the physically higher end (raw 20) is on top, widened by the margin.
    EXPECT_EQ(v.top[4], 20 - 12);
    EXPECT_EQ(v.bottom[4], 69 + 12);
    EXPECT_GT(r->PhysicalValue(4, v.top[4]), r->PhysicalValue(4, v.bottom[4]));
}

TEST_F(RecordingInit, FlatInputSpansTwiceTheMarginThenFallsBackWhenZoomed)
{
    auto r = Load(TwoMeasurements().measurements(30, [](int, int) -> std::uint8_t { return 77; }).build());
    EXPECT_EQ(r->View(0).bottom[0], 65);
    EXPECT_EQ(r->View(0).top[0], 89);

    ViewRecord& zoom = r->View(1);
    zoom.first = 10;
    zoom.last = 12;
    r->SetCurrentLevel(1);
    r->SearchMaxMin(zoom);
    r->UpdateScalingMode(zoom);
    EXPECT_EQ(zoom.rawMin[0], 77);
    EXPECT_EQ(zoom.rawMax[0], 77);
    EXPECT_EQ(zoom.bottom[0], 65);
    EXPECT_EQ(zoom.top[0], 89);
}

TEST_F(RecordingInit, ZoomedViewHasNoMarginAndOwnAverages)
{
    auto r = Load(ColdStore().build());
    ViewRecord& zoom = r->View(1);
    zoom.first = 21;
    zoom.last = 25; // input 1: 101..105
    r->SetCurrentLevel(1);
    r->SearchMaxMin(zoom);
    r->UpdateScalingMode(zoom);
    r->ComputeAverages(zoom);
    EXPECT_EQ(zoom.bottom[0], 101);
    EXPECT_EQ(zoom.top[0], 105);
    EXPECT_DOUBLE_EQ(zoom.average[0], 103);
    // A single measurement: minimum and maximum are that sample.
    ViewRecord& one = r->View(2);
    one.first = one.last = 7;
    r->SearchMaxMin(one);
    EXPECT_EQ(one.rawMin[0], 107);
    EXPECT_EQ(one.rawMax[0], 107);
}

TEST_F(RecordingInit, FixedRangeIsTheCalibratedSpan)
{
    auto r = Load(ColdStore().build());
    DisplaySettings s = r->Settings();
    s.autoScale = false;
    ColourTable colours = r->Colours();
    colours[1] = 0x123456;
    r->ApplyGraphicConfig(colours, s);
    EXPECT_EQ(r->Colours()[1], 0x123456u);
    const ViewRecord& v = r->View(0);
    EXPECT_EQ(v.bottom[0], 16);
    EXPECT_EQ(v.top[0], 216);
    const AxisScale a = r->ComputeAxisScale(0);
    EXPECT_NEAR(static_cast<double>(a.top), 80, 1e-9);
    EXPECT_NEAR(static_cast<double>(a.bottom), -20, 1e-9);
    EXPECT_NEAR(static_cast<double>(a.step), 20, 1e-9); // 12.5 rounded up
    // Falling scale: the higher value 10 bar stays at the top.
    const AxisScale p = r->ComputeAxisScale(4);
    EXPECT_NEAR(static_cast<double>(p.top), 10, 1e-9);
    EXPECT_NEAR(static_cast<double>(p.bottom), 0, 1e-9);
}

TEST_F(RecordingInit, DegenerateScalesStayFiniteAndDrawable)
{
    ImageBuilder b = ColdStore();
    b.input(0, {QStringLiteral("Flat"), QStringLiteral("V"), 5, 5, 0, 255 * 256})      // no scale span
        .input(1, {QStringLiteral("NoCal"), QStringLiteral("V"), 0, 100, 300, 300});  // no calibrated span
    auto r = Load(b.build());
    EXPECT_EQ(r->ValueFormat(0), QStringLiteral("0"));
    EXPECT_EQ(r->Normalize(0, r->PhysicalValue(0, 200)), 5);
    EXPECT_EQ(r->PhysicalValue(1, 0), 0);
    EXPECT_EQ(r->PhysicalValue(1, 255), 0);
    for (bool autoScale : {true, false}) {
        DisplaySettings s = r->Settings();
        s.autoScale = autoScale;
        r->ApplyGraphicConfig(r->Colours(), s);
        for (int i : {0, 1}) {
            EXPECT_NE(r->View(0).top[i], r->View(0).bottom[i]) << i << autoScale;
            const AxisScale a = r->ComputeAxisScale(i);
            EXPECT_TRUE(std::isfinite(static_cast<double>(a.step))) << i << autoScale;
        }
    }
}

TEST_F(RecordingInit, ViewOutsideRecordingReadsOnlyExistingMeasurements)
{
    auto r = Load(ColdStore().build());
    ViewRecord& v = r->View(3);
    v.first = -5;
    v.last = 100000;
    r->SearchMaxMin(v);
    EXPECT_EQ(v.rawMin[0], 100);
    EXPECT_EQ(v.rawMax[0], 119);
    r->SetCurrentLevel(99);
    EXPECT_EQ(r->CurrentLevel(), kViewLevels - 1);
}


TEST_F(RecordingInit, InconsistentHeaderStaysInsideImage)
{
    const struct { const char* name; std::function<void(QByteArray&)> change; } cases[] = {
        {"input count below the mask", [](QByteArray& a) { a[int(mem::kInputCount)] = 1; }},
        {"input count 0", [](QByteArray& a) { a[int(mem::kInputCount)] = 0; }},
        {"blocks used beyond memory", [](QByteArray& a) { a[int(mem::kBlocksUsed)] = char(0xFF); a[int(mem::kBlocksUsed + 1)] = char(0xFF); }},
        {"first block beyond memory", [](QByteArray& a) { a[int(mem::kFirstBlock)] = char(0xFF); a[int(mem::kFirstBlock + 1)] = 0x7F; }},
        {"sample bytes beyond block", [](QByteArray& a) { a[int(mem::BlockAddress(0))] = char(0xFF); }},
        {"memory of 60 blocks, ring of all", [](QByteArray& a) { a[int(mem::kBlocksUsed)] = 60; a[int(mem::kFirstBlock)] = 59; }},
    };
    for (const auto& c : cases) {
        QByteArray image = ColdStore().build();
        c.change(image);
        auto r = Make();
        r->SetImage(image);
        if (!r->Initialize())
            continue;
        const int count = r->MeasurementCount();
        EXPECT_LE(count, 60 * 120) << c.name;
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        NullProgress progress;
        EXPECT_EQ(r->ExportTo(out, ExportKind::Excel, progress), ExportResult::Done) << c.name;
        EXPECT_EQ(out.data().count('\n'), 14 + count) << c.name;
    }
}

TEST_F(RecordingInit, DescriptionAndTitleOfDownloadAndFile)
{
    const double created = ToDateTimeNumber(QDateTime(QDate(2026, 3, 5), QTime(14, 7)));
    const QString when = QLocale().toString(FromDateTimeNumber(created), QLocale::ShortFormat);

    auto download = Load(ColdStore().build());
    download->SetCreated(created);
    EXPECT_EQ(download->Description(), QStringLiteral("0815") + when);
    const QString name30 = QStringLiteral("   Cold store 3").leftJustified(30);
    download->ChildTitle(1);
    EXPECT_EQ(download->Caption(),
              QStringLiteral("S/N:0815 - ") + name30 + QStringLiteral(" #1   (") + when + QStringLiteral(" )"));
    download->ChildTitle(2); // title set: unchanged
    EXPECT_TRUE(download->Caption().contains(QStringLiteral("#1  ")));
    download->ClearTitleSet();
    download->ChildTitle(12);
    EXPECT_TRUE(download->Caption().contains(QStringLiteral(" #12  (")));

    auto file = Load(ColdStore().build());
    file->SetFileName(QStringLiteral("/data/logs/cold.qrv"));
    EXPECT_EQ(file->Description(), QStringLiteral("/data/logs/cold.qrv"));
    file->ChildTitle(2);
    EXPECT_EQ(file->Caption(), QStringLiteral("cold.qrv - ") + name30 + QStringLiteral(" #2  "));
}

TEST_F(RecordingInit, DuplicateIsSavedAndKeepsNoFileName)
{
    auto download = Load(ColdStore().build());
    download->SetCreated(40000.5);
    EXPECT_FALSE(download->IsSaved());
    auto copy = Make();
    copy->CopyFrom(*download);
    ASSERT_TRUE(copy->Initialize());
    EXPECT_TRUE(copy->IsSaved());
    EXPECT_TRUE(copy->FileName().isEmpty());
    EXPECT_EQ(copy->Created(), 40000.5);
    EXPECT_EQ(copy->ImageBytes(), download->ImageBytes());
    EXPECT_EQ(copy->Description(), download->Description());
}

} // namespace
} // namespace qz::test
