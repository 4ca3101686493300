// quorzk-cli configure and stop end to end: quorzk-sim serves an emulated logger on a
// pseudo-terminal, and status tells what the logger holds afterwards.
#include "cli_rig.h"

#include "support/print_qt.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qz::test {
namespace {

QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
}

// Frames of a wire trace sent to the logger with a command letter: "> 24 23 24 LL".
int framesSent(const QByteArray& trace, char letter)
{
    const QByteArray prefix = "> 24 23 24 " + QByteArray::number(int(letter), 16).toUpper();
    int n = 0;
    for (const QByteArray& l : trace.split('\n'))
        n += l.mid(10).startsWith(prefix);
    return n;
}

TEST(CliConfigure, StartsTheLoggerAndSaysWhatWasSent)
{
    SimProcess sim({"--model", "101", "--memory", "linear", "--blocks", "10"});
    ASSERT_FALSE(sim.path().isEmpty());
    QTemporaryDir dir;
    const QString inputs = write(dir, "inputs.csv",
                                 "input,active,function,unit,max,min\n"
                                 "2,0,Door,%,100,0\n"
                                 "6,1,Soil,\xC2\xB0"
                                 "C,50.5,-10\n");
    const CliRun r = cli({"configure", "--port", sim.path(), "--interval", "00:30", "--stop", "cyclic",
                          "--comment", "Greenhouse test", "--inputs", inputs});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("Serial number:      ")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], "Model:              ZK-101 Thermo (device code 101)");
    EXPECT_EQ(lines[2], "Interval:           30 s (00:30)");
    EXPECT_EQ(lines[3], "Stop:               cyclic recording");
    EXPECT_TRUE(lines[4].startsWith("Start:              now, 20")) << lines[4].toStdString();
    EXPECT_EQ(lines[5], "Comment:            Greenhouse test");
    EXPECT_TRUE(lines[6].startsWith("Active inputs:      1 ")) << lines[6].toStdString();
    EXPECT_TRUE(lines[6].contains(", 6 Soil (\xC2\xB0"
                                  "C, -10 .. 50.5)"))
        << lines[6].toStdString();
    EXPECT_FALSE(lines[6].contains("Door")) << lines[6].toStdString();
    // 252 blocks x 120 samples x 30 s / 4 inputs = 226,800 s.
    EXPECT_EQ(lines[7], "Recording duration: 2 Days  15 Hours  0 Min");

    const CliRun status = cli({"status", "--port", sim.path()});
    EXPECT_TRUE(status.out.contains("Run state:     recording")) << status.out.toStdString();
    EXPECT_TRUE(status.out.contains("Comment:       Greenhouse test")) << status.out.toStdString();
}

