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
    EXPECT_TRUE(load(twoMeasurements().build())->isInitialized());

    auto r = make();
    r->setImage(twoMeasurements().measurements(1, [](int, int) -> std::uint8_t { return 9; }).build());
    EXPECT_FALSE(r->initialize());
    EXPECT_FALSE(r->isInitialized());
    EXPECT_EQ(r->measurementCount(), 1);
    EXPECT_EQ(r->view(0).last, 0); // nothing derived
}

TEST_F(RecordingInit, RefusesModelOutsideCatalogue)
{
    const struct {
        std::uint16_t code;
        bool accepted;
    } cases[] = {
        {kCodeSmall, true},
        {kCodeLarge, true},
        {kCodeRefused, false},
        {0x40, false},
    };
    for (const auto& c : cases) {
        auto r = make();
        r->setImage(coldStore().deviceCode(c.code).build());
        EXPECT_EQ(r->initialize(), c.accepted) << c.code;
    }
}

TEST_F(RecordingInit, DerivesPerInputValues)
{
    auto r = load(coldStore().build());
    const struct {
        int input;
        bool enabled;
        int position;
        double gain;
        double offset;
        const char* format;
    } cases[] = {
        {0, true, 0, 0.5, -28.0, "0.0"},   {1, true, 1, 0.4, 0.0, "0.0"}, {2, false, 2, 0, 0, "0"},
        {4, true, 2, -0.05, 10.0, "0.00"}, {7, false, 3, 0, 0, "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r->isEnabled(c.input), c.enabled) << c.input;
        EXPECT_EQ(r->recordPosition(c.input), c.position) << c.input;
        EXPECT_NEAR(static_cast<double>(r->gain(c.input)), c.gain, 1e-12) << c.input;
        EXPECT_NEAR(static_cast<double>(r->offset(c.input)), c.offset, 1e-12) << c.input;
        EXPECT_EQ(r->valueFormat(c.input).toStdString(), c.format) << c.input;
    }
    EXPECT_EQ(r->measurementCount(), 100);
    EXPECT_EQ(r->currentLevel(), 0);
    EXPECT_EQ(r->view(0).first, 1);
    EXPECT_EQ(r->view(0).last, 100);
    EXPECT_EQ(r->settings(), initDisplaySettings(0x13));
    EXPECT_EQ(r->colours(), defaultColours());
}

TEST_F(RecordingInit, SamplesFollowTheRingAndTheRecordLayout)
{
    auto r = load(wrappedRing().build());
    ASSERT_EQ(r->measurementCount(), 900);
    // 15 records per block: measurement 31 is the first of logical block 2, physical 0.
    for (int input : {0, 3, 7}) {
        for (int k : {1, 15, 16, 30, 31, 50, 900})
            EXPECT_EQ(r->sample(input, k), (k + 10 * input) & 0xFF) << input << " " << k;
    }
}

TEST_F(RecordingInit, ExtremesSumsAndAveragesOfWholeRecording)
{
    auto r = load(coldStore().build());
    const ViewRecord& v = r->view(0);
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
    EXPECT_EQ(r->rawSum(1), sum);
    // Input 5 has a falling scale: raw max is the raw value of the physically highest
    // point, the lowest raw value 20.
    EXPECT_EQ(v.rawMax[4], 20);
    EXPECT_EQ(v.rawMin[4], 69);
}

TEST_F(RecordingInit, AutomaticRangeAddsMarginAtLevelZero)
{
    auto r = load(coldStore().build());
    const ViewRecord& v = r->view(0);
    EXPECT_EQ(v.bottom[0], 100 - 12);
    EXPECT_EQ(v.top[0], 119 + 12);
    // Falling scale: the physically higher end (raw 20) is on top, widened by the margin.
    EXPECT_EQ(v.top[4], 20 - 12);
    EXPECT_EQ(v.bottom[4], 69 + 12);
    EXPECT_GT(r->physicalValue(4, v.top[4]), r->physicalValue(4, v.bottom[4]));
}

TEST_F(RecordingInit, FlatInputSpansTwiceTheMarginThenFallsBackWhenZoomed)
{
    auto r = load(twoMeasurements().measurements(30, [](int, int) -> std::uint8_t { return 77; }).build());
    EXPECT_EQ(r->view(0).bottom[0], 65);
    EXPECT_EQ(r->view(0).top[0], 89);

    ViewRecord& zoom = r->view(1);
    zoom.first = 10;
    zoom.last = 12;
    r->setCurrentLevel(1);
    r->searchMaxMin(zoom);
    r->updateScalingMode(zoom);
    EXPECT_EQ(zoom.rawMin[0], 77);
    EXPECT_EQ(zoom.rawMax[0], 77);
    EXPECT_EQ(zoom.bottom[0], 65);
    EXPECT_EQ(zoom.top[0], 89);
}

TEST_F(RecordingInit, ZoomedViewHasNoMarginAndOwnAverages)
{
    auto r = load(coldStore().build());
    ViewRecord& zoom = r->view(1);
    zoom.first = 21;
    zoom.last = 25; // input 1: 101..105
    r->setCurrentLevel(1);
    r->searchMaxMin(zoom);
    r->updateScalingMode(zoom);
    r->computeAverages(zoom);
    EXPECT_EQ(zoom.bottom[0], 101);
    EXPECT_EQ(zoom.top[0], 105);
    EXPECT_DOUBLE_EQ(zoom.average[0], 103);
    // A single measurement: minimum and maximum are that sample.
    ViewRecord& one = r->view(2);
    one.first = one.last = 7;
    r->searchMaxMin(one);
    EXPECT_EQ(one.rawMin[0], 107);
    EXPECT_EQ(one.rawMax[0], 107);
}

TEST_F(RecordingInit, FixedRangeIsTheCalibratedSpan)
{
    auto r = load(coldStore().build());
    DisplaySettings s = r->settings();
    s.autoScale = false;
    ColourTable colours = r->colours();
    colours[1] = 0x123456;
    r->applyGraphicConfig(colours, s);
    EXPECT_EQ(r->colours()[1], 0x123456u);
    const ViewRecord& v = r->view(0);
    EXPECT_EQ(v.bottom[0], 16);
    EXPECT_EQ(v.top[0], 216);
    const AxisScale a = r->axisScale(0);
    EXPECT_NEAR(static_cast<double>(a.top), 80, 1e-9);
    EXPECT_NEAR(static_cast<double>(a.bottom), -20, 1e-9);
    EXPECT_NEAR(static_cast<double>(a.step), 20, 1e-9); // 12.5 rounded up
    // Falling scale: the higher value 10 bar stays at the top.
    const AxisScale p = r->axisScale(4);
    EXPECT_NEAR(static_cast<double>(p.top), 10, 1e-9);
    EXPECT_NEAR(static_cast<double>(p.bottom), 0, 1e-9);
}

TEST_F(RecordingInit, FixedRangePutsTheHigherScaleValueAtTheTopWhateverTheCalibration)
{
    // Rising and falling scales, each with a rising and a reversed calibration (CalHigh
    // below CalLow): the top of the plot is always the higher scale value, and the axis
    // step points up, so every label is drawn.
    const struct {
        const char* name;
        double low;
        double high;
        std::uint16_t calLow;
        std::uint16_t calHigh;
    } cases[] = {
        {"rising scale, rising calibration", -20, 80, 16 * 256, 216 * 256},
        {"rising scale, reversed calibration", -20, 80, 216 * 256, 16 * 256},
        {"falling scale, rising calibration", 80, -20, 16 * 256, 216 * 256},
        {"falling scale, reversed calibration", 80, -20, 216 * 256, 16 * 256},
    };
    for (const auto& c : cases) {
        ImageBuilder b = coldStore();
        b.input(0, {QStringLiteral("Temp"), QStringLiteral("C"), c.low, c.high, c.calLow, c.calHigh});
        auto r = load(b.build());
        DisplaySettings s = r->settings();
        s.autoScale = false;
        r->applyGraphicConfig(r->colours(), s);
        const AxisScale a = r->axisScale(0);
        EXPECT_NEAR(static_cast<double>(a.top), 80, 1e-9) << c.name;
        EXPECT_NEAR(static_cast<double>(a.bottom), -20, 1e-9) << c.name;
        EXPECT_NEAR(static_cast<double>(a.step), 20, 1e-9) << c.name;
        // The automatic range frames the data the same way up.
        s.autoScale = true;
        r->applyGraphicConfig(r->colours(), s);
        const AxisScale automatic = r->axisScale(0);
        EXPECT_GT(automatic.top, automatic.bottom) << c.name;
        EXPECT_GT(automatic.step, 0) << c.name;
    }
}

TEST_F(RecordingInit, DegenerateScalesStayFiniteAndDrawable)
{
    ImageBuilder b = coldStore();
    b.input(0, {QStringLiteral("Flat"), QStringLiteral("V"), 5, 5, 0, 255 * 256}) // no scale span
        .input(1, {QStringLiteral("NoCal"), QStringLiteral("V"), 0, 100, 300, 300}); // no calibrated span
    auto r = load(b.build());
    EXPECT_EQ(r->valueFormat(0), QStringLiteral("0"));
    EXPECT_EQ(r->normalize(0, r->physicalValue(0, 200)), 5);
    EXPECT_EQ(r->physicalValue(1, 0), 0);
    EXPECT_EQ(r->physicalValue(1, 255), 0);
    for (bool autoScale : {true, false}) {
        DisplaySettings s = r->settings();
        s.autoScale = autoScale;
        r->applyGraphicConfig(r->colours(), s);
        for (int i : {0, 1}) {
            EXPECT_NE(r->view(0).top[i], r->view(0).bottom[i]) << i << autoScale;
            const AxisScale a = r->axisScale(i);
            EXPECT_TRUE(std::isfinite(static_cast<double>(a.step))) << i << autoScale;
        }
    }
}

TEST_F(RecordingInit, ViewOutsideRecordingReadsOnlyExistingMeasurements)
{
    auto r = load(coldStore().build());
    ViewRecord& v = r->view(3);
    v.first = -5;
    v.last = 100000;
    r->searchMaxMin(v);
    EXPECT_EQ(v.rawMin[0], 100);
    EXPECT_EQ(v.rawMax[0], 119);
    r->setCurrentLevel(99);
    EXPECT_EQ(r->currentLevel(), kViewLevels - 1);
}

TEST_F(RecordingInit, InconsistentHeaderStaysInsideImage)
{
    const struct {
        const char* name;
        std::function<void(ImageBuilder&)> change;
    } cases[] = {
        {"input count below the mask", [](ImageBuilder& b) { b.set8(mem::kInputCount, 1); }},
        {"input count 0", [](ImageBuilder& b) { b.set8(mem::kInputCount, 0); }},
        {"blocks used beyond memory", [](ImageBuilder& b) { b.set16(mem::kBlocksUsed, 0xFFFF); }},
        {"first block beyond memory", [](ImageBuilder& b) { b.set16(mem::kFirstBlock, 0x7FFF); }},
        {"sample bytes beyond block",
         [](ImageBuilder& b) { b.set8(mem::blockAddress(0) + mem::kSampleBytes, 0xFF); }},
        {"memory of 60 blocks, ring of all", [](ImageBuilder& b) { b.ring(60, 59); }},
    };
    for (const auto& c : cases) {
        ImageBuilder image = coldStore();
        c.change(image);
        auto r = make();
        r->setImage(image.build());
        if (!r->initialize())
            continue;
        const int count = r->measurementCount();
        EXPECT_LE(count, 60 * 120) << c.name;
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        NullProgress progress;
        EXPECT_EQ(r->exportTo(out, ExportKind::Excel, progress).result, ExportResult::Done) << c.name;
        EXPECT_EQ(out.data().count('\n'), 14 + count) << c.name;
    }
}

TEST_F(RecordingInit, DescriptionAndTitleOfDownloadAndFile)
{
    const double created = toDateTimeNumber(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)));
    const QString when = QStringLiteral("5 Mar 2026 14:07:09");

    auto download = load(coldStore().build());
    download->setCreated(created);
    EXPECT_EQ(download->createdText(), when);
    EXPECT_EQ(download->description(), QStringLiteral("0815") + when);
    const QString name30 = QStringLiteral("   Cold store 3").leftJustified(30);
    download->childTitle(1);
    EXPECT_EQ(download->caption(),
              QStringLiteral("S/N:0815 - ") + name30 + QStringLiteral(" #1   (") + when
                  + QStringLiteral(" )"));
    download->childTitle(2); // title set: unchanged
    EXPECT_TRUE(download->caption().contains(QStringLiteral("#1  ")));
    download->clearTitleSet();
    download->childTitle(12);
    EXPECT_TRUE(download->caption().contains(QStringLiteral(" #12  (")));

    auto file = load(coldStore().build());
    file->setFileName(QStringLiteral("/data/logs/cold.qrv"));
    EXPECT_EQ(file->description(), QStringLiteral("/data/logs/cold.qrv"));
    file->childTitle(2);
    EXPECT_EQ(file->caption(), QStringLiteral("cold.qrv - ") + name30 + QStringLiteral(" #2  "));
}

