// The recording information text, character by character.
#include "recording_fixture.h"

namespace qz::test {
namespace {

using InformationText = RecordingTest;

QByteArray joined(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n')).toUtf8();
}

TEST_F(InformationText, WholeRecordingMatchesGolden)
{
    auto r = load(coldStore().build());
    checkGolden(QStringLiteral("cold_store_info.txt"), joined(infoLines(*r)));
}

TEST_F(InformationText, EightInputsInWrappedRingMatchGolden)
{
    auto r = load(wrappedRing().build());
    checkGolden(QStringLiteral("wrapped_ring_info.txt"), joined(infoLines(*r)));
}

TEST_F(InformationText, LayoutOfLabelsAndColumns)
{
    auto r = load(coldStore().build());
    const QStringList lines = infoLines(*r);
    ASSERT_EQ(lines.size(), 14);
    const char* labels[] = {
        "Record Name        : ", "Serial Number      : ", "Recording Interval : ", "Start Date/Time    : ",
        "End Date/Time      : ", "Inputs             : ", "Scale max          : ", "Scale min          : ",
        "Minimum            : ", "Maximum            : ", "Average            : ", "# Measurements     : ",
        "Battery Voltage    : "};
    for (int i = 0; i < 13; ++i)
        EXPECT_TRUE(lines[i].startsWith(QLatin1String(labels[i]))) << i;
    EXPECT_TRUE(lines[13].isEmpty());
    EXPECT_EQ(lines[0], QStringLiteral("Record Name        : Cold store 3"));
    // Three columns of 14 characters, the unit's degree sign counting as one.
    for (int i = 5; i <= 10; ++i)
        EXPECT_EQ(lines[i].size(), 21 + 3 * 14) << i;
    EXPECT_EQ(lines[5].mid(21), QStringLiteral("  1       Temp  2   Humidity  5   Pressure"));
    EXPECT_EQ(lines[6].mid(21, 14), QStringLiteral("80 \u00B0C").rightJustified(14));
    EXPECT_EQ(lines[11], QStringLiteral("# Measurements     : 100"));
    EXPECT_EQ(lines[12], QStringLiteral("Battery Voltage    : 3.54 V"));
}

TEST_F(InformationText, IntervalText)
{
    const struct {
        int period;
        int samples;
        const char* text;
    } cases[] = {
        {1, 300, "5 Min  "},  {1, 90, "1 Min  30 Sec"}, {1, 30, "30 Sec"},
        {60, 60, "60 Min  "}, {10, 720, "120 Min  "},
    };
    for (const auto& c : cases) {
        auto r = load(coldStore().interval(c.period, c.samples).build());
        EXPECT_EQ(infoLines(*r)[2], QStringLiteral("Recording Interval : ") + QLatin1String(c.text))
            << c.text;
    }
}

TEST_F(InformationText, ListsOnlyShownRecordedInputs)
{
    auto r = load(coldStore().build());
    DataRange range = wholeRecording(*r);
    range.inputs[1] = false; // inputs 1, 2 and 5 recorded, 2 hidden
    range.inputs[3] = true; // shown but not recorded
    const QStringList lines = informationLines(*r, range);
    EXPECT_EQ(lines[5].mid(21), QStringLiteral("  1       Temp  5   Pressure"));
    for (int i = 6; i <= 10; ++i)
        EXPECT_EQ(lines[i].size(), 21 + 2 * 14) << i;
}

TEST_F(InformationText, APartOfTheRecordingChangesOnlyItsStatistics)
{
    auto r = load(coldStore().build());
    const QStringList whole = infoLines(*r);
    DataRange zoom = wholeRecording(*r);
    zoom.first = 21;
    zoom.last = 60;
    const QStringList part = informationLines(*r, zoom);
    checkGolden(QStringLiteral("cold_store_zoom_info.txt"), joined(part));
    for (int i : {0, 1, 2, 5, 6, 7, 12, 13})
        EXPECT_EQ(part[i], whole[i]) << i;
    for (int i : {3, 4, 8, 9, 10, 11})
        EXPECT_NE(part[i], whole[i]) << i;
    EXPECT_EQ(part[11], QStringLiteral("# Measurements     : 40"));
    EXPECT_EQ(part[3], QStringLiteral("Start Date/Time    : 05/03/01 15:52:09"));
}

TEST_F(InformationText, OneUsedBlockHasNoBatteryVoltage)
{
    auto r = load(twoMeasurements().build());
    EXPECT_EQ(infoLines(*r)[12], QStringLiteral("Battery Voltage    : -"));
}

TEST_F(InformationText, DegenerateScalesGiveFlatValues)
{
    ImageBuilder b = coldStore();
    b.input(0, {QStringLiteral("Flat"), QStringLiteral("V"), 5, 5, 0, 255 * 256})
        .input(1, {QStringLiteral("NoCal"), QStringLiteral("V"), 0, 100, 300, 300});
    auto r = load(b.build());
    const QStringList lines = infoLines(*r);
    // Minimum, maximum and average: the low scale value, in each input's own format.
    for (int i : {8, 9, 10}) {
        EXPECT_EQ(lines[i].mid(21, 14), QStringLiteral("5 V").rightJustified(14)) << i;
        EXPECT_TRUE(lines[i].mid(35, 14).trimmed().startsWith(QLatin1Char('0'))) << i;
        EXPECT_EQ(lines[i].mid(35, 14).trimmed().toDouble(), 0.0) << i;
    }
}

} // namespace
} // namespace qz::test
