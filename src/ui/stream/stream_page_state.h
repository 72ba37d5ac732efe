// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the byte string page keeps in measurement mode, shared by its two source files.

#include "capture/capture.h"
#include "stream/rate.h"
#include "stream/stream_run.h"
#include "ui/stream/stream_page.h"

#include <QString>

#include <optional>

struct StreamPage::Measurement
{
    QString path;
    rs232::capture::Capture capture;
    std::optional<rs232::capture::RateEstimate> estimate; // none when the line's rate cannot be told
};

// What measurement mode may change, as it was when the first capture was opened.
struct StreamPage::SavedSimulation
{
    std::optional<rs232::StreamRun> run;
    QString rxRate;
    double rxClockError = 0.0;
    int rxKind = 0, dataBits = 8, parity = 0, stopBits = 0;
    bool ownFormat = false;
    int rxDataBits = 8, rxParity = 0, rxStopBits = 0;
    double from = 0.0, to = 0.0; // the chart's window
};
