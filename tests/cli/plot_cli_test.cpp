// quorzk-cli plot: the graph of a recording file as PNG, SVG or PDF, of the size asked,
// headless, and the refusals of what it cannot draw or must not write.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace {

const QString kCli = QStringLiteral(QUORZK_BINARY_DIR "/quorzk-cli");
const QString kCold = QStringLiteral(QUORZK_SOURCE_DIR "/tests/recording/golden/cold_store.qrv");

struct PlotRun {
    int status = -1;
    QByteArray err;
};

// Without a display: the tool must not need one.
PlotRun plot(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(kCli, QStringList{QStringLiteral("plot")} + args);
    PlotRun r;
    if (!p.waitForFinished(60000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = p.readAllStandardError();
    return r;
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

quint32 bigEndian(const QByteArray& b, int at)
{
    return (quint32(quint8(b[at])) << 24) | (quint32(quint8(b[at + 1])) << 16)
        | (quint32(quint8(b[at + 2])) << 8) | quint32(quint8(b[at + 3]));
}

class PlotCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFile::exists(kCli))
            GTEST_SKIP() << "quorzk-cli is not built";
        ASSERT_TRUE(dir_.isValid());
    }
    QString out(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

TEST_F(PlotCli, WritesEachFormatHeadlessAndThePngAtTheAskedSize)
{
    const PlotRun png = plot({kCold, "--output", out("cold.png"), "--size", "640x360"});
    ASSERT_EQ(png.status, 0) << png.err.toStdString();
    const QByteArray bytes = read(out("cold.png"));
    ASSERT_GT(bytes.size(), 24);
    EXPECT_EQ(bytes.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(bigEndian(bytes, 16), 640u);
    EXPECT_EQ(bigEndian(bytes, 20), 360u);

    ASSERT_EQ(plot({kCold, "--output", out("cold.svg"), "--size", "500x300"}).status, 0);
    const QByteArray svg = read(out("cold.svg"));
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 500 300\""));
    EXPECT_TRUE(svg.contains("Cold store 3"));

    ASSERT_EQ(plot({kCold, "--output", out("cold.pdf")}).status, 0);
    EXPECT_TRUE(read(out("cold.pdf")).startsWith("%PDF-"));
    // No temporary file is left beside them.
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 3);
}

TEST_F(PlotCli, ATimeRangeDrawsOnlyItsMeasurements)
{
    const QStringList range{"--from", "2001-03-05 15:00:00", "--to", "2001-03-05 16:00:00"};
    ASSERT_EQ(plot(QStringList{kCold, "--output", out("hour.png")} + range).status, 0);
    ASSERT_EQ(plot({kCold, "--output", out("whole.png")}).status, 0);
    EXPECT_NE(read(out("hour.png")), read(out("whole.png")));
}

TEST_F(PlotCli, SeveralRecordingsInOneGraphWithTheInputsChosen)
{
    ASSERT_EQ(plot({kCold, kCold, "--align", "start", "--inputs", "1,2", "--output", out("two.svg")}).status,
              0);
    const QString svg = QString::fromUtf8(read(out("two.svg")));
    // The legend names each recording's inputs; input 5 is left out.
    EXPECT_EQ(svg.count(QStringLiteral("cold_store: Temp")), 2) << svg.left(400).toStdString();
    EXPECT_TRUE(svg.contains(QStringLiteral("cold_store: Humidity")));
    EXPECT_FALSE(svg.contains(QStringLiteral("Pressure")));
    ASSERT_EQ(plot({kCold, "--own-scales", "--output", out("own.png")}).status, 0);
    ASSERT_EQ(plot({kCold, "--output", out("units.png")}).status, 0);
    EXPECT_NE(read(out("own.png")), read(out("units.png")));
}

struct Refusal {
    const char* name;
    QStringList args; // after the recording; OUT stands for a file in the test folder
    int status;
    const char* says;
};

void PrintTo(const Refusal& r, std::ostream* os)
{
    *os << r.name;
}

class PlotRefusals : public PlotCli, public ::testing::WithParamInterface<Refusal> {};

TEST_P(PlotRefusals, TellWhyOnStandardErrorAndWriteNothing)
{
    const Refusal& c = GetParam();
    QFile existing(out("there.png"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("mine");
    existing.close();
    QStringList args{kCold};
    for (const QString& a : c.args)
        args << (a.startsWith("OUT:") ? out(a.mid(4)) : a);
    const PlotRun r = plot(args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
    EXPECT_EQ(read(out("there.png")), "mine");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"there.png"});
}

const Refusal kRefusals[] = {
    {"no_output", {}, 2, "--output FILE.png|FILE.svg|FILE.pdf is required"},
    {"unknown_format", {"--output", "OUT:cold.gif"}, 2, "the output's extension chooses the format"},
    {"bad_size", {"--output", "OUT:a.png", "--size", "0x300"}, 2, "--size takes WIDTHxHEIGHT"},
    {"size_for_pdf", {"--output", "OUT:a.pdf", "--size", "300x300"}, 2, "--size applies to .png and .svg"},
    {"bad_time",
     {"--output", "OUT:a.png", "--from", "05/03/01 15:00"},
     2,
     "--from takes \"YYYY-MM-DD hh:mm:ss\""},
    {"reversed_range",
     {"--output", "OUT:a.png", "--from", "2001-03-05 16:00:00", "--to", "2001-03-05 15:00:00"},
     2,
     "--to lies before --from"},
    {"empty_range",
     {"--output", "OUT:a.png", "--from", "2001-03-05 15:00:00", "--to", "2001-03-05 15:01:00"},
     1,
     "no measurement of"},
    {"one_measurement",
     {"--output", "OUT:a.png", "--from", "2001-03-05 15:02:09", "--to", "2001-03-05 15:02:09"},
     1,
     "a graph needs two"},
    {"existing_output", {"--output", "OUT:there.png"}, 1, "already exists (--force replaces it)"},
    {"bad_inputs", {"--output", "OUT:a.png", "--inputs", "1,9"}, 2, "--inputs takes input numbers 1 to 8"},
    {"input_not_recorded", {"--output", "OUT:a.png", "--inputs", "3"}, 1, "input 3 is not recorded in"},
    {"bad_alignment", {"--output", "OUT:a.png", "--align", "end"}, 2, "--align takes start or clock"},
    {"nine_recordings",
     {kCold, kCold, kCold, kCold, kCold, kCold, kCold, kCold, "--output", "OUT:a.png"},
     2,
     "a graph shows at most 8 recordings"},
    {"file_and_logger",
     {"--logger", "Room 0", "--output", "OUT:a.png"},
     2,
     "a recording file or --logger, not both"},
    {"missing_folder", {"--output", "OUT:none/a.png"}, 1, "No such file or directory"},
};

INSTANTIATE_TEST_SUITE_P(Plot, PlotRefusals, ::testing::ValuesIn(kRefusals),
                         [](const ::testing::TestParamInfo<Refusal>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(PlotCli, TheToolLinksNoWidgetsAndNoPrintSupport)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {kCli});
    if (!ldd.waitForFinished(20000) || ldd.exitCode() != 0)
        GTEST_SKIP() << "ldd is not available";
    const QByteArray libraries = ldd.readAllStandardOutput();
    EXPECT_FALSE(libraries.contains("Qt6Widgets"));
    EXPECT_FALSE(libraries.contains("Qt6PrintSupport"));
}

} // namespace
