// The comma-separated export: read back with a strict reader, it gives the recording's
// times and its values as the conversion gives them (not rounded for the display); its
// fields are quoted only when they must be, in every locale alike, and no name runs as a
// spreadsheet formula.
#include "recording/csv_export.h"

#include "model/values.h"
#include "platform/progress.h"
#include "recording_fixture.h"
#include "support/csv_reader.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>

#include <cmath>

namespace qz::test {
namespace {

class CsvExport : public RecordingTest {
protected:
    static QByteArray Export(const RecordingData& r, ExportKind kind = ExportKind::Csv)
    {
        return Export(r, wholeRecording(r), kind);
    }
    static QByteArray Export(const RecordingData& r, const DataRange& range,
                             ExportKind kind = ExportKind::Csv)
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        NullProgress progress;
        EXPECT_EQ(exportTo(out, r, range, kind, progress).result, ExportResult::Done);
        return out.data();
    }
    static CsvTable read(const RecordingData& r, const DataRange& range)
    {
        CsvTable t = readCsv(Export(r, range));
        EXPECT_TRUE(t.ok()) << t.error.toStdString();
        return t;
    }
    static CsvTable read(const RecordingData& r)
    {
        CsvTable t = readCsv(Export(r));
        EXPECT_TRUE(t.ok()) << t.error.toStdString();
        return t;
    }
    // The logger's time of measurement k as the reader gives it, in ISO 8601 (counted on
    // a clock without zone so that no daylight saving moves it).
    static QString timeOf(const RecordingData& r, int k)
    {
        const double days = r.reader().recordDateTime(k);
        return QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC)
            .addSecs(qRound64(days * 86400))
            .toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
    }
};

TEST_F(CsvExport, MatchesGolden)
{
    auto r = load(coldStore().build());
    checkGolden(QStringLiteral("cold_store.csv"), Export(*r));
}

TEST_F(CsvExport, ReadBackGivesTheRecordingsTimesAndValues)
{
    auto r = load(coldStore().build());
    const CsvTable t = read(*r);
    ASSERT_EQ(t.rows.size(), 1u + 100);
    EXPECT_EQ(t.rows[0], QStringList({"time", "Temp (\u00B0C)", "Humidity (%RH)", "Pressure (bar)"}));
    const int inputs[] = {0, 1, 4};
    for (int k = 1; k <= 100; ++k) {
        const QStringList& row = t.rows[std::size_t(k)];
        ASSERT_EQ(row.size(), 4) << "measurement " << k;
        EXPECT_EQ(row[0], timeOf(*r, k));
        for (int c = 0; c < 3; ++c) {
            const int i = inputs[c];
            const long double want = r->physicalValue(i, r->sample(i, k));
            bool number = false;
            const double got = row[c + 1].toDouble(&number);
            ASSERT_TRUE(number) << row[c + 1].toStdString();
            // The conversion's value to 15 significant digits of the column, unrounded
            // by the display's resolution.
            EXPECT_NEAR(got, double(want), 1e-12) << "measurement " << k << " input " << i + 1;
            QString digits = row[c + 1];
            digits.remove('-').remove('.');
            while (digits.startsWith('0'))
                digits.remove(0, 1);
            EXPECT_LE(digits.size(), 15) << row[c + 1].toStdString();
        }
    }
    // Measurement 1 lies one step (5 min) after the stamp.
    EXPECT_EQ(t.rows[1], QStringList({"2001-03-05T14:12:09", "22.5", "20", "8.65"}));
}

