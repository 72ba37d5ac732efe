// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/byte_group.h"

#include "core/byte_codes.h"
#include "core/packet.h"
#include "widgets/spinedit.h"
#include "widgets/stepseries.h"

#include <QLineEdit>

void showByte(const ByteGroup &group)
{
    const rs232::ByteCodes codes = rs232::ByteCodesOf(group.spin->value());
    group.hexEdit->setText(QString::fromStdString(codes.hex));
    group.binEdit->setText(QString::fromStdString(codes.bin));
    if (group.series) {
        group.series->clear();
        for (double y : rs232::DataByteTrace(group.binEdit->text().toStdString()))
            group.series->addY(y);
    }
    // The value is read once more for its character, as the field may have repaired a text that held no
    // number.
    group.asciiEdit->setText(QString::fromStdString(rs232::ByteCodesOf(group.spin->value()).ascii));
}
