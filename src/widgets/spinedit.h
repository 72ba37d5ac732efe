// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractSpinBox>

// Integer spin edit with the event rules the pages chain on:
// - changed() is emitted whenever the text changes, by typing or by setValue;
// - setValue clamps to [minimum, maximum] unless they are equal; setting the shown value emits nothing;
// - while the user types, value() reports the typed number unclamped; leaving the field clamps it;
// - value() of a text that is no integer gives the minimum and writes it into the field;
// - changing a bound alone leaves the shown value;
// - a read-only spin edit refuses typing and its buttons only beep.
class SpinEdit : public QAbstractSpinBox
{
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue)
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(QString text READ text)

public:
    explicit SpinEdit(QWidget *parent = nullptr);

    int value();
    void setValue(int value);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    void setMinimum(int minimum);
    void setMaximum(int maximum);
    void setRange(int minimum, int maximum);

    void stepBy(int steps) override;
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
    QSize sizeHint() const override;

Q_SIGNALS:
    void changed();

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void setTextSilently(const QString &text);

    int m_minimum = 0;
    int m_maximum = 100;
    QString m_lastText;
    bool m_repairing = false; // value() is writing the minimum into a text that was no integer
};
