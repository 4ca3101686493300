// Inputs settings from a CSV file: what is read, and each kind of bad line refused with
// its number.
#include "config/inputs_csv.h"
#include "model/locale_guard.h"
#include "support/print_qt.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

TEST(InputsCsv, ReadsRowsInTheFilesOrder)
{
    // A German locale must not change how the file's numbers read.
    LocaleGuard locale(LocaleGuard::german());
    const QByteArray file = "\xEF\xBB\xBF" // a byte order mark
                            "input,active,function,unit,max,min\r\n"
                            "3,0,\"Back,door\",%,100,0\r\n"
                            "\r\n"
                            " 1 , 1 , Air , \xC2\xB0"
                            "C , 125.5 , -40\n";
    const InputsCsv csv = parseInputsCsv(file);
    ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
    ASSERT_EQ(csv.settings.size(), 2u);
    const InputSetting& door = csv.settings[0];
    EXPECT_EQ(door.input, 2);
    EXPECT_FALSE(door.active);
    EXPECT_EQ(door.function, "Back,door");
    EXPECT_EQ(door.unit, "%");
    EXPECT_EQ(door.scaleHigh, 100);
    EXPECT_EQ(door.scaleLow, 0);
    const InputSetting& air = csv.settings[1];
    EXPECT_EQ(air.input, 0);
    EXPECT_TRUE(air.active);
    EXPECT_EQ(air.function, "Air");
    EXPECT_EQ(air.unit,
              QString::fromUtf8("\xC2\xB0"
                                "C"));
    EXPECT_EQ(air.scaleHigh, 125.5);
    EXPECT_EQ(air.scaleLow, -40);
}

TEST(InputsCsv, QuotesInsideQuotedFields)
{
    const InputsCsv csv = parseInputsCsv("input,active,function,unit,max,min\n"
                                         "8,1,\"a \"\"b\"\"\",u,1,0\n");
    ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
    EXPECT_EQ(csv.settings.at(0).function, "a \"b\"");
}

TEST(InputsCsv, BadLinesAreRefusedWithTheirNumberAndReason)
{
    const QByteArray header = "input,active,function,unit,max,min\n";
    struct Case {
        const char* name;
        QByteArray file;
        const char* error;
    } cases[] = {
        {"empty file", "", "line 1: the header must be input,active,function,unit,max,min"},
        {"other header", "input;active;function;unit;max;min\n",
         "line 1: the header must be input,active,function,unit,max,min"},
        {"missing field", header + "1,1,Air,C,125\n", "line 2: 6 fields expected, found 5"},
        {"extra field", header + "1,1,Air,C,125,0,9\n", "line 2: 6 fields expected, found 7"},
        {"input 0", header + "0,1,Air,C,125,0\n", "line 2: input must be 1 to 8, not '0'"},
        {"input 9", header + "9,1,Air,C,125,0\n", "line 2: input must be 1 to 8, not '9'"},
        {"input twice", header + "2,1,A,C,1,0\n\n2,0,B,C,1,0\n", "line 4: input 2 is listed twice"},
        {"active 2", header + "1,2,Air,C,125,0\n", "line 2: active must be 0 or 1, not '2'"},
        {"long function", header + "1,1,Temperature,C,125,0\n",
         "line 2: function 'Temperature' has more than 9 characters"},
        {"long unit", header + "1,1,Air,Kelvin,125,0\n", "line 2: unit 'Kelvin' has more than 5 characters"},
        {"unit outside Latin-1", header + "1,1,Air,\xE2\x84\x83,125,0\n",
         "line 2: unit '\xE2\x84\x83' has characters the logger cannot hold"},
        {"comma decimal", header + "1,1,Air,C,\"12,5\",0\n", "line 2: max '12,5' is not a number"},
        {"min not a number", header + "1,1,Air,C,125,low\n", "line 2: min 'low' is not a number"},
        {"beyond the 6-byte real", header + "1,1,Air,C,1e39,0\n",
         "line 2: max 1e39 is too large for a scale value (largest 1.7E38)"},
        {"too large for a double", header + "1,1,Air,C,1e400,0\n",
         "line 2: max 1e400 is too large for a scale value (largest 1.7E38)"},
        {"too small for the 6-byte real", header + "1,1,Air,C,125,1e-39\n",
         "line 2: min 1e-39 is too small for a scale value (smallest 2.94E-39, or 0)"},
        {"far too small", header + "1,1,Air,C,-1e-300,0\n",
         "line 2: max -1e-300 is too small for a scale value (smallest 2.94E-39, or 0)"},
        {"too small for a double", header + "1,1,Air,C,125,1e-400\n",
         "line 2: min 1e-400 is too small for a scale value (smallest 2.94E-39, or 0)"},
        {"open quote", header + "1,1,\"Air,C,125,0\n", "line 2, column 5: a quote is not closed"},
        {"a number after a closing quote", header + "1,1,Air,C,\"12\"5,0\n",
         "line 2, column 15: characters after a closing quote"},
        {"a word after a closing quote", header + "1,1,\"Air\" Temp,C,125,0\n",
         "line 2, column 11: characters after a closing quote"},
        {"NUL in a function", header + QByteArray("1,1,A\0B,C,125,0\n", sizeof "1,1,A\0B,C,125,0\n" - 1),
         "line 2, column 6: function has a control character (U+0000)"},
        {"tab inside a quoted unit", header + "1,1,Air,\"\"\"\t\",125,0\n",
         "line 2, column 12: unit has a control character (U+0009)"},
        {"escape in the input number",
         header
             + "\x1B"
               "1,1,Air,C,125,0\n",
         "line 2, column 1: input has a control character (U+001B)"},
        {"not UTF-8",
         header
             + "1,1,Air,\xB0"
               "C,125,0\n",
         "the file is not UTF-8 text"},
    };
    for (const auto& c : cases) {
        const InputsCsv csv = parseInputsCsv(c.file);
        EXPECT_FALSE(csv.ok()) << c.name;
        EXPECT_EQ(csv.error, QString::fromUtf8(c.error)) << c.name;
        EXPECT_TRUE(csv.settings.empty()) << c.name;
    }
}

TEST(InputsCsv, ScalesAtTheEndsOfTheSixByteRealAreTaken)
{
    const InputsCsv csv = parseInputsCsv("input,active,function,unit,max,min\n"
                                         "1,1,Air,C,1.7e38,-2.94e-39\n"
                                         "2,1,Air,C,0,-0\n");
    ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
    EXPECT_EQ(csv.settings.at(0).scaleHigh, 1.7e38);
    EXPECT_EQ(csv.settings.at(0).scaleLow, -2.94e-39);
    EXPECT_EQ(csv.settings.at(1).scaleHigh, 0);
}

TEST(InputsCsv, AHeaderAloneListsNoInput)
{
    const InputsCsv csv = parseInputsCsv("input,active,function,unit,max,min\n");
    EXPECT_TRUE(csv.ok());
    EXPECT_TRUE(csv.settings.empty());
}

} // namespace
} // namespace qz::test
