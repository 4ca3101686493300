// A recording made from an image: its refusals, derived values, statistics of a range,
// texts, and the same recording under another name.
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
    EXPECT_EQ(load(twoMeasurements().build())->measurementCount(), 2);

    const RecordingResult one =
        make(twoMeasurements().measurements(1, [](int, int) -> std::uint8_t { return 9; }).build());
    EXPECT_EQ(one, InitError::TooFewMeasurements);
    EXPECT_FALSE(one);
    EXPECT_EQ(one.data, nullptr);
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
        const RecordingResult made = make(coldStore().deviceCode(c.code).build());
        EXPECT_EQ(made.ok(), c.accepted) << c.code;
        EXPECT_EQ(made.data != nullptr, c.accepted) << c.code;
        if (!c.accepted) {
            EXPECT_EQ(made, InitError::NotAccepted) << c.code;
        }
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
        const char* name;
        const char* unit;
    } cases[] = {
        {0, true, 0, 0.5, -28.0, "0.0", "Temp", "\u00B0C"},
        {1, true, 1, 0.4, 0.0, "0.0", "Humidity", "%RH"},
        {2, false, 2, 0, 0, "0", "", ""},
        {4, true, 2, -0.05, 10.0, "0.00", "Pressure", "bar"},
        {7, false, 3, 0, 0, "0", "", ""},
        {8, false, 0, 0, 0, "0", "", ""}, // no such input
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r->isEnabled(c.input), c.enabled) << c.input;
        if (c.input < mem::kInputs) {
            EXPECT_EQ(r->recordPosition(c.input), c.position) << c.input;
        }
        EXPECT_NEAR(static_cast<double>(r->conversion(c.input).gain), c.gain, 1e-12) << c.input;
        EXPECT_NEAR(static_cast<double>(r->conversion(c.input).offset), c.offset, 1e-12) << c.input;
        EXPECT_EQ(r->valueFormat(c.input).toStdString(), c.format) << c.input;
        EXPECT_EQ(r->input(c.input).name.trimmed(), QString::fromUtf8(c.name)) << c.input;
        EXPECT_EQ(r->input(c.input).unit.trimmed(), QString::fromUtf8(c.unit)) << c.input;
    }
    EXPECT_EQ(r->measurementCount(), 100);
    EXPECT_EQ(r->created(), 0);
    EXPECT_TRUE(r->fileName().isEmpty());
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

TEST_F(RecordingInit, SamplesReadInBulkAreTheSamplesReadOneByOne)
{
    // The wrapped ring across its end, records wider than one input, a mask with more
    // inputs than the record holds, a header whose blocks run past the image, and
    // measurements before the first and after the last.
    const struct {
        const char* what;
        ImageBuilder image;
    } cases[] = {
        {"wrapped ring", wrappedRing()},
        {"cold store", coldStore()},
        {"mask beyond the record", coldStore().set8(mem::kInputCount, 2)},
        {"blocks past the image",
         coldStore().set16(mem::kBlocksUsed, 0xFFFF).set16(mem::kFirstBlock, 0x00F0)},
    };
    for (const auto& c : cases) {
        auto r = load(c.image.build());
        ASSERT_TRUE(r) << c.what;
        const int first = -3;
        const int count = r->measurementCount() + 10;
        std::vector<std::uint8_t> bulk(static_cast<std::size_t>(count));
        for (int input = 0; input < mem::kInputs; ++input) {
            r->samples(input, first, count, bulk.data());
            for (int n = 0; n < count; ++n)
                ASSERT_EQ(bulk[std::size_t(n)], r->sample(input, first + n))
                    << c.what << " " << input << " " << first + n;
        }
    }
}

TEST_F(RecordingInit, ExtremesSumsAndAveragesOfARange)
{
    auto r = load(coldStore().build());
    const RangeStatistics v = rangeStatistics(*r, 1, 100);
    // Input 1: 100 + k % 20 -> 100..119.
    EXPECT_EQ(v[0].rawMin, 100);
    EXPECT_EQ(v[0].rawMax, 119);
    EXPECT_DOUBLE_EQ(v[0].average, 109.5);
    // Input 2: 50 + k / 2 -> 50..100.
    EXPECT_EQ(v[1].rawMin, 50);
    EXPECT_EQ(v[1].rawMax, 100);
    long double sum = 0;
    for (int k = 1; k <= 100; ++k)
        sum += 50 + k / 2;
    EXPECT_EQ(v[1].rawSum, sum);
    // Input 5 has a falling scale: raw max is the raw value of the physically highest
    // point, the lowest raw value 20.
    EXPECT_EQ(v[4].rawMax, 20);
    EXPECT_EQ(v[4].rawMin, 69);
    // Inputs not recorded stay empty.
    EXPECT_EQ(v[2].rawMax, 0);
    EXPECT_EQ(v[2].average, 0);

    // Part of it (input 1: 101..105), and a single measurement.
    const RangeStatistics part = rangeStatistics(*r, 21, 25);
    EXPECT_EQ(part[0].rawMin, 101);
    EXPECT_EQ(part[0].rawMax, 105);
    EXPECT_DOUBLE_EQ(part[0].average, 103);
    const RangeStatistics one = rangeStatistics(*r, 7, 7);
    EXPECT_EQ(one[0].rawMin, 107);
    EXPECT_EQ(one[0].rawMax, 107);
}

