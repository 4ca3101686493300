#include "app/ui/window_geometry.h"

#include <gtest/gtest.h>

#include <ostream>

namespace qz {
namespace {

struct PlaceCase {
    const char* name;
    QRect saved;
    QList<QRect> screens;
    std::optional<QRect> placed;
};

void PrintTo(const PlaceCase& c, std::ostream* os)
{
    *os << c.name;
}

class RestoredGeometryTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(RestoredGeometryTest, UsesASavedPlaceOnlyWhereItCanBeReached)
{
    const PlaceCase& c = GetParam();
    const std::optional<QRect> placed = restoredGeometry(c.saved, c.screens);
    ASSERT_EQ(placed.has_value(), c.placed.has_value());
    if (placed) {
        EXPECT_EQ(*placed, *c.placed);
    }
}

const QRect kLeft(0, 0, 1920, 1050);
const QRect kRight(1920, 0, 1280, 1000);

const PlaceCase kPlaces[] = {
    {"on_the_screen", QRect(100, 80, 708, 560), {kLeft}, QRect(100, 80, 708, 560)},
    {"on_a_second_screen", QRect(2000, 100, 708, 560), {kLeft, kRight}, QRect(2000, 100, 708, 560)},
    {"second_screen_gone", QRect(2000, 100, 708, 560), {kLeft}, std::nullopt},
    {"above_the_screen", QRect(100, -200, 708, 560), {kLeft}, std::nullopt},
    {"partly_right_of_the_screen", QRect(1500, 100, 708, 560), {kLeft}, QRect(1212, 100, 708, 560)},
    {"larger_than_the_screen", QRect(0, 0, 2500, 1400), {kLeft}, QRect(0, 0, 1920, 1050)},
    {"barely_a_corner_shown", QRect(1880, 100, 708, 560), {kLeft}, std::nullopt},
    {"no_screens", QRect(0, 0, 708, 560), {}, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Places, RestoredGeometryTest, ::testing::ValuesIn(kPlaces),
                         [](const ::testing::TestParamInfo<PlaceCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(GeometryText, ReadsBackWhatItWritesAndRefusesTheRest)
{
    const QRect r(-5, 20, 708, 560);
    EXPECT_EQ(geometryText(r), "-5,20,708,560");
    EXPECT_EQ(parseGeometry(geometryText(r)), r);
    for (const char* bad : {"", "1,2,3", "1,2,3,x", "1,2,0,5", "1,2,3,4,5"})
        EXPECT_FALSE(parseGeometry(QString::fromLatin1(bad))) << bad;
}

} // namespace
} // namespace qz

namespace qz {
namespace {

TEST(FirstGeometry, TakesMostOfTheScreenButNeverLessThanTheLeastNorMoreThanTheScreen)
{
    const QSize least(708, 560);
    const struct {
        const char* name;
        QRect available;
        QRect placed;
    } cases[] = {
        {"large", QRect(0, 0, 1920, 1050), QRect(192, 105, 1536, 840)},
        {"beside a panel", QRect(64, 0, 1856, 1050), QRect(250, 105, 1484, 840)},
        {"smaller than 80 % of it", QRect(0, 0, 800, 600), QRect(46, 20, 708, 560)},
        {"smaller than the least", QRect(0, 0, 640, 480), QRect(0, 0, 640, 480)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(firstGeometry(c.available, least), c.placed) << c.name;
}

} // namespace
} // namespace qz
