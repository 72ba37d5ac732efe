// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "stream/receiver.h"
#include "stream/stream.h"

#include <QString>

#include <optional>

// Everything the byte string page's settings hold, as one value: what the panel shows is written from
// it and read back into it, so that a setting is read in one place and saved and restored as a whole.
struct StreamPageSettings
{
    QString text = QStringLiteral("Szia!");
    QString hex;
    int repeat = 1;
    QString txRate = QStringLiteral("9600");
    double txClockError = 0.0;
    int dataBits = 8;
    int parity = 0;   // item of the parity combo: none, even, odd, 1, 0
    int stopBits = 0; // 1, 1.5, 2
    double idleBits = 0.0;
    QString rxRate = QStringLiteral("9600");
    double rxClockError = 0.0;
    int rxKind = 1; // ideal, 16x, 8x
    bool ownFormat = false;
    int rxDataBits = 8;
    int rxParity = 0;
    int rxStopBits = 0;
    double noise = 0.0;
    double noiseWidth = 10.0;
    int seed = 1;
    double breakBits = 0.0;
    // The line as a logic analyser on the RS232 side of a transceiver sees it: each level inverted,
    // resting at 0. A simulation draws it so; a measurement is read inverted back.
    bool invert = false;

    // A whole number of bit/s from 50 to 3 000 000 (spaces between digit groups allowed), or none.
    static std::optional<double> rateOf(const QString &text);
    // The parity combo's items: none, even, odd, 1, 0.
    static rs232::ParityMode parityOf(int index);
    static int parityIndex(rs232::ParityMode parity);
    rs232::Framing transmitterFraming() const;
    rs232::Framing receiverFraming() const;
    rs232::ReceiverSettings receiver() const; // needs a valid receiver rate
};