TEST_F(RecordingInit, TheDownloadMomentCarriesItsSecondsInEveryLocale)
{
    // Two downloads of one logger in one minute are two recordings: their descriptions
    // (which number copies of one recording) and titles differ. The locale's short form
    // stays as it is, with the seconds joined as its hours and minutes are.
    const struct {
        QLocale locale;
        const char* first;
        const char* second;
    } cases[] = {
        {QLocale::c(), "5 Mar 2026 14:07:09", "5 Mar 2026 14:07:41"},
        {QLocale(QLocale::German, QLocale::Germany), "05.03.26 14:07:09", "05.03.26 14:07:41"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "3/5/26 2:07:09 PM", "3/5/26 2:07:41 PM"},
        {QLocale(QLocale::Finnish, QLocale::Finland), "5.3.2026 14.07.09", "5.3.2026 14.07.41"},
    };
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        auto first = load(coldStore().build());
        first->setCreated(toDateTimeNumber(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9))));
        auto second = load(coldStore().build());
        second->setCreated(toDateTimeNumber(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 41))));
        const std::string name = c.locale.name().toStdString();
        EXPECT_EQ(first->createdText(), QString::fromUtf8(c.first)) << name;
        EXPECT_EQ(second->createdText(), QString::fromUtf8(c.second)) << name;
        EXPECT_NE(first->description(), second->description()) << name;
        first->childTitle(1);
        second->childTitle(1);
        EXPECT_NE(first->caption(), second->caption()) << name;
        EXPECT_TRUE(first->caption().endsWith(QStringLiteral(" #1   (") + QString::fromUtf8(c.first)
                                              + QStringLiteral(" )")))
            << first->caption().toStdString();
    }
}

