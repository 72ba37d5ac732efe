// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>

class QLineEdit;
class QWidget;
class SpinEdit;
class StepSeries;

// The four fields that show one data byte: DEC (the spin edit), HEX, BIN and ASCII, and on three
// groups the series of the small bit chart beside them.
struct ByteGroup
{
    SpinEdit *spin = nullptr;
    QLineEdit *hexEdit = nullptr;
    QLineEdit *binEdit = nullptr;
    QLineEdit *asciiEdit = nullptr;
    StepSeries *series = nullptr;
    QList<QWidget *> labels; // the captions above the fields and around the bit chart
};

// Writes a byte group's HEX and BIN texts (and its bit chart, where it has one) from the value in its spin
// edit, then the character of that value: what every byte group does when its value changes.
void showByte(const ByteGroup &group);
