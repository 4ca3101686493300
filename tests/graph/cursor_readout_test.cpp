#include "graph/cursor_readout.h"
#include "graph_fixture.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace qz::test {
namespace {

struct ColumnCase {
    int first;
    int last;
    int x;
    int measurement;
};

void PrintTo(const ColumnCase& c, std::ostream* os)
{
    *os << "view " << c.first << ".." << c.last << " at x " << c.x;
}

class MeasurementAtTest : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(MeasurementAtTest, ColumnOfThePlotPicksItsMeasurement)
{
    const ColumnCase& c = GetParam();
    GraphLayout l; // W 280
    l.left = 60;
    l.right = 340;
    ViewRecord v;
    v.first = c.first;
    v.last = c.last;
    EXPECT_EQ(measurementAt(l, v, c.x), c.measurement);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, MeasurementAtTest,
    ::testing::Values(ColumnCase{1, 57, 61, 1}, // 56 x 1 div 280
                      ColumnCase{1, 57, 110, 11}, // 56 x 50 div 280 = 10
                      ColumnCase{1, 57, 338, 56}, // 56 x 278 div 280 = 55
                      ColumnCase{1, 57, 339, 57}, // the last inner column reaches the last
                      ColumnCase{11, 21, 339, 21},
                      ColumnCase{1, 60960, 339, 60743}, // more measurements than columns
                      ColumnCase{5, 5, 339, 5}, // never past the view
                      ColumnCase{1, 57, 20, 1}, // outside the frame: held inside the view
                      ColumnCase{1, 57, 400, 57}),
    [](const ::testing::TestParamInfo<ColumnCase>& info) {
        return "view_" + std::to_string(info.param.first) + "_" + std::to_string(info.param.last) + "_x_"
            + std::to_string(info.param.x);
    });

class ReadCursorTest : public ::testing::Test {
protected:
    GraphFixture fixture_;
};

TEST_F(ReadCursorTest, DateTimeThenEachDrawnInputsValueWithItsDigitsAndUnit)
{
    auto rec = fixture_.load(threeInputs());
    ASSERT_TRUE(rec);
    // Measurement 11 at 14:31: input 1 raw 100 (39.2 on 0..100, to 0.5), input 3 raw 189
    // (148.2 on 0..200, to 1), input 6 raw 80 (31.4, to 0.5).
    const CursorReadout r = readCursor(*rec, 11, false);
    const QString when = QStringLiteral(" 12/03/01 14:31:00 ");
    EXPECT_EQ(r.values, QStringList({when, "39.0 ", "148 ", "31.5 "}));
    EXPECT_EQ(r.units, QStringList({when, "degC", "%rH", "bar"}));

    // A hidden input has no column.
    DisplaySettings s = rec->settings();
    s.shown[2] = false;
    rec->setDisplaySettings(s);
    EXPECT_EQ(readCursor(*rec, 11, false).values, QStringList({when, "39.0 ", "31.5 "}));
    EXPECT_EQ(readCursor(*rec, 11, false).units, QStringList({when, "degC", "bar"}));
}

TEST_F(ReadCursorTest, DiagnosticReadoutShowsConverterCounts)
{
    auto rec = fixture_.load(threeInputs());
    ASSERT_TRUE(rec);
    const CursorReadout r = readCursor(*rec, 12, true);
    EXPECT_EQ(r.values, QStringList({" 12/03/01 14:32:00 ", "150 AD", "188 AD", "80 AD"}));
    EXPECT_EQ(r.units.size(), 4);
}

TEST_F(ReadCursorTest, TheModelsSupplementaryUnitFollowsEveryValue)
{
    // Inputs 1, 3 and 6 make the mask 0x25: the key is PrimUnit38, one for all inputs.
    fixture_.writeFile(QStringLiteral("QUORZK.INI"),
                       "[Device 224]\r\nPrimUnit1=wrong\r\nPrimUnit38=mV\r\n[Device 0]\r\nPrimUnit38=no\r\n");
    auto rec = fixture_.load(threeInputs());
    ASSERT_TRUE(rec);
    EXPECT_EQ(rec->data().readoutUnit(), "mV");
    EXPECT_EQ(readCursor(*rec, 11, false).values.mid(1), QStringList({"39.0 mV", "148 mV", "31.5 mV"}));
    // Raw counts carry no physical unit.
    EXPECT_EQ(readCursor(*rec, 11, true).values.at(1), "100 AD");
}

} // namespace
} // namespace qz::test
