// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The commands every waveform chart offers: stretch or shrink its time axis, copy it to the clipboard,
// print it on one landscape page, and (from its context menu) save it to a file. Each page's button
// handlers are one call to these functions with their own chart.

class Platform;
class StepChart;

// Twice the time span is visible, starting at the same left edge (DoubleTimeSpan). A press that would
// make the span too long to draw does nothing.
void shrinkTimeAxis(StepChart &chart);

// Half the time span is visible, starting at the same left edge (HalveTimeSpan). A press that would
// make the span too short to draw does nothing.
void growTimeAxis(StepChart &chart);

// The chart at its on-screen size on a white background, exactly as shown, onto the clipboard.
void CopyChartImage(Platform &platform, const StepChart &chart);

// Asks the print dialog; when confirmed, prints the chart on one landscape page of the platform's
// printer and gives the printer back its former orientation. A printer that cannot be started or that
// refuses the job throws std::runtime_error with a message for the user (shown by the event loop), the
// orientation restored all the same. Cancelling prints nothing.
void PrintChartLandscape(Platform &platform, const StepChart &chart);

// Saves the chart as shown to the file the user picks through the platform: PNG, SVG or PDF by the
// file's extension. Cancelling does nothing; a file that cannot be written gives one error message and
// leaves no partial file behind.
void SaveChartToFile(Platform &platform, const StepChart &chart);

// Gives the chart a context menu with "Mentés fájlba…", which runs SaveChartToFile.
void addChartContextMenu(StepChart &chart, Platform &platform);
