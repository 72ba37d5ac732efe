// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/settings_fields.h"

#include "core/byte_codes.h"
#include "stream/stream.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>

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

BytesReading bytesOfText(const QString &text)
{
    BytesReading read;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        const auto bytes = rs232::windows1250Values(character.toStdString());
        if (!bytes)
            return {{}, character};
        read.bytes.insert(read.bytes.end(), bytes->begin(), bytes->end());
        i += length;
    }
    return read;
}

BytesReading bytesOfHex(const QString &text)
{
    BytesReading read;
    const QStringList words = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        bool ok = false;
        const unsigned value = word.toUInt(&ok, 16);
        if (!ok || word.size() > 3 || word.startsWith(QLatin1Char('+')))
            return {{}, word.left(16)};
        read.bytes.push_back(value);
    }
    return read;
}

QString hexOfBytes(const std::vector<unsigned> &bytes)
{
    QStringList hex;
    for (unsigned v : bytes)
        hex << QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
    return hex.join(QLatin1Char(' '));
}

QString textOfBytes(const std::vector<unsigned> &bytes)
{
    QString text;
    for (unsigned v : bytes)
        text += v <= 0xFF
                    ? QString::fromStdString(rs232::Utf8Of(rs232::Windows1250CodePoint(static_cast<std::uint8_t>(v))))
                    : QStringLiteral("?");
    return text;
}
