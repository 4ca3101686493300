// The address rules of the memory panel's logger and file layers.
#include "support/print_qt.h"
#include "support_tools/dump_address.h"

#include <gtest/gtest.h>

#include <ostream>

namespace qz {
namespace {

const char* stepName(AddressStep step)
{
    switch (step) {
    case AddressStep::Here:
        return "ok";
    case AddressStep::Next:
        return "plus";
    case AddressStep::Previous:
        return "minus";
    }
    return "?";
}

TEST(ParseHexAddress, TakesOneToEightHexDigitsAndNothingElse)
{
    const struct {
        QString text;
        std::optional<std::uint32_t> value;
    } cases[] = {
        {"0000", 0},
        {"ff80", 0xFF80},
        {"Ff80", 0xFF80},
        {" 1A ", 0x1A},
        {"FFFFFFFF", 0xFFFFFFFF},
        {"100000000", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"12G4", std::nullopt},
        {"0x10", std::nullopt},
        {"-80", std::nullopt},
        {"$80", std::nullopt},
        {QString::fromUtf8("\xd9\xa3"), std::nullopt}, // a digit of another script
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseHexAddress(c.text), c.value) << c.text.toStdString();
}

TEST(AddressText, HasAtLeastFourUpperCaseDigits)
{
    EXPECT_EQ(addressText(0), "0000");
    EXPECT_EQ(addressText(0xab), "00AB");
    EXPECT_EQ(addressText(0x10000), "10000");
}

struct LoggerCase {
    QString box;
    AddressStep step;
    std::uint16_t address;
    QString after;
};

void PrintTo(const LoggerCase& c, std::ostream* os)
{
    *os << stepName(c.step) << " at \"" << c.box.toStdString() << "\"";
}

class LoggerAddressRules : public ::testing::TestWithParam<LoggerCase> {};

TEST_P(LoggerAddressRules, ReadAndShow)
{
    const LoggerCase& c = GetParam();
    const LoggerAddress a = loggerAddress(c.box, c.step);
    EXPECT_EQ(a.address, c.address);
    EXPECT_EQ(a.box, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, LoggerAddressRules,
    ::testing::Values(LoggerCase{"0000", AddressStep::Here, 0x0000, "0000"},
                      LoggerCase{"1a0", AddressStep::Here, 0x01A0, "1a0"}, // OK leaves the box
                      LoggerCase{"0080", AddressStep::Next, 0x0100, "0100"},
                      LoggerCase{"0100", AddressStep::Previous, 0x0080, "0080"},
                      LoggerCase{"0000", AddressStep::Previous, 0xFF80, "FF80"}, // wraps below 0
                      LoggerCase{"FF80", AddressStep::Next, 0x0000, "0000"}, // and past FFFF
                      LoggerCase{"20000", AddressStep::Here, 0x0000, "20000"}, // the 16 bits read
                      LoggerCase{"zz", AddressStep::Here, 0x0000, "0"},
                      LoggerCase{"zz", AddressStep::Next, 0x0080, "0080"},
                      LoggerCase{"", AddressStep::Previous, 0xFF80, "FF80"}),
    [](const auto& info) {
        return std::string(stepName(info.param.step)) + "_" + std::to_string(info.index);
    });

struct FileCase {
    QString box;
    AddressStep step;
    bool valid;
    std::uint32_t address;
    QString after;
};

void PrintTo(const FileCase& c, std::ostream* os)
{
    *os << stepName(c.step) << " at \"" << c.box.toStdString() << "\"";
}

class FileAddressRules : public ::testing::TestWithParam<FileCase> {};

TEST_P(FileAddressRules, ReadAndShow)
{
    const FileCase& c = GetParam();
    const FileAddress a = fileAddress(c.box, c.step);
    EXPECT_EQ(a.valid, c.valid);
    EXPECT_EQ(a.address, c.address);
    EXPECT_EQ(a.box, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FileAddressRules,
    ::testing::Values(FileCase{"ff", AddressStep::Here, true, 0x00FF, "00FF"},
                      FileCase{"10000", AddressStep::Here, true, 0x10000, "10000"}, // not above: kept
                      FileCase{"20000", AddressStep::Here, true, 0x0000, "20000"}, // above: read at 0
                      FileCase{"0100", AddressStep::Next, true, 0x0180, "0180"},
                      FileCase{"FF80", AddressStep::Next, true, 0x10000, "10000"},
                      FileCase{"10000", AddressStep::Next, true, 0x0000, "0000"},
                      FileCase{"0040", AddressStep::Previous, true, 0x0000, "0000"},
                      FileCase{"0180", AddressStep::Previous, true, 0x0100, "0100"},
                      FileCase{"xyz", AddressStep::Here, false, 0, "xyz"},
                      FileCase{"", AddressStep::Next, false, 0, ""}),
    [](const auto& info) {
        return std::string(stepName(info.param.step)) + "_" + std::to_string(info.index);
    });

} // namespace
} // namespace qz