TEST(CliConfigure, ADelayedStartWaits)
{
    SimProcess sim({"--model", "485"});
    ASSERT_FALSE(sim.path().isEmpty());
    const CliRun r = cli({"configure", "--port", sim.path(), "--interval", "60", "--stop", "full",
                          "--start-after", "01:02:03"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Stop:               when the memory is full\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Start:              20")) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("now,")) << r.out.toStdString();
    const CliRun status = cli({"status", "--port", sim.path()});
    EXPECT_TRUE(status.out.contains("Run state:     waiting for a delayed start"))
        << status.out.toStdString();
}

TEST(CliConfigure, ARecordingLoggerIsRestartedOnlyWithYes)
{
    SimProcess sim({"--model", "101", "--running"});
    ASSERT_FALSE(sim.path().isEmpty());
    const QString question = "Recorder running\nSending configuration will restart it\nSend Configuration ?";
    QTemporaryDir dir;
    const QString trace = dir.filePath("t.txt");
    const CliRun no = cli({"configure", "--port", sim.path(), "--interval", "60", "--stop", "full",
                           "--comment", "never", "--trace", trace});
    EXPECT_EQ(no.exitCode, 1);
    EXPECT_EQ(no.err.trimmed(), question);
    EXPECT_TRUE(no.out.isEmpty());
    for (char letter : {'A', 'H', 'C'})
        EXPECT_EQ(framesSent(readFile(trace), letter), 0) << letter;
    EXPECT_FALSE(cli({"status", "--port", sim.path()}).out.contains("never"));

    const CliRun yes = cli({"configure", "--port", sim.path(), "--interval", "60", "--stop", "full",
                            "--comment", "restarted", "--yes"});
    EXPECT_EQ(yes.exitCode, 0) << yes.err.toStdString();
    EXPECT_TRUE(yes.err.contains(question));
    EXPECT_TRUE(cli({"status", "--port", sim.path()}).out.contains("Comment:       restarted"));
}

TEST(CliConfigure, RefusalsWriteNothing)
{
    SimProcess sim({"--model", "101"});
    ASSERT_FALSE(sim.path().isEmpty());
    QTemporaryDir dir;
    const QString badCsv =
        write(dir, "bad.csv", "input,active,function,unit,max,min\n1,1,Air,C,\"12,5\",0\n");
    struct Case {
        const char* name;
        QStringList args;
        QString message;
    } cases[] = {
        {"interval 0", {"--interval", "0"}, "The interval must be a multiple of 1 sec"},
        {"interval 3601 s", {"--interval", "60:01"}, "The interval cannot be greater than 60 minutes"},
        {"a start in the past",
         {"--interval", "60", "--start-at", "2020-01-01 10:00:00"},
         "The Start Date/Time Elapsed..."},
        {"an impossible date", {"--interval", "60", "--start-at", "2030-02-30 10:00:00"}, "Invalid Date"},
        {"a delay too long",
         {"--interval", "60", "--start-after", "31:00:00"},
         "The delay can be at most 30 days"},
        {"a bad scale",
         {"--interval", "60", "--inputs", badCsv},
         badCsv + ": line 2: max '12,5' is not a number"},
        {"a missing file",
         {"--interval", "60", "--inputs", dir.filePath("none.csv")},
         "cannot read " + dir.filePath("none.csv") + ": "},
    };
    for (const auto& c : cases) {
        const QString trace = dir.filePath(QString("%1.txt").arg(c.name));
        const CliRun r = cli(
            QStringList{"configure", "--port", sim.path(), "--stop", "cyclic", "--trace", trace} + c.args);
        EXPECT_EQ(r.exitCode, 1) << c.name;
        EXPECT_TRUE(r.err.startsWith(c.message)) << c.name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.name;
        for (char letter : {'A', 'H', 'C'})
            EXPECT_EQ(framesSent(readFile(trace), letter), 0) << c.name << ' ' << letter;
    }
    EXPECT_TRUE(cli({"status", "--port", sim.path()}).out.contains("Run state:     stopped"));
}

TEST(CliConfigure, InputsOfAModelWithFixedInputsAreRefused)
{
    // As its configuration dialog offers no Scaling: nothing is sent, the model is named.
    QTemporaryDir dir;
    const QString inputs =
        write(dir, "inputs.csv", "input,active,function,unit,max,min\n1,1,Volts,V,10,0\n");
    const struct {
        const char* code;
        const char* model;
    } cases[] = {{"293", "ZK-293 Volt"}, {"485", "ZK-485 Octo"}};
    for (const auto& c : cases) {
        SimProcess sim({"--model", c.code});
        ASSERT_FALSE(sim.path().isEmpty());
        const QString trace = dir.filePath(QString("%1.txt").arg(c.code));
        const CliRun r = cli({"configure", "--port", sim.path(), "--interval", "60", "--stop", "full",
                              "--comment", "rescaled", "--inputs", inputs, "--trace", trace});
        EXPECT_EQ(r.exitCode, 1) << c.code;
        EXPECT_EQ(r.err, QString("The inputs of the %1 are fixed (its configuration has no Scaling): --inputs "
                                 "cannot change them; nothing was sent\n")
                             .arg(c.model))
            << c.code;
        EXPECT_TRUE(r.out.isEmpty()) << c.code;
        for (char letter : {'A', 'H', 'C'})
            EXPECT_EQ(framesSent(readFile(trace), letter), 0) << c.code << ' ' << letter;
        EXPECT_EQ(cli({"configure", "--port", sim.path(), "--interval", "60", "--stop", "full"}).exitCode, 0)
            << c.code << ": without --inputs it is configured";
    }
}

TEST(CliConfigure, UsageErrors)
{
    const QStringList base = {"configure", "--port", "sim"};
    const QStringList cases[] = {
        {"--stop", "cyclic"}, // no interval
        {"--interval", "60"}, // no stop mode
        {"--interval", "1:75", "--stop", "cyclic"}, // seconds above 59
        {"--interval", "60", "--stop", "sometimes"},
        {"--interval", "60", "--stop", "full", "--comment", QString(51, 'x')},
        {"--interval", "60", "--stop", "full", "--start", "later"},
        {"--interval", "60", "--stop", "full", "--start", "now", "--start-after", "00:01:00"},
        {"--interval", "60", "--stop", "full", "--start-at", "tomorrow"},
        {"--interval", "60", "--stop", "full", "--bogus"},
    };
    for (const QStringList& extra : cases) {
        const CliRun r = cli(base + extra);
        EXPECT_EQ(r.exitCode, 2) << extra.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("quorzk-cli configure: ")) << extra.join(' ').toStdString();
    }
    EXPECT_EQ(cli({"configure", "--interval", "60", "--stop", "full"}).exitCode, 2) << "no port";
}

TEST(CliStop, ReportsWithoutYesAndStopsWithIt)
{
    SimProcess sim({"--model", "101", "--running"});
    ASSERT_FALSE(sim.path().isEmpty());
    // Without --yes the run state is the answer, not a failure.
    const CliRun ask = cli({"stop", "--port", sim.path()});
    EXPECT_EQ(ask.exitCode, 0);
    EXPECT_EQ(ask.err.trimmed(), "Quorvant running\nConfirming stop ?");
    EXPECT_TRUE(ask.out.startsWith("Run state: running")) << ask.out.toStdString();
    EXPECT_TRUE(cli({"status", "--port", sim.path()}).out.contains("Run state:     recording"));

    const CliRun stop = cli({"stop", "--port", sim.path(), "--yes"});
    EXPECT_EQ(stop.exitCode, 0) << stop.err.toStdString();
    EXPECT_EQ(stop.out, "Run state: stopped\n");
    EXPECT_TRUE(cli({"status", "--port", sim.path()}).out.contains("Run state:     stopped"));

    const CliRun again = cli({"stop", "--port", sim.path()});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.err.trimmed(), "Quorvant Already stopped");
}

TEST(CliStop, ALoggerThatDoesNotAnswer)
{
    SimProcess sim({"--silent"});
    ASSERT_FALSE(sim.path().isEmpty());
    for (const QStringList& extra : {QStringList{}, QStringList{"--yes"}}) {
        const CliRun r = cli(QStringList{"stop", "--port", sim.path()} + extra);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.split('\n', Qt::SkipEmptyParts),
                  (QStringList{"Please Connect The Quorvant", "no logger answers on " + sim.path()}));
    }
    EXPECT_EQ(cli({"stop"}).exitCode, 2);
}

} // namespace
} // namespace qz::test
