// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The commands every waveform chart offers: stretch or shrink its time axis, copy it to the clipboard,
// print it on one landscape page, and (from its context menu) save it to a file. Each page's button
// handlers are one call to these functions with their own chart.

class Platform;
class QString;
class StepChart;

// Twice the time span is visible, starting at the same left edge (DoubleTimeSpan). A press that would
// make the span too long to draw does nothing.
void shrinkTimeAxis(StepChart &chart);

// Half the time span is visible, starting at the same left edge (HalveTimeSpan). A press that would
// make the span too short to draw does nothing.
void growTimeAxis(StepChart &chart);

// The chart at its on-screen size on a white background, exactly as shown, onto the clipboard. A chart
// that cannot be drawn gives one error message through the platform and false; the clipboard stays.
bool CopyChartImage(Platform &platform, const StepChart &chart);

// Asks the print dialog; when confirmed, prints the chart on one landscape page of the platform's
// printer and gives the printer back its former orientation. A printer that cannot be started or that
// refuses the job gives one error message through the platform and false, the orientation restored all
// the same. Cancelling prints nothing. Nothing is thrown: handlers call this from Qt connections.
bool PrintChartLandscape(Platform &platform, const StepChart &chart);

// Saves the chart as shown to the file the user picks through the platform: PNG, SVG or PDF by the
// file's extension. Cancelling does nothing; a file that cannot be written gives one error message and
// leaves no partial file behind.
void SaveChartToFile(Platform &platform, const StepChart &chart);

// The save dialog for a Value Change Dump: offers that type only, and the name it gives ends in ".vcd"
// (added when the user typed another or none). Empty when cancelled.
QString vcdFileName(Platform &platform, const QString &suggestedName);

// Gives the chart a context menu with "Mentés fájlba…", which runs SaveChartToFile.
void addChartContextMenu(StepChart &chart, Platform &platform);
