// What the Fleet window shows of each logger: the store's loggers and the fleet file's new
// ones, and which values are marked.
#include "fleet/fleet_overview.h"
#include "store/stored_forms.h"
#include "support/print_qt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

const QDateTime kNow(QDate(2026, 3, 5), QTime(14, 0, 0));

TEST(FleetOverview, MarksADriftBeyondAMinuteAndAMemoryFullWithinAWeek)
{
    struct Case {
        const char* name;
        std::optional<double> drift;
        std::optional<std::int64_t> fullInSeconds; // from now
        bool driftMarked;
        bool fullMarked;
    };
    const std::int64_t day = 24 * 3600;
    const Case cases[] = {
        {"nothing known", std::nullopt, std::nullopt, false, false},
        {"a minute exactly", 60.0, 8 * day, false, false},
        {"ahead by more", 60.5, 8 * day, true, false},
        {"behind by more", -75.0, 8 * day, true, false},
        {"full in a week", 0.0, 7 * day, false, true},
        {"full already", 0.0, -day, false, true},
        {"full in a week and a second", 0.0, 7 * day + 1, false, false},
    };
    QTemporaryDir dir;
    const DeviceCatalog catalog{ProgramFolder(dir.path())};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoggerSummary s;
        s.label = QStringLiteral("A");
        s.serial = QStringLiteral("0815");
        s.driftSeconds = c.drift;
        if (c.fullInSeconds)
            s.memoryFull = hostSeconds(kNow) + *c.fullInSeconds;
        const std::vector<FleetOverviewRow> rows = fleetOverview({s}, nullptr, catalog, kNow);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].driftMarked, c.driftMarked);
        EXPECT_EQ(rows[0].memoryFullMarked, c.fullMarked);
    }
}

TEST(FleetOverview, TheFleetFilesLoggersTheStoreDoesNotKnowFollowTheStoresOwn)
{
    QTemporaryDir dir;
    const DeviceCatalog catalog{ProgramFolder(dir.path())};
    LoggerSummary known;
    known.label = QStringLiteral("Cold room");
    known.serial = QStringLiteral("0815");
    known.deviceCode = 485;
    LoggerSummary gone; // in the store, no longer in the fleet file
    gone.label = QStringLiteral("Old room");
    gone.serial = QStringLiteral("0001");
    FleetFile fleet;
    for (const char* label : {"Cold room", "Pump"}) {
        FleetLogger l;
        l.label = QString::fromLatin1(label);
        l.port = QStringLiteral("sim");
        fleet.loggers.push_back(l);
    }
    const std::vector<FleetOverviewRow> rows = fleetOverview({known, gone}, &fleet, catalog, kNow);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].label, QStringLiteral("Cold room"));
    EXPECT_TRUE(rows[0].inFleetFile);
    // A catalogue without the model: its code.
    EXPECT_EQ(rows[0].model, QStringLiteral("device code 485"));
    EXPECT_EQ(rows[1].label, QStringLiteral("Old room"));
    EXPECT_FALSE(rows[1].inFleetFile);
    EXPECT_EQ(rows[2].label, QStringLiteral("Pump"));
    EXPECT_TRUE(rows[2].serial.isEmpty());
    EXPECT_TRUE(rows[2].inFleetFile);
}

TEST(FleetOverview, ValuesAreShownWithTheirUnitsAndSign)
{
    EXPECT_EQ(batteryText(3.6), QStringLiteral("3.60 V"));
    EXPECT_EQ(batteryText(std::nullopt), QString());
    EXPECT_EQ(driftText(42.4), QStringLiteral("+42 s"));
    EXPECT_EQ(driftText(-3.6), QStringLiteral("-4 s"));
    EXPECT_EQ(driftText(0.2), QStringLiteral("0 s"));
    EXPECT_EQ(loggerTimeText(hostSeconds(kNow)), QStringLiteral("2026-03-05 14:00"));
}

} // namespace
} // namespace qz::test
