// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/spinedit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyleOptionSpinBox>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

// The integer a text stands for: optional blanks around an optional sign and decimal digits. Anything
// else, or a number that does not fit an int, is no integer.
std::optional<int> parseInteger(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

// Clamps like the classic spin edit: equal bounds mean "no bounds", and a minimum above the maximum is
// tolerated without undefined behaviour (the minimum wins below, the maximum above).
qint64 clampToBounds(qint64 value, int minimum, int maximum)
{
    if (minimum == maximum)
        return value;
    if (value < minimum)
        return minimum;
    if (value > maximum)
        return maximum;
    return value;
}

int saturate(qint64 value)
{
    return static_cast<int>(
        std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

SpinEdit::SpinEdit(QWidget *parent) : QAbstractSpinBox(parent)
{
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    setTextSilently(QStringLiteral("0"));
    // Every change of the text, whoever makes it, is reported once; our own rewrites go through
    // setTextSilently and report themselves.
    connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text == m_lastText)
            return;
        m_lastText = text;
        Q_EMIT changed();
    });
}

int SpinEdit::value()
{
    if (const std::optional<int> typed = parseInteger(lineEdit()->text()))
        return *typed;
    // A text that is no integer reads as the minimum and is replaced by it. A changed() handler that
    // reads value() again must not re-enter the repair.
    if (!m_repairing) {
        m_repairing = true;
        const QString minimumText = QString::number(m_minimum);
        if (lineEdit()->text() != minimumText) {
            setTextSilently(minimumText);
            Q_EMIT changed();
        }
        m_repairing = false;
    }
    return m_minimum;
}

void SpinEdit::setValue(int value)
{
    const QString newText = QString::number(clampToBounds(value, m_minimum, m_maximum));
    if (newText == lineEdit()->text())
        return;
    setTextSilently(newText);
    Q_EMIT changed();
}

void SpinEdit::setMinimum(int minimum)
{
    m_minimum = minimum;
    updateGeometry();
}

void SpinEdit::setMaximum(int maximum)
{
    m_maximum = maximum;
    updateGeometry();
}

void SpinEdit::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    updateGeometry();
}

void SpinEdit::stepBy(int steps)
{
    if (isReadOnly()) {
        QApplication::beep();
        return;
    }
    setValue(saturate(clampToBounds(qint64(value()) + steps, m_minimum, m_maximum)));
    selectAll();
}

QValidator::State SpinEdit::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos);
    const QString trimmed = input.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String("-") || trimmed == QLatin1String("+"))
        return QValidator::Intermediate;
    const std::optional<int> value = parseInteger(input);
    if (!value) // letters, or more digits than an int holds
        return QValidator::Invalid;
    // Out-of-range numbers may be typed freely; leaving the field clamps them.
    if (m_minimum != m_maximum && (*value < m_minimum || *value > m_maximum))
        return QValidator::Intermediate;
    return QValidator::Acceptable;
}

void SpinEdit::fixup(QString &input) const
{
    const std::optional<int> value = parseInteger(input);
    input = QString::number(value ? clampToBounds(*value, m_minimum, m_maximum) : m_minimum);
}

QSize SpinEdit::sizeHint() const
{
    ensurePolished();
    const QFontMetrics metrics(font());
    const int textWidth = qMax(metrics.horizontalAdvance(QString::number(m_minimum)),
                               metrics.horizontalAdvance(QString::number(m_maximum)));
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize content(textWidth + 8, lineEdit()->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, content, this);
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const
{
    // A read-only spin edit keeps its buttons live so that pressing them beeps.
    if (isReadOnly() || m_minimum == m_maximum)
        return StepUpEnabled | StepDownEnabled;
    const std::optional<int> value = parseInteger(lineEdit()->text());
    if (!value)
        return StepUpEnabled | StepDownEnabled;
    StepEnabled enabled = StepNone;
    if (*value < m_maximum)
        enabled |= StepUpEnabled;
    if (*value > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

void SpinEdit::focusOutEvent(QFocusEvent *event)
{
    // Leaving the field settles what was typed: no integer becomes the minimum, a number out of range
    // is clamped.
    setValue(value());
    QAbstractSpinBox::focusOutEvent(event);
}

void SpinEdit::setTextSilently(const QString &text)
{
    const QSignalBlocker blocker(lineEdit());
    lineEdit()->setText(text);
    m_lastText = text;
}
