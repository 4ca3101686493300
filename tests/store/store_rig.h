#pragma once
// A store in a real SQLite file of a temporary folder, and collections made from built
// memory images.
#include "model/image_reader.h"
#include "store/fleet_store.h"
#include "support/image_builder.h"
#include "support/print_qt.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qz::test {

struct StoreRig {
    QTemporaryDir dir;
    FleetStore store;

    StoreRig() { EXPECT_TRUE(open(store).ok()); }

    QString path() const { return dir.filePath(QStringLiteral("fleet.sqlite")); }
    StoreUrl url() const
    {
        QString error;
        return *StoreUrl::parse(QStringLiteral("sqlite:") + path(), {}, error);
    }
    StoreResult open(FleetStore& s) const { return s.open(url()); }

    // A query on a connection of the test's own, for what the program does not read itself.
    template <typename F> bool tryQuery(const QString& sql, F&& each)
    {
        const QString name = QStringLiteral("store-test-check");
        bool done = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path());
            EXPECT_TRUE(db.open());
            QSqlQuery q(db);
            done = q.exec(sql);
            while (done && q.next())
                each(q);
        }
        QSqlDatabase::removeDatabase(name);
        return done;
    }
    template <typename F> void query(const QString& sql, F&& each)
    {
        EXPECT_TRUE(tryQuery(sql, std::forward<F>(each))) << sql.toStdString();
    }
    qint64 number(const QString& sql)
    {
        qint64 n = -1;
        query(sql, [&n](QSqlQuery& q) { n = q.value(0).toLongLong(); });
        return n;
    }
};

// A collection of a whole memory image, as a first collection takes it.
inline CollectionEntry entryOf(const QByteArray& image, const QString& label, int usedBlocks)
{
    CollectionEntry e;
    e.label = label;
    e.hostTime = QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9));
    e.loggerMs = (*civilSeconds(2026, 3, 5, 14, 7, 12)) * 1000;
    e.batteryVolts = 3.6;
    e.blocksRead = usedBlocks + 1;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(image.constData());
    e.header.assign(bytes, bytes + mem::kHeaderSize);
    const std::vector<std::uint8_t> all(bytes, bytes + image.size());
    const RecordLayout layout(ImageReader::header({bytes, mem::kHeaderSize}));
    e.harvested = harvestWhole(all, usedBlocks, 0, layout, nullptr, e.harvest) == WholeStatus::Taken;
    return e;
}

// Two inputs (logger inputs 3 and 6), a measurement a minute.
inline ImageBuilder twoInputs(int measurements, const char* serial = "0815")
{
    ImageBuilder b;
    b.serial(serial)
        .interval(1, 60)
        .start(26, 2, 27, 8, 0, 0)
        .input(2,
               {QStringLiteral("Cold room"),
                QStringLiteral("\xB0"
                               "C"),
                -40, 60, 10 * 256, 210 * 256})
        .input(5, {QStringLiteral("Door"), QString(), 0, 1, 0, 255 * 256})
        .measurements(measurements, [](int k, int input) { return std::uint8_t(k * 3 + input); });
    return b;
}

} // namespace qz::test
