// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/axis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace rs232;

namespace {

enum class Press { Shrink, Grow };

AxisRange press(AxisRange range, Press p)
{
    return p == Press::Shrink ? DoubleTimeSpan(range) : HalveTimeSpan(range);
}

} // namespace

TEST(TimeSpan, PressesChangeOnlyTheMaximum)
{
    struct Case
    {
        const char *name;
        AxisRange from;
        std::initializer_list<Press> presses;
        AxisRange to;
    };
    const Case cases[] = {
        {"0..1200 shrink", {0, 1200}, {Press::Shrink}, {0, 2400}},
        {"0..1200 shrink, grow twice", {0, 1200}, {Press::Shrink, Press::Grow, Press::Grow}, {0, 600}},
        {"panned 100..300 shrink", {100, 300}, {Press::Shrink}, {100, 500}},
        {"panned 100..300 grow", {100, 300}, {Press::Grow}, {100, 200}},
        {"negative minimum stays", {-1, 11}, {Press::Grow}, {-1, 5}},
        {"data packet axis", {-1, 11.5}, {Press::Shrink}, {-1, 24}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        AxisRange range = c.from;
        for (Press p : c.presses)
            range = press(range, p);
        EXPECT_EQ(range, c.to);
    }
}

TEST(TimeSpan, ShrinkThenGrowRestoresExactlyFromZero)
{
    for (double maximum : {1200.0, 0.1, 11.5, 104166.66666666667, 1e-3, 3e9}) {
        SCOPED_TRACE(maximum);
        const AxisRange start{0.0, maximum};
        EXPECT_EQ(HalveTimeSpan(DoubleTimeSpan(start)), start);
        EXPECT_EQ(DoubleTimeSpan(HalveTimeSpan(start)), start);
    }
}

// Each step is rounded on its own: the difference, then the product, then the sum.
TEST(TimeSpan, RoundsEachStepToADouble)
{
    const AxisRange range{0.1, 0.7};
    const double span = 0.7 - 0.1;
    EXPECT_EQ(DoubleTimeSpan(range).maximum, 0.1 + span * 2.0);
    EXPECT_EQ(HalveTimeSpan(range).maximum, 0.1 + span * 0.5);
}

// Without a bound 2000 presses would reach an infinite or a zero span. The press that would leave the
// bounds does nothing, so the span stops at the last value inside them and the way back stays open.
TEST(TimeSpan, RepeatedPressesStopAtTheBounds)
{
    struct Case
    {
        const char *name;
        AxisRange from;
    };
    const Case cases[] = {
        {"data packet", {-1, 11}},
        {"transmit/receive", {0, 1200}},
        {"panned far right", {1e9, 1e9 + 1200}},
        {"negative", {-5e5, -4e5}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        AxisRange wide = c.from;
        AxisRange narrow = c.from;
        for (int i = 0; i < 2000; ++i) {
            wide = DoubleTimeSpan(wide);
            narrow = HalveTimeSpan(narrow);
        }
        for (const AxisRange &r : {wide, narrow}) {
            EXPECT_EQ(r.minimum, c.from.minimum);
            EXPECT_TRUE(std::isfinite(r.maximum));
            EXPECT_GT(r.maximum - r.minimum, 0.0);
        }
        const double wideSpan = wide.maximum - wide.minimum;
        EXPECT_LE(wideSpan, kMaxTimeSpan);
        EXPECT_GT(wideSpan * 2.0, kMaxTimeSpan) << "stopped at the last span inside the bound";
        EXPECT_EQ(DoubleTimeSpan(wide), wide);
        EXPECT_NE(HalveTimeSpan(wide), wide) << "the other button still works";

        // Far from zero the span is a multiple of the spacing of doubles there, hence the looser end.
        const double narrowSpan = narrow.maximum - narrow.minimum;
        EXPECT_GE(narrowSpan, kMinTimeSpan);
        EXPECT_LT(narrowSpan, 2.5 * kMinTimeSpan);
        EXPECT_EQ(HalveTimeSpan(narrow), narrow);
        EXPECT_NE(DoubleTimeSpan(narrow), narrow);
    }
}

TEST(TimeSpan, UndrawableRangesStayAsTheyAre)
{
    constexpr double Inf = std::numeric_limits<double>::infinity();
    constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double Max = std::numeric_limits<double>::max();
    const AxisRange cases[] = {
        {5, 5},      // no span to double or halve
        {-Max, Max}, // the span itself overflows
        {0, Inf},
        {0, NaN},
    };
    const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    for (const AxisRange &r : cases) {
        EXPECT_TRUE(same(DoubleTimeSpan(r).maximum, r.maximum)) << r.minimum << " .. " << r.maximum;
        EXPECT_TRUE(same(HalveTimeSpan(r).maximum, r.maximum)) << r.minimum << " .. " << r.maximum;
    }
}

// A range that a run set beyond a bound can still be brought back by the other button.
TEST(TimeSpan, ARangeBeyondABoundCanComeBack)
{
    const AxisRange huge{0, 4 * kMaxTimeSpan};
    EXPECT_EQ(DoubleTimeSpan(huge), huge);
    EXPECT_EQ(HalveTimeSpan(huge), (AxisRange{0, 2 * kMaxTimeSpan}));
    const AxisRange tiny{0, kMinTimeSpan / 4};
    EXPECT_EQ(HalveTimeSpan(tiny), tiny);
    EXPECT_EQ(DoubleTimeSpan(tiny), (AxisRange{0, kMinTimeSpan / 2}));
}
