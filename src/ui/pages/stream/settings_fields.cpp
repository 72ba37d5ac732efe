// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/settings_fields.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

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

QLabel *captionLabel(const language::Text &text)
{
    auto *label = new QLabel;
    text.bind(label, [label](const QString &t) { label->setText(t); });
    return label;
}

QGroupBox *groupBox(const language::Text &title)
{
    auto *box = new QGroupBox;
    title.bind(box, [box](const QString &t) { box->setTitle(t); });
    return box;
}

void followToolTip(QWidget *widget, const language::Text &text)
{
    text.bind(widget, [widget](const QString &t) { widget->setToolTip(t); });
}

QComboBox *wordedCombo(const QString &name, const std::function<QStringList()> &items)
{
    auto *combo = new QComboBox;
    combo->setObjectName(name);
    combo->addItems(items());
    language::follow(combo, [combo, items] {
        const QStringList words = items();
        for (int i = 0; i < words.size() && i < combo->count(); ++i)
            combo->setItemText(i, words.at(i));
    });
    return combo;
}

void paintRed(QLabel *label)
{
    static const QColor kErrorTextColour(190, 0, 0);
    QPalette red = label->palette();
    red.setColor(QPalette::WindowText, kErrorTextColour);
    label->setPalette(red);
}
