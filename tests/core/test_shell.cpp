#include "core/shell.h"

#include <gtest/gtest.h>

using namespace rs232;

TEST(ClockText, DateTimeThenDayName)
{
    struct Case
    {
        LocalDateTime t;
        const char *text;
    };
    const Case cases[] = {
        {{2011, 3, 2, 9, 5, 3, 4}, "2011.03.02 09:05:03    szerda  "},
        {{2011, 3, 6, 23, 59, 59, 1}, "2011.03.06 23:59:59    vasárnap  "},
        {{2011, 3, 5, 0, 0, 0, 7}, "2011.03.05 00:00:00    szombat  "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ClockText(c.t), c.text);
}

TEST(ScreenTooSmall, ExactlyTheTwoComparisons)
{
    EXPECT_FALSE(ScreenTooSmall(1280, 900));
    EXPECT_FALSE(ScreenTooSmall(1440, 900));
    EXPECT_FALSE(ScreenTooSmall(1920, 1080));
    EXPECT_TRUE(ScreenTooSmall(1280, 899));
    EXPECT_TRUE(ScreenTooSmall(1279, 1024));
}
