// A collector killed (SIGKILL) inside a logger's transaction leaves every logger's data as
// it was before or after its transaction, and the next collection completes it.
#include "killed_fleet.h"

#include "store/fleet_store.h"
#include "support/print_qt.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

qint64 number(const QString& path, const QString& sql)
{
    const QString name = QStringLiteral("kill-test-check");
    qint64 n = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        if (q.next())
            n = q.value(0).toString() == QLatin1String("ok") ? 1 : q.value(0).toLongLong();
    }
    QSqlDatabase::removeDatabase(name);
    return n;
}

TEST(FleetKill, ACollectorKilledInsideATransactionLeavesEachLoggerWholeAndTheNextRunCompletesIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fleet.sqlite"));
    QProcess helper;
    helper.start(QStringLiteral(QUORZK_BINARY_DIR "/tests/fleet_kill_helper"), {path});
    ASSERT_TRUE(helper.waitForStarted());
    QByteArray out;
    while (!out.contains("writing") && helper.waitForReadyRead(120000))
        out += helper.readAllStandardOutput();
    ASSERT_TRUE(out.contains("writing")) << helper.readAllStandardError().toStdString();
    helper.kill(); // SIGKILL
    ASSERT_TRUE(helper.waitForFinished());
    EXPECT_EQ(helper.exitStatus(), QProcess::CrashExit);

    const KilledFleet expected;
    const std::int64_t small =
        expected.loggers.at(QStringLiteral("Small"))->logger().recorder().records() * 8;
    const std::int64_t full = expected.loggers.at(QStringLiteral("Full"))->logger().recorder().records() * 8;
    ASSERT_EQ(full, 60960);
    // The small logger as after its transaction, the full one as before its own.
    EXPECT_EQ(number(path, QStringLiteral("PRAGMA integrity_check")), 1);
    EXPECT_EQ(number(path, QStringLiteral("SELECT COUNT(*) FROM measurement_v WHERE logger_label = 'Small'")),
              small);
    EXPECT_EQ(number(path, QStringLiteral("SELECT COUNT(*) FROM measurement")), small / 8);
    EXPECT_EQ(number(path, QStringLiteral("SELECT COUNT(*) FROM recording")), 1);
    EXPECT_EQ(number(path, QStringLiteral("SELECT COUNT(*) FROM logger WHERE serial = 'SIMF'")), 0);
    EXPECT_EQ(number(path, QStringLiteral("SELECT COUNT(*) FROM collection")), 1);

    // The next run: the full memory stored, nothing of the small one twice.
    {
        KilledFleet again;
        FleetStore store;
        QString error;
        ASSERT_TRUE(store.open(*StoreUrl::parse(QStringLiteral("sqlite:") + path, {}, error)).ok());
        const FleetReport r = collectFleet(again.fleet, store, again.setup);
        ASSERT_EQ(r.rows.size(), 2u);
        EXPECT_EQ(r.rows[0].newMeasurements, 0);
        EXPECT_EQ(r.rows[1].newMeasurements, full);
        EXPECT_EQ(r.exitCode(), 0);
    }
    EXPECT_EQ(number(path, QStringLiteral("SELECT COUNT(*) FROM measurement_v")), small + full);
    EXPECT_EQ(number(path, QStringLiteral("SELECT SUM(measurements) FROM recording")), small + full);
}

} // namespace
} // namespace qz::test
