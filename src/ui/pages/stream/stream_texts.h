// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "stream/stream_run.h"
#include "stream/stream_view.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>

// The sentences of the byte string page, worded from the facts the byte string model returns.
class StreamTexts
{
    Q_DECLARE_TR_FUNCTIONS(StreamTexts)

public:
    // The page's one number format, the window language's: in Hungarian a decimal comma and grouped
    // thousands ("1 149,089"), in English "1,149.089".
    static QLocale locale();
    static QString number(double value, int decimals);
    // A count: "65 535".
    static QString count(unsigned long long value);
    // "103,90": a percentage with a fixed count of decimals.
    static QString percentText(double value, int decimals);
    static QString sizeProblem(const rs232::StreamSizeProblem &problem);
    // Why a simulation run, or the decoding of a capture with the receiver set, could not be made, from
    // the model's value. A problem the window has no words for is told by the model's own English
    // sentence, after a sentence of ours that says so.
    static QString runFailure(const rs232::Failure &failure);
    static QString decodeFailure(const rs232::Failure &failure);
    // The error names of a frame ("keretezési hiba", "paritáshiba", "szakadás (break)", "zaj"), joined
    // with ", "; empty for a frame without flags.
    static QString frameErrors(const rs232::FrameErrors &errors);
    // What a bar of the frames lane says: the value in hex and its errors, or "hamis start".
    static QString laneLabel(const rs232::LaneLabel &label);
    static QString receiverName(rs232::ReceiverKind kind);
    // The counts a run ends with: sent bytes, received frames, errors by kind, false starts.
    static QString counts(const rs232::StreamSummary &summary);
    // Why the run went as it did, in sentences a student understands.
    static QString explanation(const rs232::StreamSummary &summary);
};
