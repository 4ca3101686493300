// quorzk-cli readings end to end: lines and CSV from the in-process simulated logger (a
// four-input ZK-101), a logger on quorzk-sim's pseudo-terminal that stops answering, and
// Ctrl-C.
#include "cli_rig.h"

#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

namespace qz::test {
namespace {

QStringList lines(const QString& text)
{
    return text.split('\n');
}

// quorzk-cli with a locale of its own.
CliRun cliIn(const QString& locale, const QStringList& args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", locale);
    return cli(args, env);
}

// "3 Supply    12.525 V": number, function name in nine columns, value, unit.
const QRegularExpression kInputLine(QStringLiteral("^[1-8] .{9} -?[0-9]+([.,][0-9]+)? \\S+$"));

TEST(CliReadings, OneLinePerInputAndReadingInTheLocale)
{
    const CliRun r = cliIn("de_DE.UTF-8", {"readings", "--port", "sim", "--count", "2", "--every", "0"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, "");
    const QStringList out = lines(r.out);
    ASSERT_EQ(out.size(), 4 + 1 + 4 + 1) << r.out.toStdString();
    EXPECT_EQ(out[4], "") << "a blank line between readings";
    for (int i : {0, 1, 2, 3, 5, 6, 7, 8})
        EXPECT_TRUE(kInputLine.match(out[i]).hasMatch()) << out[i].toStdString();
    EXPECT_TRUE(out[0].startsWith("1 Temp In   ")) << out[0].toStdString();
    EXPECT_TRUE(out[0].endsWith(QString::fromUtf8(" °C"))) << out[0].toStdString();
    EXPECT_TRUE(out[2].contains(',')) << "the locale's decimal comma: " << out[2].toStdString();
}

TEST(CliReadings, RawAddsCountsAndTheBatteryLine)
{
    const CliRun r = cliIn("C.UTF-8", {"readings", "--port", "sim", "--count", "1", "--raw"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList out = lines(r.out);
    ASSERT_EQ(out.size(), 4 + 1 + 1);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(out[i].contains(QRegularExpression("  AD Cnt [0-9]{1,3}$"))) << out[i].toStdString();
    EXPECT_EQ(out[4], "Vbatt : 3.60 V");
}

TEST(CliReadings, CsvKeepsAPointWhateverTheLocale)
{
    const CliRun r =
        cliIn("de_DE.UTF-8", {"readings", "--port", "sim", "--count", "2", "--every", "0", "--csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList out = lines(r.out);
    ASSERT_EQ(out.size(), 1 + 2 + 1);
    EXPECT_EQ(out[0],
              QString::fromUtf8("time,1 Temp In (°C),2 Temp Out (°C),3 Temp Box (°C),4 Humidity (%RH)"));
    const QRegularExpression row(QStringLiteral(
        "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d(,-?[0-9]+(\\.[0-9]+)?){4}$"));
    EXPECT_TRUE(row.match(out[1]).hasMatch()) << out[1].toStdString();
    EXPECT_TRUE(row.match(out[2]).hasMatch()) << out[2].toStdString();
}

TEST(CliReadings, ALoggerThatStopsAnsweringEndsItWithAFailure)
{
    // Frames 0..6 read the logger (ping, header, clock, battery); 7 and 8 are readings.
    SimProcess sim({"--fault", "silence,frame=9,frames=0"});
    ASSERT_FALSE(sim.path().isEmpty());
    const CliRun r = cli({"readings", "--port", sim.path(), "--count", "5", "--every", "0"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(lines(r.out).size(), 8 + 1 + 8 + 1) << r.out.toStdString();
    EXPECT_EQ(r.err, "Device Not Responding\n");
}

TEST(CliReadings, NoLoggerNoReadings)
{
    SimProcess sim({"--silent"});
    ASSERT_FALSE(sim.path().isEmpty());
    const CliRun r = cli({"readings", "--port", sim.path(), "--count", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "no logger answers on " + sim.path() + "\n");
}

TEST(CliReadings, CtrlCEndsItCleanlyAndTheTraceIsWrittenAsItGoes)
{
    QTemporaryDir dir;
    const QString trace = dir.filePath("wire.txt");
    QProcess p;
    p.start(kBin + "/quorzk-cli", {"readings", "--port", "sim", "--every", "0.2", "--trace", trace});
    ASSERT_TRUE(p.waitForStarted(10000));
    ASSERT_TRUE(p.waitForReadyRead(30000)) << "no first reading";
    // The trace is written as the command goes: the reading just printed is in it.
    EXPECT_TRUE(readFile(trace).contains("> 24 23 24 46")) << readFile(trace).toStdString();
    ::kill(pid_t(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(out.endsWith("\n"));
    EXPECT_EQ(lines(out).size() % 5, 0) << "only whole readings: " << out.toStdString();
    EXPECT_TRUE(readFile(trace).contains("> 24 23 24 46")) << "the readings' frames are in the trace";
}

struct UsageCase {
    const char* what;
    QStringList args;
    const char* says;
};

void PrintTo(const UsageCase& c, std::ostream* os)
{
    *os << c.what;
}

class CliReadingsUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliReadingsUsage, IsRefusedWithItsReason)
{
    const UsageCase& c = GetParam();
    const CliRun r = cli(QStringList{"readings"} + c.args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.startsWith("quorzk-cli readings: " + QString::fromUtf8(c.says))) << r.err.toStdString();
    // The usage line follows, or, for an option it does not know, the way to the help.
    EXPECT_TRUE(r.err.contains("usage: quorzk-cli readings [--port PORT]")
                || r.err.endsWith("; see 'quorzk-cli readings --help'\n"))
        << r.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliReadingsUsage,
    ::testing::Values(
        UsageCase{"NoPort", {"--count", "1"}, "--port PORT is required"},
        UsageCase{"CountZero", {"--port", "sim", "--count", "0"}, "--count wants"},
        UsageCase{"CountNotANumber", {"--port", "sim", "--count", "many"}, "--count wants"},
        UsageCase{"NegativePeriod", {"--port", "sim", "--every", "-1"}, "--every wants"},
        UsageCase{"DecimalComma", {"--port", "sim", "--every", "0,5"}, "--every wants"},
        UsageCase{"PeriodWithoutValue", {"--port", "sim", "--every"}, "missing value after '--every'"},
        UsageCase{"UnknownOption", {"--port", "sim", "--fast"}, "unknown option '--fast'"},
        UsageCase{"OutputIsNotAnOption", {"--port", "sim", "--output", "x"}, "unknown option '--output'"},
        UsageCase{"StrayArgument", {"--port", "sim", "5"}, "unexpected argument '5'"}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace qz::test