TEST_F(RecordingInit, DuplicateIsSavedAndKeepsNoFileName)
{
    auto download = load(coldStore().build());
    download->setCreated(40000.5);
    EXPECT_FALSE(download->isSaved());
    auto copy = make();
    copy->copyFrom(*download);
    ASSERT_TRUE(copy->initialize());
    EXPECT_TRUE(copy->isSaved());
    EXPECT_TRUE(copy->fileName().isEmpty());
    EXPECT_EQ(copy->created(), 40000.5);
    EXPECT_EQ(copy->imageBytes(), download->imageBytes());
    EXPECT_EQ(copy->description(), download->description());
}

TEST_F(RecordingInit, ARecordingOfTheSimulatedLoggerSaysSo)
{
    // The simulated logger's serial numbers begin with "SIM"; the mark is in the image, so
    // a file says it as well as a download.
    struct Case {
        const char* serial;
        QString mark;
    } cases[] = {
        {"SIM1", QStringLiteral(" (Simulated logger)")},
        {"0815", QString()},
        {"SIX1", QString()},
    };
    const QString name30 = QStringLiteral("   Cold store 3").leftJustified(30);
    for (const auto& c : cases) {
        auto download = load(coldStore().serial(c.serial).build());
        download->childTitle(1);
        EXPECT_TRUE(
            download->caption().startsWith(QStringLiteral("S/N:") + c.serial + c.mark + " - " + name30))
            << download->caption().toStdString();
        EXPECT_EQ(download->infoLines(download->view(0)).value(1),
                  QStringLiteral("Serial Number      : ") + c.serial + c.mark);

        auto file = load(coldStore().serial(c.serial).build());
        file->setFileName(QStringLiteral("/data/logs/cold.qrv"));
        file->childTitle(1);
        EXPECT_EQ(file->caption(), QStringLiteral("cold.qrv") + c.mark + " - " + name30 + " #1  ");
    }
}

} // namespace
} // namespace qz::test
