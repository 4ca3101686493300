#pragma once
// Stores for the tests in both engines: a SQLite file in a temporary folder, or a database
// of its own on the PostgreSQL server of the environment (PGHOST, PGPORT, PGUSER,
// PGPASSWORD, PGDATABASE: scripts/test.sh starts one with pg_virtualenv), made for one test
// and dropped after it.
#include "store/sql_connection.h"
#include "store/store_url.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <ostream>

namespace qz::test {

enum class Engine {
    Sqlite,
    Postgres
};

inline std::ostream& operator<<(std::ostream& os, Engine e)
{
    return os << (e == Engine::Sqlite ? "SQLite" : "PostgreSQL");
}

inline std::string engineName(const ::testing::TestParamInfo<Engine>& info)
{
    return info.param == Engine::Sqlite ? "SQLite" : "PostgreSQL";
}

// Whether the environment names a PostgreSQL server.
inline bool postgresGiven()
{
    return qEnvironmentVariableIsSet("PGHOST");
}

// Where a PostgreSQL test is to be skipped; the test run that must run them
// (QUORZK_REQUIRE_POSTGRES=1) fails instead. Use: if (skipWithoutPostgres()) GTEST_SKIP() << ...
#define QUORZK_SKIP_WITHOUT_POSTGRES(engine)                                                                 \
    do {                                                                                                     \
        if ((engine) == ::qz::test::Engine::Postgres && !::qz::test::postgresGiven()) {                      \
            if (qEnvironmentVariableIntValue("QUORZK_REQUIRE_POSTGRES") == 1)                                \
                FAIL() << "no PostgreSQL server: PGHOST is not set, and this run must test PostgreSQL";      \
            GTEST_SKIP() << "no PostgreSQL server: PGHOST is not set (bash scripts/test.sh starts one with " \
                            "pg_virtualenv)";                                                                \
        }                                                                                                    \
    } while (false)

// One database on the server, dropped with this object.
class ScratchDatabase {
public:
    ScratchDatabase()
    {
        static std::atomic<int> count{0};
        name_ = QStringLiteral("quorzk_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(count++);
        ok_ = onServer(QStringLiteral("CREATE DATABASE %1").arg(name_));
    }
    ~ScratchDatabase()
    {
        if (ok_)
            onServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name_));
    }
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    bool ok() const { return ok_; }
    // The database, the server and user from the environment.
    StoreUrl url() const
    {
        StoreUrl u;
        u.kind = StoreUrl::Kind::Postgres;
        u.database = name_;
        return u;
    }

private:
    bool onServer(const QString& sql)
    {
        const QString connection = QStringLiteral("scratch-") + name_;
        bool done = false;
        {
            StoreUrl server;
            server.kind = StoreUrl::Kind::Postgres;
            QString reason;
            if (openConnection(server, dialectOf(server.kind), connection, reason)) {
                QSqlQuery q(QSqlDatabase::database(connection, false));
                done = q.exec(sql);
                EXPECT_TRUE(done) << sql.toStdString();
            } else {
                ADD_FAILURE() << "the PostgreSQL server does not answer: " << reason.toStdString();
            }
            QSqlDatabase::database(connection, false).close();
        }
        QSqlDatabase::removeDatabase(connection);
        return done;
    }

    QString name_;
    bool ok_ = false;
};

// A store of the engine: its URL, and queries on a connection of the test's own.
class TestStore {
public:
    explicit TestStore(Engine engine) : engine_(engine)
    {
        if (engine == Engine::Postgres)
            scratch_.emplace();
    }

    Engine engine() const { return engine_; }
    QString path() const { return dir_.filePath(QStringLiteral("fleet.sqlite")); }
    const QTemporaryDir& dir() const { return dir_; }
    StoreUrl url() const
    {
        if (scratch_)
            return scratch_->url();
        StoreUrl u;
        u.path = path();
        return u;
    }

    // The test's own connection (made on first use, on the calling thread).
    QSqlDatabase db()
    {
        if (!QSqlDatabase::contains(connection_)) {
            QString reason;
            EXPECT_TRUE(openConnection(url(), dialectOf(url().kind), connection_, reason))
                << reason.toStdString();
        }
        return QSqlDatabase::database(connection_, false);
    }
    ~TestStore()
    {
        if (QSqlDatabase::contains(connection_)) {
            QSqlDatabase::database(connection_, false).close();
            QSqlDatabase::removeDatabase(connection_);
        }
    }
    TestStore(const TestStore&) = delete;
    TestStore& operator=(const TestStore&) = delete;

    template <typename F> bool tryQuery(const QString& sql, F&& each)
    {
        QSqlQuery q(db());
        const bool done = q.exec(sql);
        while (done && q.next())
            each(q);
        return done;
    }
    template <typename F> void query(const QString& sql, F&& each)
    {
        EXPECT_TRUE(tryQuery(sql, std::forward<F>(each))) << sql.toStdString();
    }
    void exec(const QString& sql)
    {
        query(sql, [](QSqlQuery&) {});
    }
    qint64 number(const QString& sql)
    {
        qint64 n = -1;
        query(sql, [&n](QSqlQuery& q) { n = q.value(0).toLongLong(); });
        return n;
    }

private:
    Engine engine_;
    QTemporaryDir dir_;
    std::optional<ScratchDatabase> scratch_; // dropped after every connection to it
    QString connection_ = QStringLiteral("test-store-%1").arg(quintptr(this), 0, 16);
};

} // namespace qz::test
