// quorzk-cli collect and store on quorzk-sim loggers served on pseudo-terminals.
#include "cli_rig.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

// quorzk-sim --fleet N: its pseudo-terminals, one per logger.
class SimFleet {
public:
    SimFleet(int n, const QStringList& more = {})
    {
        p_.start(kBin + "/quorzk-sim", QStringList{"--fleet", QString::number(n)} + more);
        if (!p_.waitForStarted(10000))
            return;
        while (paths.size() < n && (p_.canReadLine() || p_.waitForReadyRead(10000)))
            while (p_.canReadLine())
                paths << QString::fromUtf8(p_.readLine()).trimmed();
    }
    ~SimFleet()
    {
        p_.terminate();
        if (!p_.waitForFinished(5000)) {
            p_.kill();
            p_.waitForFinished(5000);
        }
    }
    QStringList paths;

private:
    QProcess p_;
};

struct FleetFolder {
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }
    QString write(const QString& name, const QString& text) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
        return path(name);
    }
    // A fleet file of the pseudo-terminals (labels Room 0, Room 1, ...) and the extra text.
    QString fleet(const QStringList& ports, const QString& extra = {}) const
    {
        QString text = QStringLiteral("[Store]\nUrl=sqlite:fleet.sqlite\n");
        for (int i = 0; i < ports.size(); ++i)
            text += QStringLiteral("[Logger Room %1]\nPort=%2\nVerify=0\n").arg(i).arg(ports[i]);
        return write(QStringLiteral("fleet.ini"), text + extra);
    }
    QString store() const { return QStringLiteral("sqlite:") + path(QStringLiteral("fleet.sqlite")); }
};

TEST(FleetCli, CollectsAFleetPrintsItsTableAndTellsAFailureByItsExitStatus)
{
    SimFleet sims(3, {"--model", "485", "--blocks", "5"});
    ASSERT_EQ(sims.paths.size(), 3);
    FleetFolder folder;
    const QString fleet = folder.fleet(
        sims.paths,
        QStringLiteral("[Logger Gone]\nPort=%1\n").arg(folder.path(QStringLiteral("no-such-port"))));
    const CliRun first = cli({"collect", "--fleet", fleet});
    EXPECT_EQ(first.exitCode, 1) << first.err.toStdString();
    const QStringList lines = first.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << first.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("LABEL   SERIAL  OUTCOME")) << lines[0].toStdString();
    for (int i = 0; i < 3; ++i) {
        const QStringList cells = lines[i + 1].simplified().split(' ');
        EXPECT_EQ(cells[0] + ' ' + cells[1], QStringLiteral("Room %1").arg(i));
        EXPECT_EQ(cells[2], QStringLiteral("SIM%1").arg(i));
        EXPECT_EQ(cells[3], QStringLiteral("ok"));
        EXPECT_EQ(cells[4], QString::number((4 * 15 + 7) * 8)); // 4 full blocks and 7 of 15
    }
    EXPECT_TRUE(lines[4].contains("Unable to open com port " + folder.path(QStringLiteral("no-such-port"))))
        << lines[4].toStdString();

    // Again, as JSON: nothing new (the loggers are stopped), the same failure.
    const CliRun again = cli({"collect", "--fleet", fleet, "--json"});
    EXPECT_EQ(again.exitCode, 1);
    const QJsonObject doc = QJsonDocument::fromJson(again.out.toUtf8()).object();
    EXPECT_EQ(doc.value("store").toString(), folder.store());
    EXPECT_EQ(doc.value("exit").toInt(), 1);
    const QJsonArray loggers = doc.value("loggers").toArray();
    ASSERT_EQ(loggers.size(), 4);
    EXPECT_EQ(loggers[0].toObject().value("serial").toString(), QStringLiteral("SIM0"));
    EXPECT_EQ(loggers[0].toObject().value("new_measurements").toInt(), 0);
    EXPECT_EQ(loggers[0].toObject().value("blocks_read").toInt(), 0);
    EXPECT_TRUE(loggers[0].toObject().value("ok").toBool());
    EXPECT_FALSE(loggers[3].toObject().value("ok").toBool());
    EXPECT_TRUE(loggers[3].toObject().value("serial").isNull());

    const CliRun list = cli({"store", "loggers", "--store", folder.store()});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_TRUE(list.out.startsWith("LABEL   SERIAL  LAST COLLECTION")) << list.out.toStdString();
    EXPECT_EQ(list.out.count('\n'), 5);
}

