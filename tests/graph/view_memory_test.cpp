// The display choices of a recording kept in the settings file and found again.
#include "graph/view_memory.h"
#include "graph_fixture.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

class ViewMemoryTest : public ::testing::Test {
protected:
    std::shared_ptr<const RecordingData> make(const ImageBuilder& b) const
    {
        return RecordingData::fromImage(b.build(), 0, fixture_.programFolder()).data;
    }
    GraphFixture fixture_;
};

TEST_F(ViewMemoryTest, ChoicesComeBackForTheSameRecordingOnly)
{
    const auto rec = make(threeInputs()); // inputs 1, 3 and 6
    ASSERT_TRUE(rec);
    EXPECT_EQ(viewSection(*rec), "Graph 4711 2001-03-12 14:21:00");
    DisplaySettings s = initDisplaySettings(rec->reader().inputMask());
    s.shown[2] = false;
    s.autoScale = false;
    s.ownScales = true;
    s.grid = false;
    s.leftAxisInput = 5;
    s.rightAxisInput = -1;
    ColourTable c = defaultColours();
    c[6] = 0x123456;
    IniFile file = IniFile::fromText(QStringLiteral("; mine\r\n[Files]\r\nLastFolder=/tmp\r\n"));
    rememberView(file, *rec, s, c);
    EXPECT_TRUE(file.text().startsWith(QStringLiteral("; mine\r\n[Files]\r\nLastFolder=/tmp\r\n")));
    EXPECT_EQ(file.value(viewSection(*rec), QStringLiteral("Inputs")), "1,6");

    DisplaySettings back = initDisplaySettings(rec->reader().inputMask());
    ColourTable colours = defaultColours();
    ASSERT_TRUE(recallView(IniFile::fromText(file.text()), *rec, back, colours));
    EXPECT_EQ(back, s);
    EXPECT_EQ(colours, c);

    // Another start of the same logger finds nothing.
    const auto later = make(threeInputs().start(1, 3, 13, 8, 0, 0));
    DisplaySettings other = initDisplaySettings(later->reader().inputMask());
    EXPECT_FALSE(recallView(file, *later, other, colours));
    EXPECT_EQ(other, initDisplaySettings(later->reader().inputMask()));
}

TEST_F(ViewMemoryTest, WhatCannotBeReadKeepsWhatItWas)
{
    const auto rec = make(threeInputs());
    ASSERT_TRUE(rec);
    const QString section = viewSection(*rec);
    IniFile file;
    file.setValue(section, QStringLiteral("Inputs"), QStringLiteral("1,x"));
    file.setValue(section, QStringLiteral("Colours"), QStringLiteral("FF0000,00FF00")); // not eight
    file.setValue(section, QStringLiteral("Grid"), QStringLiteral("maybe"));
    file.setValue(section, QStringLiteral("Axes"), QStringLiteral("2,6")); // input 2 not recorded
    file.setValue(section, QStringLiteral("OwnScales"), QStringLiteral("1"));
    const DisplaySettings before = initDisplaySettings(rec->reader().inputMask());
    DisplaySettings s = before;
    ColourTable c = defaultColours();
    ASSERT_TRUE(recallView(file, *rec, s, c));
    EXPECT_EQ(s.shown, before.shown);
    EXPECT_EQ(c, defaultColours());
    EXPECT_TRUE(s.grid);
    EXPECT_EQ(s.leftAxisInput, before.leftAxisInput);
    EXPECT_EQ(s.rightAxisInput, 5);
    EXPECT_TRUE(s.ownScales);
}

} // namespace
} // namespace qz::test
