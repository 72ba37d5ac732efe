// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The fields the byte string page's settings are made of: rate combos with the usual rates, and spin
// boxes that say when a value typed outside their range was set to its nearest end.

#include "ui/language.h"

#include <QDoubleSpinBox>
#include <QLocale>
#include <QSpinBox>
#include <QString>
#include <QStringList>
#include <QValidator>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QWidget;

// A spin box that keeps a number typed outside its range while it is being typed, instead of dropping
// the keystroke that took it out, and on leaving the field sets the nearest value of the range and
// remembers what was typed, so that the panel can say the value was changed.
template <typename Base> class ClampingSpin : public Base
{
public:
    // What was typed when it was last clamped, with its suffix; empty once taken.
    QString takeClamped()
    {
        QString typed;
        typed.swap(m_clamped);
        return typed;
    }

protected:
    QValidator::State validate(QString &input, int &pos) const override
    {
        const QValidator::State state = Base::validate(input, pos);
        if (state == QValidator::Invalid && number(input))
            return QValidator::Intermediate;
        return state;
    }
    void fixup(QString &input) const override
    {
        const std::optional<double> typed = number(input);
        if (typed && (*typed < Base::minimum() || *typed > Base::maximum())) {
            m_clamped = input.trimmed();
            const auto nearest = std::clamp(static_cast<decltype(Base::minimum())>(*typed), Base::minimum(),
                                            Base::maximum());
            input = Base::textFromValue(nearest);
            return;
        }
        Base::fixup(input);
    }

private:
    // The number in a text, with or without the field's suffix, in the field's locale.
    std::optional<double> number(QString text) const
    {
        text = text.trimmed();
        if (!Base::suffix().isEmpty() && text.endsWith(Base::suffix().trimmed()))
            text.chop(Base::suffix().trimmed().size());
        text = text.trimmed();
        bool ok = false;
        const double value = Base::locale().toDouble(text, &ok);
        if (ok)
            return value;
        return std::nullopt;
    }

    mutable QString m_clamped;
};

using ClampingDoubleSpin = ClampingSpin<QDoubleSpinBox>;
using ClampingIntSpin = ClampingSpin<QSpinBox>;

// An editable combo of the usual bit rates, 9600 chosen.
QComboBox *rateCombo(const QString &name);
QDoubleSpinBox *doubleSpin(const QString &name, double minimum, double maximum, int decimals, double value,
                           const QString &suffix = {});
QSpinBox *intSpin(const QString &name, int minimum, int maximum, int value);
QComboBox *itemsCombo(const QString &name, const QStringList &items);
// The settings sit close together so that the chart, the table and the explanation keep their room.
void compact(QGridLayout *grid);

// A caption, a group box's title and a tooltip worded again whenever the window's language changes.
QLabel *captionLabel(const language::Text &text);
QGroupBox *groupBox(const language::Text &title);
void followToolTip(QWidget *widget, const language::Text &text);
// A combo box's items worded again, keeping the one chosen.
QComboBox *wordedCombo(const QString &name, const std::function<QStringList()> &items);
// A label in the page's error colour.
void paintRed(QLabel *label);

// The bytes of one pass as the bytes fields give them, or the first piece that gives none (cut to 16
// characters).
struct BytesReading
{
    std::vector<unsigned> bytes;
    std::optional<QString> refused;
};
// Each character of a text in its Windows-1250 byte.
BytesReading bytesOfText(const QString &text);
// Hexadecimal values of up to three digits, apart by white space.
BytesReading bytesOfHex(const QString &text);
// "53 7A 69": two digits a byte.
QString hexOfBytes(const std::vector<unsigned> &bytes);
// The bytes as Windows-1250 characters; a value above FF, which has none, as "?".
QString textOfBytes(const std::vector<unsigned> &bytes);
