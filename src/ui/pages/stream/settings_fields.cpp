// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/settings_fields.h"

#include <QComboBox>
#include <QGridLayout>

namespace {

const int kPresetRates[] = {300,   600,   1200,  2400,   4800,   9600,   14400,
                            19200, 38400, 57600, 115200, 230400, 460800, 921600};

} // namespace

QComboBox *rateCombo(const QString &name)
{
    auto *combo = new QComboBox;
    combo->setObjectName(name);
    combo->setEditable(true);
    for (int rate : kPresetRates)
        combo->addItem(QString::number(rate));
    combo->setCurrentText(QStringLiteral("9600"));
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QDoubleSpinBox *doubleSpin(const QString &name, double minimum, double maximum, int decimals, double value,
                           const QString &suffix)
{
    auto *spin = new ClampingDoubleSpin;
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    spin->setDecimals(decimals);
    spin->setValue(value);
    spin->setSuffix(suffix);
    spin->setKeyboardTracking(false);
    return spin;
}

QSpinBox *intSpin(const QString &name, int minimum, int maximum, int value)
{
    auto *spin = new ClampingIntSpin;
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    spin->setKeyboardTracking(false);
    return spin;
}

void compact(QGridLayout *grid)
{
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
}

QComboBox *itemsCombo(const QString &name, const QStringList &items)
{
    auto *combo = new QComboBox;
    combo->setObjectName(name);
    combo->addItems(items);
    return combo;
}