TEST_F(CsvExport, ValuesAreTheTextExportsUnroundedWithAPointInEveryLocale)
{
    // The text export's columns are the same values rounded to the input's resolution;
    // the decimal point and the bytes stay what they are whatever the locale.
    auto r = load(wrappedRing().build());
    const QByteArray inC = Export(*r);
    const QList<QByteArray> text = Export(*r, ExportKind::Text).split('\n');
    const CsvTable t = readCsv(inC);
    ASSERT_TRUE(t.ok()) << t.error.toStdString();
    ASSERT_EQ(t.rows.size(), 1u + 900);
    int unrounded = 0;
    for (int k = 1; k <= 900; k += 37) {
        QList<QByteArray> fields = text[14 + k - 1].trimmed().split('\t');
        fields.remove(0, 2); // the date-time and the empty column
        ASSERT_EQ(qsizetype(t.rows[std::size_t(k)].size()), fields.size() + 1);
        for (qsizetype c = 0; c < fields.size(); ++c) {
            const double csv = t.rows[std::size_t(k)][c + 1].toDouble();
            const double shown = fields[c].toDouble();
            const double resolution = double(r->conversion(int(c)).resolution);
            EXPECT_LE(std::fabs(csv - shown), std::fabs(resolution) / 2 + 1e-9) << "measurement " << k;
            unrounded += csv != shown;
        }
    }
    EXPECT_GT(unrounded, 0) << "the comma-separated values are not the display's";
    for (const QLocale& locale :
         {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::French, QLocale::France),
          QLocale(QLocale::Arabic, QLocale::Egypt)}) {
        QLocale::setDefault(locale);
        EXPECT_EQ(Export(*r), inC) << locale.name().toStdString();
    }
}

