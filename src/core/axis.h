// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace rs232 {

// The bottom (time) axis of a chart: bit times on the data packet charts, microseconds on the
// transmit/receive charts.
struct AxisRange
{
    double minimum = 0.0;
    double maximum = 0.0;
    friend constexpr bool operator==(const AxisRange &, const AxisRange &) = default;
};

// The spans the axis commands may reach. Without them enough presses would make the span infinite or
// zero and the chart could no longer be drawn. Both lie about a million times beyond anything a run
// shows (a data packet spans 12 to 14 bit times; a transmit/receive run spans from about 10 µs at
// 1,000,000 bps to about 10 s at 100 bps with the longest delay), and a run's span reaches either after
// a few dozen presses.
inline constexpr double kMinTimeSpan = 1.0e-6;
inline constexpr double kMaxTimeSpan = 1.0e12;

// New maximum = minimum + (maximum - minimum) * 2; the minimum stays. A press that would leave a span
// above kMaxTimeSpan or no finite span returns the range unchanged.
AxisRange DoubleTimeSpan(AxisRange range);

// New maximum = minimum + (maximum - minimum) * 0.5; the minimum stays. A press that would leave a span
// below kMinTimeSpan, or a maximum no longer above the minimum, returns the range unchanged.
AxisRange HalveTimeSpan(AxisRange range);

} // namespace rs232
