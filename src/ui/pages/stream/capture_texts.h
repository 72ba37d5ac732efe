// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The byte string page's sentences about a capture: why a file cannot be opened, and what was opened.

#include "capture/capture.h"
#include "stream/framing_detect.h"
#include "stream/rate.h"

#include <QString>

#include <optional>

// The open dialog's filter: the formats this build reads (VCD alone without libsigrok).
QString captureOpenFilter();
// The open button's tip: what it reads, and in a build without libsigrok why sessions and CSV are missing.
QString captureOpenToolTip();
// The recording button's tip; in a build without libsigrok, why it records nothing.
QString recordToolTip();
// Why a build without libsigrok reads no sigrok session and no CSV file and records nothing, as the end
// of a sentence.
QString sigrokMissingSentence();

// Why the capture at path cannot be opened, in the window's language; a technical detail from the reader
// follows where it helps someone who knows the format.
QString captureLoadMessage(const rs232::capture::LoadError &error, const QString &path);

// What is shown: the file, its format, the channel read, its samples and length, and its rate as
// measured from the pulses (or why it could not be told: rateProblem) beside the rate the receiver reads at.
QString measurementHeading(const QString &path, const rs232::capture::Capture &capture,
                           const std::optional<rs232::RateEstimate> &estimate, rs232::Problem rateProblem,
                           double receiverRate);

// Why the line is read inverted (or, set by hand, not): empty where it rests at 1 and is read so.
QString polaritySentence(const rs232::capture::Capture &capture);

// The framing told from a line and the evidence for it: "7E1: 412 keret, a paritás mindegyikben helyes;
// 8N1-ként olvasva a 7. bit lenne a paritás."
QString framingEvidenceText(const rs232::FramingDetection &found);
// Why no framing could be told, from the detection's problem.
QString framingNotFoundText(rs232::Problem problem);

// A sample rate with its unit: "2,3 MHz", "500 kHz".
QString frequencyText(double hertz);

// "1 000 000" with the digit groups of the window's language.
QString groupedNumber(double value, int decimals = 0);