TEST_F(CsvExport, FieldsAreQuotedOnlyWhenTheyMustBe)
{
    const struct {
        const char* text;
        const char* field;
    } cases[] = {
        {"Temp (\u00B0C)", "Temp (\u00B0C)"},
        {"", ""},
        {"Flow, in", "\"Flow, in\""},
        {"a\"b", "\"a\"\"b\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"line\nfeed", "\"line\nfeed\""},
        {" spaced ", " spaced "},
        // What a spreadsheet would run as a formula shows as text.
        {"=1+1", "\"'=1+1\""},
        {"+41 (V)", "\"'+41 (V)\""},
        {"-20 probe", "\"'-20 probe\""},
        {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"=A\"B,C", "\"'=A\"\"B,C\""},
        {"Flow=in", "Flow=in"},
        {" =x", " =x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(csvField(QString::fromUtf8(c.text)), QString::fromUtf8(c.field)) << c.text;
}

TEST_F(CsvExport, ColumnNamesTrimFunctionAndUnit)
{
    const struct {
        const char* function;
        const char* unit;
        int input;
        const char* name;
    } cases[] = {
        {"Temp", "\u00B0C", 0, "Temp (\u00B0C)"},
        {"  Temp   ", " \u00B0C ", 0, "Temp (\u00B0C)"},
        {"Door", "", 1, "Door"},
        {"Door", "   ", 1, "Door"},
        {"", "V", 2, "Input 3 (V)"},
        {"         ", "     ", 7, "Input 8"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(csvColumnName(QString::fromUtf8(c.function), QString::fromUtf8(c.unit), c.input),
                  QString::fromUtf8(c.name))
            << c.function << "|" << c.unit;
    }
}

TEST_F(CsvExport, NamesThatNeedQuotesReadBackWhole)
{
    auto r = load(coldStore()
                      .input(0, {QStringLiteral("Flow, in"), QStringLiteral("\"m3\""), 0, 100, 0, 250 * 256})
                      .input(1, {QStringLiteral("  "), QStringLiteral("%RH"), 0, 100, 0, 250 * 256})
                      .build());
    const CsvTable t = read(*r);
    ASSERT_FALSE(t.rows.empty());
    EXPECT_EQ(t.rows[0], QStringList({"time", "Flow, in (\"m3\")", "Input 2 (%RH)", "Pressure (bar)"}));
    for (std::size_t k = 1; k < t.rows.size(); ++k)
        ASSERT_EQ(t.rows[k].size(), 4) << "row " << k;
}

TEST_F(CsvExport, AFunctionThatLooksLikeAFormulaIsReadAsText)
{
    auto r = load(coldStore()
                      .input(0, {QStringLiteral("=cmd|x"), QStringLiteral("V"), 0, 100, 0, 250 * 256})
                      .input(1, {QStringLiteral(" -Flow"), QStringLiteral("l"), 0, 100, 0, 250 * 256})
                      .build());
    const QByteArray csv = Export(*r);
    EXPECT_TRUE(csv.startsWith("time,\"'=cmd|x (V)\",\"'-Flow (l)\",Pressure (bar)\r\n")) << csv.left(80).toStdString();
    const CsvTable t = readCsv(csv);
    ASSERT_TRUE(t.ok()) << t.error.toStdString();
    EXPECT_EQ(t.rows[0], QStringList({"time", "'=cmd|x (V)", "'-Flow (l)", "Pressure (bar)"}));
}

TEST_F(CsvExport, NumbersKeepTheirDigitsAndDropTrailingZeros)
{
    const struct {
        long double value;
        int decimals;
        const char* text;
    } cases[] = {
        {22.5L, 13, "22.5"},
        {50.196078431372549L, 13, "50.1960784313725"},
        {1013.25L, 11, "1013.25"},
        {-3.5L, 2, "-3.5"},
        {100.0L, 0, "100"},
        {0.0L, 13, "0"},
        {-0.00000000000001L, 13, "0"}, // below the last digit: no "-0"
        {1e-7L, 20, "0.0000001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(csvNumber(c.value, c.decimals), QByteArray(c.text)) << c.text;
}

TEST_F(CsvExport, TheAverageOfAColumnIsTheInformationTextsAverage)
{
    // The information text averages the raw readings and converts once; the rows, summed
    // by a spreadsheet, give the same to the digits the text prints. Input 2's values fall
    // between the display's steps of 0.5 cm.
    auto r = load(coldStore().input(1, {QStringLiteral("Level"), QStringLiteral("cm"), 0, 100, 0, 255 * 256}).build());
    const CsvTable t = read(*r);
    ASSERT_EQ(t.rows.size(), 1u + 100);
    const QStringList info = infoLines(*r);
    const QString averages = info[10].mid(21);
    const int inputs[] = {0, 1, 4};
    for (int c = 0; c < 3; ++c) {
        long double sum = 0;
        for (std::size_t k = 1; k < t.rows.size(); ++k)
            sum += t.rows[k][c + 1].toDouble();
        const double mean = double(sum / 100);
        const QString expected =
            (formatValueShort(mean) + ' ' + r->reader().inputUnit(inputs[c])).rightJustified(14, ' ');
        EXPECT_EQ(averages.mid(14 * c, 14), expected) << "input " << inputs[c] + 1;
    }
}

TEST_F(CsvExport, FollowsTheInputsAndTheMeasurementsOfTheRange)
{
    auto r = load(coldStore().build());
    DataRange zoom = wholeRecording(*r);
    zoom.inputs[1] = false;
    zoom.first = 50;
    zoom.last = 52;
    const CsvTable t = read(*r, zoom);
    ASSERT_EQ(t.rows.size(), 1u + 3);
    EXPECT_EQ(t.rows[0], QStringList({"time", "Temp (\u00B0C)", "Pressure (bar)"}));
    // 50 steps of 5 minutes after 14:07:09.
    EXPECT_EQ(t.rows[1][0], "2001-03-05T18:17:09");
    EXPECT_EQ(t.rows[3][0], "2001-03-05T18:27:09");

    zoom.inputs.fill(false);
    EXPECT_EQ(Export(*r, zoom),
              QByteArray("time\r\n2001-03-05T18:17:09\r\n2001-03-05T18:22:09\r\n2001-03-05T18:27:09\r\n"));
}

TEST_F(CsvExport, TimesCrossDaysAndCenturiesWithFourDigitYears)
{
    auto r = load(wrappedRing().build()); // hourly from 31/12/99 22:00:00
    const CsvTable t = read(*r);
    ASSERT_GT(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[1][0], "1999-12-31T23:00:00");
    EXPECT_EQ(t.rows[2][0], "2000-01-01T00:00:00");
    EXPECT_EQ(t.rows.back()[0], timeOf(*r, 900));
}

TEST_F(CsvExport, AFileHasNoByteOrderMarkAndEndsItsLastLine)
{
    auto r = load(twoMeasurements().build());
    const QString path = scratch(QStringLiteral("pair.csv"));
    NullProgress progress;
    ASSERT_EQ(exportFile(path, *r, wholeRecording(*r), ExportKind::Csv, progress).result, ExportResult::Done);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(),
              QByteArray("time,Volt (V)\r\n2005-06-15T10:01:30,2\r\n2005-06-15T10:03:00,8\r\n"));
}

} // namespace
} // namespace qz::test
