// quorzk-cli --port sim is one logger from command to command: what configure sent, status
// finds; its state lives in the cache folder (the test's own), a damaged one is replaced
// with a warning, --sim-reset begins afresh. And what status tells of a logger's clock.
#include "cli_rig.h"

#include "support/print_qt.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qz::test {
namespace {

QString stateFile()
{
    return QDir(qEnvironmentVariable("XDG_CACHE_HOME")).filePath("quorzk/simulated-logger");
}

// The value of a status line ("Comment:       x" gives "x").
QString field(const CliRun& status, const QString& label)
{
    for (const QString& line : status.out.split('\n'))
        if (line.startsWith(label + ":"))
            return line.mid(15);
    return QStringLiteral("(no %1 line)").arg(label);
}

TEST(CliSimulatedPort, RemembersWhatEarlierCommandsSent)
{
    const CliRun fresh = cli({"status", "--port", "sim"});
    ASSERT_EQ(fresh.exitCode, 0) << fresh.err.toStdString();
    EXPECT_EQ(field(fresh, "Comment"), "Greenhouse north wall");
    EXPECT_EQ(field(fresh, "Run state"), "stopped");
    EXPECT_TRUE(QFile::exists(stateFile())) << stateFile().toStdString();

    const CliRun configure = cli({"configure", "--port", "sim", "--interval", "60", "--stop", "cyclic",
                                  "--comment", "Remembered"});
    ASSERT_EQ(configure.exitCode, 0) << configure.err.toStdString();
    const CliRun after = cli({"status", "--port", "sim"});
    EXPECT_EQ(field(after, "Comment"), "Remembered");
    EXPECT_EQ(field(after, "Run state"), "recording");

    EXPECT_EQ(cli({"stop", "--port", "sim", "--yes"}).exitCode, 0);
    EXPECT_EQ(field(cli({"status", "--port", "sim"}), "Run state"), "stopped");

    const CliRun reset = cli({"status", "--port", "sim", "--sim-reset"});
    EXPECT_EQ(reset.exitCode, 0) << reset.err.toStdString();
    EXPECT_EQ(field(reset, "Comment"), "Greenhouse north wall");
    EXPECT_EQ(field(cli({"status", "--port", "sim"}), "Comment"), "Greenhouse north wall");
}

TEST(CliSimulatedPort, ADamagedStateIsReplacedWithAWarning)
{
    ASSERT_EQ(cli({"configure", "--port", "sim", "--interval", "60", "--stop", "full", "--comment", "Lost"})
                  .exitCode,
              0);
    QFile f(stateFile());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(5000);
    f.write("damaged");
    f.close();

    const CliRun r = cli({"status", "--port", "sim"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "quorzk-cli status: The simulated logger's saved state " + stateFile()
                         + " is damaged; a fresh simulated logger replaces it\n");
    EXPECT_EQ(field(r, "Comment"), "Greenhouse north wall");
    EXPECT_EQ(cli({"status", "--port", "sim"}).err, "") << "told once: the fresh state is kept";
}

TEST(CliSimulatedPort, ResetGoesWithTheSimulatedLoggerOnly)
{
    const CliRun r = cli({"ping", "--port", "/dev/ttyS77", "--sim-reset"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(
        r.err.startsWith("quorzk-cli ping: --sim-reset goes with the simulated logger (--port sim), not /dev/ttyS77"))
        << r.err.toStdString();
}

TEST(CliStatus, TellsTheClockWithItsYearAndItsDrift)
{
    const int thisYear = QDate::currentDate().year();
    const CliRun sim = cli({"status", "--port", "sim"});
    EXPECT_TRUE(field(sim, "Clock").startsWith(QString::number(thisYear) + "-")) << sim.out.toStdString();
    EXPECT_EQ(field(sim, "Clock drift"), "in step with this computer's clock") << "its clock is the computer's";

    const struct {
        const char* start; // the recording, whose year the logger's header keeps
        const char* clock;
        const char* drift; // how the drift line ends
    } cases[] = {
        {"2035-05-01 00:00:00", "2035-06-01 12:00:00", " ahead of this computer's clock"},
        {"2020-01-01 00:00:00", "2020-03-01 10:00:00", " behind this computer's clock"},
    };
    for (const auto& c : cases) {
        SimProcess logger({"--model", "101", "--start", c.start, "--clock", c.clock});
        ASSERT_FALSE(logger.path().isEmpty());
        const CliRun r = cli({"status", "--port", logger.path()});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(field(r, "Clock").startsWith(QString(c.clock).left(17))) << r.out.toStdString();
        EXPECT_TRUE(field(r, "Clock drift").endsWith(c.drift)) << r.out.toStdString();
        EXPECT_TRUE(field(r, "Clock drift").contains(" d ")) << "days apart: " << r.out.toStdString();
    }
}

TEST(CliQuiet, NoQtWarningsWithoutADesktopSession)
{
    // A warning of Qt's would end the program here instead of passing unseen.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    env.insert("QT_FATAL_WARNINGS", "1");
    QTemporaryDir dir;
    const QString recording = dir.filePath("sim.qrv");
    const struct {
        const char* name;
        QStringList args;
        QString err;
    } cases[] = {
        {"a logger command", {"download", "--port", "sim", "--output", recording}, "saved " + recording + "\n"},
        {"status", {"status", "--port", "sim"}, ""},
        {"plot", {"plot", recording, "--output", dir.filePath("sim.png")}, ""},
        {"plot as PDF", {"plot", recording, "--output", dir.filePath("sim.pdf")}, ""},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args, env);
        EXPECT_EQ(r.exitCode, 0) << c.name << ": " << r.err.toStdString();
        EXPECT_EQ(r.err.toStdString(), c.err.toStdString()) << c.name;
    }
}

} // namespace
} // namespace qz::test