TEST(FleetCli, AFleetFileThatDoesNotParseIsRefusedBeforeAnythingIsOpened)
{
    FleetFolder folder;
    const QString fleet =
        folder.write(QStringLiteral("fleet.ini"),
                     "[Store]\nUrl=sqlite:fleet.sqlite\n[Logger A]\nPort=/dev/ttyS0\nBaud=9600\n");
    const CliRun r = cli({"collect", "--fleet", fleet});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err,
              QStringLiteral("quorzk-cli collect: %1:5: unknown key Baud= in [Logger A] (a logger has Port=, "
                             "Dial=, Pulse=, Init= and Verify=)\n")
                  .arg(fleet));
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFile::exists(folder.path(QStringLiteral("fleet.sqlite"))));

    const CliRun store = cli({"collect", "--fleet", folder.fleet({"sim"}), "--store", "mysql://here"});
    EXPECT_EQ(store.exitCode, 2);
    EXPECT_TRUE(store.err.contains("stores of the kind 'mysql' are not supported"))
        << store.err.toStdString();
}

// The store's export is the recording's comma-separated export, for the same measurements.
TEST(FleetCli, TheStoreExportsALoggerAsTheRecordingFileExportsItsRecording)
{
    SimFleet sims(1, {"--model", "101", "--blocks", "3"});
    ASSERT_EQ(sims.paths.size(), 1);
    FleetFolder folder;
    const CliRun collected = cli({"collect", "--fleet", folder.fleet(sims.paths)});
    ASSERT_EQ(collected.exitCode, 0) << collected.out.toStdString() << collected.err.toStdString();
    const QString qrv = folder.path(QStringLiteral("room.qrv"));
    ASSERT_EQ(cli({"download", "--port", sims.paths[0], "--output", qrv}).exitCode, 0);
    const CliRun fromFile = cli({"export", qrv, "--kind", "csv"});
    ASSERT_EQ(fromFile.exitCode, 0);

    const CliRun fromStore = cli({"store", "export", "--logger", "Room 0", "--store", folder.store()});
    EXPECT_EQ(fromStore.exitCode, 0) << fromStore.err.toStdString();
    EXPECT_EQ(fromStore.out, fromFile.out);
    const CliRun bySerial = cli({"store", "export", "--logger", "SIM0", "--store", folder.store()});
    EXPECT_EQ(bySerial.out, fromFile.out);

    // A range, into a file that is only replaced when asked.
    const QString out = folder.path(QStringLiteral("range.csv"));
    const CliRun range = cli({"store", "export", "--logger", "SIM0", "--store", folder.store(), "--from",
                              "2026-02-27 08:10:00", "--to", "2026-02-27 08:30:00", "--output", out});
    EXPECT_EQ(range.exitCode, 0) << range.err.toStdString();
    const QStringList rows = QString::fromUtf8(readFile(out)).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 1 + 5); // every 5 minutes: 08:10 .. 08:30
    EXPECT_TRUE(rows[1].startsWith("2026-02-27T08:10:00,"));
    EXPECT_TRUE(rows[5].startsWith("2026-02-27T08:30:00,"));
    const CliRun again =
        cli({"store", "export", "--logger", "SIM0", "--store", folder.store(), "--output", out});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err,
              QStringLiteral("quorzk-cli store export: %1 already exists (--force replaces it)\n").arg(out));

    // Drawn from the store as from the file: the same picture.
    const QString fromFilePng = folder.path(QStringLiteral("file.png"));
    const QString fromStorePng = folder.path(QStringLiteral("store.png"));
    ASSERT_EQ(cli({"plot", qrv, "--output", fromFilePng}).exitCode, 0);
    const CliRun plotted =
        cli({"plot", "--store", folder.store(), "--logger", "Room 0", "--output", fromStorePng});
    EXPECT_EQ(plotted.exitCode, 0) << plotted.err.toStdString();
    EXPECT_TRUE(readFile(fromStorePng) == readFile(fromFilePng));
    // The drawing chosen on the command line applies to the store's measurements too.
    const QString chosenFilePng = folder.path(QStringLiteral("file-chosen.png"));
    const QString chosenStorePng = folder.path(QStringLiteral("store-chosen.png"));
    ASSERT_EQ(cli({"plot", qrv, "--inputs", "1", "--own-scales", "--output", chosenFilePng}).exitCode, 0);
    const CliRun chosen = cli({"plot", "--store", folder.store(), "--logger", "Room 0", "--inputs", "1",
                               "--own-scales", "--output", chosenStorePng});
    EXPECT_EQ(chosen.exitCode, 0) << chosen.err.toStdString();
    EXPECT_TRUE(readFile(chosenStorePng) == readFile(chosenFilePng));
    EXPECT_FALSE(readFile(chosenStorePng) == readFile(fromStorePng));

    const CliRun unknown = cli({"store", "export", "--logger", "Nobody", "--store", folder.store()});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(
        unknown.err,
        QStringLiteral("quorzk-cli store export: the store %1 holds no logger Nobody\n").arg(folder.store()));
    const CliRun noStore =
        cli({"store", "loggers", "--store", "sqlite:" + folder.path(QStringLiteral("none.sqlite"))});
    EXPECT_EQ(noStore.exitCode, 2);
    EXPECT_FALSE(QFile::exists(folder.path(QStringLiteral("none.sqlite"))));
}

} // namespace
} // namespace qz::test