TEST_F(RecordingInit, DegenerateScalesStayFinite)
{
    ImageBuilder b = coldStore();
    b.input(0, {QStringLiteral("Flat"), QStringLiteral("V"), 5, 5, 0, 255 * 256}) // no scale span
        .input(1, {QStringLiteral("NoCal"), QStringLiteral("V"), 0, 100, 300, 300}); // no calibrated span
    auto r = load(b.build());
    EXPECT_EQ(r->valueFormat(0), QStringLiteral("0"));
    EXPECT_EQ(r->normalize(0, r->physicalValue(0, 200)), 5);
    EXPECT_EQ(r->physicalValue(1, 0), 0);
    EXPECT_EQ(r->physicalValue(1, 255), 0);
}

TEST_F(RecordingInit, ARangeOutsideTheRecordingReadsOnlyExistingMeasurements)
{
    auto r = load(coldStore().build());
    const RangeStatistics v = rangeStatistics(*r, -5, 100000);
    EXPECT_EQ(v[0].rawMin, 100);
    EXPECT_EQ(v[0].rawMax, 119);
    // Nothing to read: no extremes, no division by zero.
    const RangeStatistics none = rangeStatistics(*r, 200, 100);
    EXPECT_EQ(none[0].rawMin, 255);
    EXPECT_EQ(none[0].rawMax, 0);
    EXPECT_EQ(none[0].average, 0);
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
        const RecordingResult made = make(image.build());
        if (!made)
            continue;
        const RecordingData& r = *made.data;
        const int count = r.measurementCount();
        EXPECT_LE(count, 60 * 120) << c.name;
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        NullProgress progress;
        EXPECT_EQ(exportTo(out, r, wholeRecording(r), ExportKind::Excel, progress).result, ExportResult::Done)
            << c.name;
        EXPECT_EQ(out.data().count('\n'), 14 + count) << c.name;
    }
}

TEST_F(RecordingInit, DescriptionOfDownloadAndFile)
{
    const double created = toDateTimeNumber(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)));
    const QString when = QStringLiteral("5 Mar 2026 14:07:09");

    auto download = load(coldStore().build(), created);
    EXPECT_EQ(download->createdText(), when);
    EXPECT_EQ(download->description(), QStringLiteral("0815") + when);

    auto file = download->withFileName(QStringLiteral("/data/logs/cold.qrv"));
    EXPECT_EQ(file->description(), QStringLiteral("/data/logs/cold.qrv"));
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
        auto first =
            load(coldStore().build(), toDateTimeNumber(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9))));
        auto second =
            load(coldStore().build(), toDateTimeNumber(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 41))));
        const std::string name = c.locale.name().toStdString();
        EXPECT_EQ(first->createdText(), QString::fromUtf8(c.first)) << name;
        EXPECT_EQ(second->createdText(), QString::fromUtf8(c.second)) << name;
        EXPECT_NE(first->description(), second->description()) << name;
    }
}

TEST_F(RecordingInit, UnderAnotherNameEverythingButTheNameStays)
{
    auto download = load(coldStore().build(), 40000.5);
    auto saved = download->withFileName(QStringLiteral("/data/logs/cold.qrv"));
    EXPECT_TRUE(download->fileName().isEmpty()); // the first is unchanged
    EXPECT_EQ(saved->fileName(), QStringLiteral("/data/logs/cold.qrv"));
    EXPECT_EQ(saved->created(), 40000.5);
    EXPECT_EQ(saved->imageBytes(), download->imageBytes());
    EXPECT_EQ(saved->measurementCount(), download->measurementCount());
    EXPECT_EQ(saved->readoutUnit(), download->readoutUnit());
    // The reader reads the copy's own bytes, not the first's.
    EXPECT_NE(saved->reader().sample(0, 1), 0);
    EXPECT_EQ(saved->sample(0, 50), download->sample(0, 50));
    EXPECT_EQ(infoLines(*saved), infoLines(*download));
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
    for (const auto& c : cases) {
        auto download = load(coldStore().serial(c.serial).build());
        EXPECT_EQ(download->simulatedMark(), c.mark) << c.serial;
        EXPECT_EQ(infoLines(*download).value(1), QStringLiteral("Serial Number      : ") + c.serial + c.mark);
    }
}

} // namespace
} // namespace qz::test
