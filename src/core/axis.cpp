// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/axis.h"

#include <cmath>

namespace rs232 {

namespace {

// The difference, the product and the sum are each rounded to a double, in this order, so that with
// the minimum at 0 a double followed by a halve gives back the maximum exactly.
double scaledMaximum(const AxisRange &range, double factor)
{
    const double span = range.maximum - range.minimum;
    const double scaled = span * factor;
    return range.minimum + scaled;
}

// The span that the new maximum really gives: far from zero, adding a small span to the minimum can
// round it away.
bool drawable(double minimum, double maximum)
{
    const double span = maximum - minimum;
    return std::isfinite(maximum) && std::isfinite(span) && span > 0.0;
}

} // namespace

AxisRange DoubleTimeSpan(AxisRange range)
{
    const double maximum = scaledMaximum(range, 2.0);
    if (!drawable(range.minimum, maximum) || maximum - range.minimum > kMaxTimeSpan)
        return range;
    return {range.minimum, maximum};
}

AxisRange HalveTimeSpan(AxisRange range)
{
    const double maximum = scaledMaximum(range, 0.5);
    if (!drawable(range.minimum, maximum) || maximum - range.minimum < kMinTimeSpan)
        return range;
    return {range.minimum, maximum};
}

} // namespace rs232
