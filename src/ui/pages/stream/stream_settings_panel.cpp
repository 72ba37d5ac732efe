// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/stream_settings_panel.h"

#include "core/byte_codes.h"
#include "stream/stream_run.h"
#include "ui/language.h"
#include "ui/pages/stream/capture_box.h"
#include "ui/pages/stream/capture_texts.h"
#include "ui/pages/stream/settings_fields.h"
#include "ui/pages/stream/stream_texts.h"
#include "ui/pictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

const QColor kRefusedFieldColour(255, 214, 214);
const QColor kClampedFieldColour(255, 236, 179);

QStringList parityNames()
{
    return {StreamSettingsPanel::tr("nincs"), StreamSettingsPanel::tr("páros"),
            StreamSettingsPanel::tr("páratlan"), QStringLiteral("1"), QStringLiteral("0")};
}

QStringList stopNames()
{
    return {QStringLiteral("1"), StreamTexts::number(1.5, 1), QStringLiteral("2")};
}

} // namespace

QStringList StreamSettingsPanel::receiverKinds()
{
    return {tr("Ideális (bitközépen mintavételező)"), tr("16× túlmintavételező"), tr("8× túlmintavételező")};
}

StreamSettingsPanel::StreamSettingsPanel(QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    buildBytes();
    buildCapture();
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    column->addLayout(row);
    buildTransmitter(row);
    buildReceiver(row);
    buildLine(row);
    connectChanges();
    // The bytes of the text the page opens with.
    textEdited();
}

void StreamSettingsPanel::buildBytes()
{
    auto *bytes = groupBox([] { return tr("Bájtok"); });
    m_bytesBox = bytes;
    auto *bytesGrid = new QGridLayout(bytes);
    compact(bytesGrid);
    m_text = new QLineEdit(QStringLiteral("Szia!"));
    m_text->setObjectName(QStringLiteral("stream_text"));
    m_text->setMaxLength(65536);
    m_hex = new QLineEdit;
    m_hex->setObjectName(QStringLiteral("stream_hex"));
    m_hex->setMaxLength(65536 * 4);
    m_repeat = intSpin(QStringLiteral("stream_repeat"), 1, 65536, 1);
    followToolTip(m_repeat, [] { return tr("A bájtok ennyiszer mennek el egymás után"); });
    bytesGrid->addWidget(captionLabel([] { return tr("Szöveg:"); }), 0, 0);
    bytesGrid->addWidget(m_text, 0, 1);
    bytesGrid->addWidget(captionLabel([] { return tr("Hex:"); }), 0, 2);
    bytesGrid->addWidget(m_hex, 0, 3);
    bytesGrid->addWidget(captionLabel([] { return tr("Ismétlés:"); }), 0, 4);
    bytesGrid->addWidget(m_repeat, 0, 5);
    bytesGrid->setColumnStretch(1, 2);
    bytesGrid->setColumnStretch(3, 3);
    m_error = new QLabel;
    m_error->setObjectName(QStringLiteral("stream_error"));
    m_error->setWordWrap(true);
    paintRed(m_error);
    bytesGrid->addWidget(m_error, 1, 0, 1, 6);
    layout()->addWidget(bytes);
}

void StreamSettingsPanel::buildCapture()
{
    // In measurement mode a capture stands where the bytes were.
    m_captureBox = new CaptureBox;
    m_captureBox->setVisible(false);
    layout()->addWidget(m_captureBox);
    connect(m_captureBox, &CaptureBox::channelChosen, this, &StreamSettingsPanel::channelChosen);
}

void StreamSettingsPanel::buildTransmitter(QLayout *row)
{
    auto *tx = new QGroupBox;
    tx->setObjectName(QStringLiteral("stream_transmitter_box"));
    m_txBox = tx;
    tx->setTitle(tr("Adó"));
    auto *txGrid = new QGridLayout(tx);
    compact(txGrid);
    m_txRate = rateCombo(QStringLiteral("stream_tx_rate"));
    m_txClockError =
        doubleSpin(QStringLiteral("stream_tx_clock_error"), -10.0, 10.0, 1, 0.0, QStringLiteral(" %"));
    m_dataBits = intSpin(QStringLiteral("stream_data_bits"), 5, 9, 8);
    m_parity = wordedCombo(QStringLiteral("stream_parity"), parityNames);
    m_stopBits = wordedCombo(QStringLiteral("stream_stop_bits"), stopNames);
    m_idle = doubleSpin(QStringLiteral("stream_idle"), 0.0, 1000.0, 2, 0.0);
    followToolTip(m_idle, [] { return tr("Szünet két keret között, bitidőben"); });
    const struct
    {
        language::Text caption;
        QWidget *control;
    } txRows[] = {{[] { return tr("Sebesség (bps):"); }, m_txRate},
                  {[] { return tr("Órajel hibája:"); }, m_txClockError},
                  {[] { return tr("Adatbitek:"); }, m_dataBits},
                  {[] { return tr("Paritás:"); }, m_parity},
                  {[] { return tr("Stop bitek:"); }, m_stopBits},
                  {[] { return tr("Szünet (bitidő):"); }, m_idle}};
    int r = 0;
    for (const auto &item : txRows) {
        txGrid->addWidget(captionLabel(item.caption), r, 0);
        txGrid->addWidget(item.control, r++, 1);
    }
    static_cast<QBoxLayout *>(row)->addWidget(tx, 1);
}

void StreamSettingsPanel::buildReceiver(QLayout *row)
{
    auto *rx = groupBox([] { return tr("Vevő"); });
    auto *rxGrid = new QGridLayout(rx);
    compact(rxGrid);
    m_rxRate = rateCombo(QStringLiteral("stream_rx_rate"));
    m_rxClockError =
        doubleSpin(QStringLiteral("stream_rx_clock_error"), -10.0, 10.0, 1, 0.0, QStringLiteral(" %"));
    m_rxKind = wordedCombo(QStringLiteral("stream_rx_kind"), &StreamSettingsPanel::receiverKinds);
    m_rxKind->setCurrentIndex(1);
    m_rxKind->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_rxKind->setMinimumContentsLength(16);
    m_rxOwnFormat = new QCheckBox;
    language::follow(m_rxOwnFormat, [this] { m_rxOwnFormat->setText(tr("Eltérő keretformátum")); });
    m_rxOwnFormat->setObjectName(QStringLiteral("stream_rx_own_format"));
    m_rxFormatBox = new QWidget;
    m_rxFormatBox->setObjectName(QStringLiteral("stream_rx_format_box"));
    auto *formatGrid = new QGridLayout(m_rxFormatBox);
    formatGrid->setContentsMargins(0, 0, 0, 0);
    formatGrid->setVerticalSpacing(2);
    m_rxDataBits = intSpin(QStringLiteral("stream_rx_data_bits"), 5, 9, 8);
    m_rxParity = wordedCombo(QStringLiteral("stream_rx_parity"), parityNames);
    m_rxStopBits = wordedCombo(QStringLiteral("stream_rx_stop_bits"), stopNames);
    const struct
    {
        language::Text caption;
        QWidget *control;
    } formatRows[] = {{[] { return tr("Adatbitek:"); }, m_rxDataBits},
                      {[] { return tr("Paritás:"); }, m_rxParity},
                      {[] { return tr("Stop bitek:"); }, m_rxStopBits}};
    int f = 0;
    for (const auto &item : formatRows) {
        auto *caption = captionLabel(item.caption);
        caption->setBuddy(item.control);
        formatGrid->addWidget(caption, f, 0);
        formatGrid->addWidget(item.control, f++, 1);
    }
    // In measurement mode the framing can be told from the line itself.
    m_detectFraming = new QPushButton;
    language::follow(m_detectFraming, [this] { m_detectFraming->setText(tr("Felismerés")); });
    m_detectFraming->setObjectName(QStringLiteral("stream_detect_framing"));
    followToolTip(m_detectFraming, [] {
        return tr("A keretformátum felismerése a mért vonalból: az adatbitek száma, a paritás "
                  "és a stop bitek, azzal együtt, hogy mi szól mellettük");
    });
    m_detectFraming->setVisible(false);
    formatGrid->addWidget(m_detectFraming, 0, 2);
    m_rxFormatBox->setVisible(false);
    rxGrid->addWidget(captionLabel([] { return tr("Sebesség (bps):"); }), 0, 0);
    rxGrid->addWidget(m_rxRate, 0, 1);
    rxGrid->addWidget(captionLabel([] { return tr("Órajel hibája:"); }), 1, 0);
    rxGrid->addWidget(m_rxClockError, 1, 1);
    rxGrid->addWidget(captionLabel([] { return tr("Fajta:"); }), 2, 0);
    rxGrid->addWidget(m_rxKind, 2, 1);
    rxGrid->addWidget(m_rxOwnFormat, 3, 0, 1, 2);
    rxGrid->addWidget(m_rxFormatBox, 4, 0, 1, 2);
    rxGrid->setRowStretch(5, 1);
    static_cast<QBoxLayout *>(row)->addWidget(rx, 1);
}

void StreamSettingsPanel::buildLine(QLayout *row)
{
    auto *lineBox = groupBox([] { return tr("Vonal"); });
    auto *lineGrid = new QGridLayout(lineBox);
    compact(lineGrid);
    m_noise = doubleSpin(QStringLiteral("stream_noise"), 0.0, 100.0, 1, 0.0);
    followToolTip(m_noise,
                  [] { return tr("Zavaró impulzusok átlagos száma 100 bitidő alatt (0 = zajmentes)"); });
    m_noiseWidth = doubleSpin(QStringLiteral("stream_noise_width"), 1.0, 100.0, 0, 10.0, QStringLiteral(" %"));
    followToolTip(m_noiseWidth, [] { return tr("Egy zavaró impulzus szélessége a bitidő százalékában"); });
    m_seed = intSpin(QStringLiteral("stream_seed"), 0, 999999, 1);
    auto *newSeed = new QPushButton;
    language::follow(newSeed, [newSeed] { newSeed->setText(tr("Új")); });
    newSeed->setObjectName(QStringLiteral("stream_new_seed"));
    m_breakBits = doubleSpin(QStringLiteral("stream_break_bits"), 0.0, 1000.0, 1, 0.0);
    followToolTip(m_breakBits,
                  [] { return tr("A bájtok után a vonal ennyi bitidőn át 0 szinten marad (0 = nincs)"); });
    lineGrid->addWidget(captionLabel([] { return tr("Zaj / 100 bit:"); }), 0, 0);
    lineGrid->addWidget(m_noise, 0, 1, 1, 2);
    lineGrid->addWidget(captionLabel([] { return tr("Impulzus:"); }), 1, 0);
    lineGrid->addWidget(m_noiseWidth, 1, 1, 1, 2);
    lineGrid->addWidget(captionLabel([] { return tr("Mag:"); }), 2, 0);
    lineGrid->addWidget(m_seed, 2, 1);
    lineGrid->addWidget(newSeed, 2, 2);
    lineGrid->addWidget(captionLabel([] { return tr("Szakadás (bitidő):"); }), 3, 0);
    lineGrid->addWidget(m_breakBits, 3, 1, 1, 2);
    m_invert = new QCheckBox;
    language::follow(m_invert, [this] { m_invert->setText(tr("Invertált vonal")); });
    m_invert->setObjectName(QStringLiteral("stream_invert"));
    followToolTip(m_invert, [] {
        return tr("A vonal az RS232 oldalon, ahogy egy logikai analizátor látja: a nyugalmi szint "
                  "(1, negatív feszültség) 0-nak, a 0 (pozitív feszültség) 1-nek mérve. A vevő "
                  "visszafordítva olvassa.");
    });
    lineGrid->addWidget(m_invert, 4, 0, 1, 3);
    m_runButton = new QPushButton(pictures::icon(QStringLiteral("magnifier")), QString());
    language::follow(m_runButton, [this] { m_runButton->setText(tr("Szimuláció")); });
    m_runButton->setObjectName(QStringLiteral("stream_run"));
    m_runButton->setIconSize(QSize(32, 32));
    m_runButton->setMinimumHeight(44);
    lineGrid->addWidget(m_runButton, 5, 0, 1, 3);
    m_backButton = new QPushButton;
    language::follow(m_backButton, [this] { m_backButton->setText(tr("Vissza a szimulációhoz")); });
    m_backButton->setObjectName(QStringLiteral("stream_back_to_simulation"));
    m_backButton->setMinimumHeight(44);
    m_backButton->setVisible(false);
    lineGrid->addWidget(m_backButton, 5, 0, 1, 3);
    auto *openCapture = new QPushButton;
    language::follow(openCapture, [openCapture] { openCapture->setText(tr("Mérés megnyitása…")); });
    openCapture->setObjectName(QStringLiteral("stream_open_capture"));
    followToolTip(openCapture, [] { return captureOpenToolTip(); });
    auto *record = new QPushButton;
    language::follow(record, [record] { record->setText(tr("Felvétel…")); });
    record->setObjectName(QStringLiteral("stream_record"));
    followToolTip(record, [] { return recordToolTip(); });
    // Recording goes through libsigrok: a build without it offers none, and the tip says why.
    record->setEnabled(rs232::capture::readsSigrokFormats());
    auto *captureButtons = new QHBoxLayout;
    captureButtons->addWidget(openCapture, 1);
    captureButtons->addWidget(record);
    lineGrid->addLayout(captureButtons, 6, 0, 1, 3);
    m_saveRecording = new QPushButton;
    language::follow(m_saveRecording, [this] { m_saveRecording->setText(tr("Felvétel mentése…")); });
    m_saveRecording->setObjectName(QStringLiteral("stream_record_save"));
    followToolTip(m_saveRecording, [] { return tr("A felvétel mentése sigrok munkamenetként (.sr)"); });
    m_saveRecording->setVisible(false);
    lineGrid->addWidget(m_saveRecording, 7, 0, 1, 3);
    static_cast<QBoxLayout *>(row)->addWidget(lineBox, 1);
    m_simulationOnly = {m_txRate, m_txClockError, m_idle, m_noise, m_noiseWidth, m_seed, newSeed, m_breakBits};
    connect(openCapture, &QPushButton::clicked, this, &StreamSettingsPanel::openCaptureRequested);
    connect(m_detectFraming, &QPushButton::clicked, this, &StreamSettingsPanel::detectFramingRequested);
    connect(record, &QPushButton::clicked, this, &StreamSettingsPanel::recordRequested);
    connect(m_saveRecording, &QPushButton::clicked, this, &StreamSettingsPanel::saveRecordingRequested);
    connect(m_backButton, &QPushButton::clicked, this, &StreamSettingsPanel::backRequested);
    connect(m_runButton, &QPushButton::clicked, this, &StreamSettingsPanel::runRequested);
    connect(newSeed, &QPushButton::clicked, this,
            [this] { m_seed->setValue(static_cast<int>(QRandomGenerator::global()->bounded(1000000))); });
}

void StreamSettingsPanel::connectChanges()
{
    connect(m_text, &QLineEdit::textEdited, this, &StreamSettingsPanel::textEdited);
    connect(m_hex, &QLineEdit::textEdited, this, &StreamSettingsPanel::hexEdited);
    connect(m_rxOwnFormat, &QCheckBox::toggled, this, [this](bool own) {
        m_rxFormatBox->setVisible(own);
        settingChanged();
    });
    for (QSpinBox *spin : {m_repeat, m_dataBits, m_rxDataBits, m_seed}) {
        connect(spin, &QSpinBox::valueChanged, this, &StreamSettingsPanel::settingChanged);
        connect(spin, &QSpinBox::editingFinished, this, [this, spin] {
            const QString typed = static_cast<ClampingIntSpin *>(spin)->takeClamped();
            if (!typed.isEmpty())
                showClamped({spin, typed, double(spin->minimum()), double(spin->maximum()),
                             double(spin->value()), -1, QString()});
        });
    }
    for (QDoubleSpinBox *spin : {m_txClockError, m_idle, m_rxClockError, m_noise, m_noiseWidth, m_breakBits}) {
        connect(spin, &QDoubleSpinBox::valueChanged, this, &StreamSettingsPanel::settingChanged);
        connect(spin, &QDoubleSpinBox::editingFinished, this, [this, spin] {
            const QString typed = static_cast<ClampingDoubleSpin *>(spin)->takeClamped();
            if (!typed.isEmpty())
                showClamped({spin, typed, spin->minimum(), spin->maximum(), spin->value(), spin->decimals(),
                             spin->suffix()});
        });
    }
    connect(m_invert, &QCheckBox::toggled, this, &StreamSettingsPanel::settingChanged);
    for (QComboBox *combo : {m_parity, m_stopBits, m_rxKind, m_rxParity, m_rxStopBits})
        connect(combo, &QComboBox::currentIndexChanged, this, &StreamSettingsPanel::settingChanged);
    for (QComboBox *combo : {m_txRate, m_rxRate})
        connect(combo, &QComboBox::currentTextChanged, this, &StreamSettingsPanel::settingChanged);
}

void StreamSettingsPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    // The captions follow by themselves; the texts that depend on the state are worded here again.
    m_txBox->setTitle(m_measuring ? tr("Adó (mérésnél nincs)") : tr("Adó"));
    if (m_bytesErrorWords)
        m_bytesError = m_bytesErrorWords();
    // The failure and the note on a clamped value are worded as they are shown, by validate.
    validate();
    m_captureBox->showFramingEvidence(m_framingEvidence());
}

void StreamSettingsPanel::settingChanged()
{
    // A note on a value changed on leaving its field lasts until the next change.
    m_clamped.reset();
    Q_EMIT changed();
}

void StreamSettingsPanel::showClamped(const ClampedValue &clamped)
{
    m_clamped = clamped;
    showMessage();
}

QString StreamSettingsPanel::clampedNote() const
{
    if (!m_clamped)
        return {};
    const ClampedValue &c = *m_clamped;
    // In the field's own number format, which follows the window's language: the value as the field shows
    // it, the bounds with their digit groups; whole numbers plain, as their fields show them.
    const QLocale locale = c.field->locale();
    QLocale ungrouped = locale;
    ungrouped.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    const auto text = [&](double value, const QLocale &format) {
        return c.decimals < 0 ? QString::number(qRound64(value))
                              : format.toString(value, 'f', c.decimals) + c.suffix;
    };
    return tr("A beírt „%1” kívül esik a megengedett tartományon (%2 … %3), ezért %4 lett belőle.")
        .arg(c.typed, text(c.minimum, locale), text(c.maximum, locale), text(c.now, ungrouped));
}

void StreamSettingsPanel::showMessage()
{
    // A refusal comes first, then why the last run or decoding failed; a note on a changed value shows
    // when neither does.
    const bool simulating = !m_measuring;
    const QString failure = m_failure();
    const QString text = !m_lastError.isEmpty() ? m_lastError : !failure.isEmpty() ? failure : clampedNote();
    m_error->setText(simulating ? text : QString());
    m_captureBox->showError(simulating ? QString() : text);
    // The field at fault is tinted red, a changed one amber, so the message still points at the right
    // place.
    QWidget *const refused = m_lastError.isEmpty() ? nullptr : m_lastErrorField;
    QWidget *const noted = m_lastError.isEmpty() && m_clamped ? m_clamped->field : nullptr;
    QList<QWidget *> fields = {m_text, m_hex, m_repeat, m_txRate, m_rxRate};
    for (QWidget *spin : {static_cast<QWidget *>(m_dataBits), static_cast<QWidget *>(m_rxDataBits),
                          static_cast<QWidget *>(m_seed), static_cast<QWidget *>(m_txClockError),
                          static_cast<QWidget *>(m_idle), static_cast<QWidget *>(m_rxClockError),
                          static_cast<QWidget *>(m_noise), static_cast<QWidget *>(m_noiseWidth),
                          static_cast<QWidget *>(m_breakBits)})
        fields << spin;
    for (QWidget *candidate : std::as_const(fields)) {
        QWidget *editor = candidate;
        if (auto *combo = qobject_cast<QComboBox *>(candidate))
            editor = combo->lineEdit();
        if (candidate == refused || candidate == noted) {
            QPalette tinted = editor->palette();
            tinted.setColor(QPalette::Base, candidate == refused ? kRefusedFieldColour : kClampedFieldColour);
            editor->setPalette(tinted);
        } else {
            editor->setPalette(QPalette());
        }
    }
}

StreamPageSettings StreamSettingsPanel::settings() const
{
    StreamPageSettings s;
    s.text = m_text->text();
    s.hex = m_hex->text();
    s.repeat = m_repeat->value();
    s.txRate = m_txRate->currentText();
    s.txClockError = m_txClockError->value();
    s.dataBits = m_dataBits->value();
    s.parity = m_parity->currentIndex();
    s.stopBits = m_stopBits->currentIndex();
    s.idleBits = m_idle->value();
    s.rxRate = m_rxRate->currentText();
    s.rxClockError = m_rxClockError->value();
    s.rxKind = m_rxKind->currentIndex();
    s.ownFormat = m_rxOwnFormat->isChecked();
    s.rxDataBits = m_rxDataBits->value();
    s.rxParity = m_rxParity->currentIndex();
    s.rxStopBits = m_rxStopBits->currentIndex();
    s.noise = m_noise->value();
    s.noiseWidth = m_noiseWidth->value();
    s.seed = m_seed->value();
    s.breakBits = m_breakBits->value();
    s.invert = m_invert->isChecked();
    return s;
}

void StreamSettingsPanel::setSettings(const StreamPageSettings &s)
{
    {
        const QSignalBlocker blocker(this);
        if (s.text != m_text->text() || s.hex != m_hex->text()) {
            m_text->setText(s.text);
            textEdited();
        }
        m_repeat->setValue(s.repeat);
        m_txRate->setCurrentText(s.txRate);
        m_txClockError->setValue(s.txClockError);
        m_dataBits->setValue(s.dataBits);
        m_parity->setCurrentIndex(s.parity);
        m_stopBits->setCurrentIndex(s.stopBits);
        m_idle->setValue(s.idleBits);
        m_rxRate->setCurrentText(s.rxRate);
        m_rxClockError->setValue(s.rxClockError);
        m_rxKind->setCurrentIndex(s.rxKind);
        m_rxOwnFormat->setChecked(s.ownFormat);
        m_rxDataBits->setValue(s.rxDataBits);
        m_rxParity->setCurrentIndex(s.rxParity);
        m_rxStopBits->setCurrentIndex(s.rxStopBits);
        m_noise->setValue(s.noise);
        m_noiseWidth->setValue(s.noiseWidth);
        m_seed->setValue(s.seed);
        m_breakBits->setValue(s.breakBits);
        m_invert->setChecked(s.invert);
    }
    m_rxFormatBox->setVisible(s.ownFormat);
}

void StreamSettingsPanel::textEdited()
{
    BytesReading read = bytesOfText(m_text->text());
    if (read.refused) {
        m_bytes.clear();
        m_bytesErrorWords = [character = *read.refused] {
            return tr("A(z) „%1” karakter nincs a Windows-1250 kódlapon.").arg(character);
        };
        m_bytesError = m_bytesErrorWords();
        m_bytesField = m_text;
        // The hex field would still hold the bytes of the text before: it is emptied rather than left
        // showing bytes this text does not have.
        m_hex->clear();
        Q_EMIT changed();
        return;
    }
    m_bytes = std::move(read.bytes);
    m_bytesError.clear();
    m_bytesErrorWords = nullptr;
    m_hex->setText(hexOfBytes(m_bytes));
    Q_EMIT changed();
}

void StreamSettingsPanel::hexEdited()
{
    BytesReading read = bytesOfHex(m_hex->text());
    if (read.refused) {
        m_bytes.clear();
        m_bytesErrorWords = [word = *read.refused] { return tr("Hibás hexadecimális érték: „%1”.").arg(word); };
        m_bytesError = m_bytesErrorWords();
        m_bytesField = m_hex;
        Q_EMIT changed();
        return;
    }
    m_bytes = std::move(read.bytes);
    m_bytesError.clear();
    m_bytesErrorWords = nullptr;
    m_text->setText(textOfBytes(m_bytes));
    Q_EMIT changed();
}

bool StreamSettingsPanel::validate()
{
    // A measurement needs only a receiver rate; the bytes and the transmitter are the simulation's.
    const bool simulating = !m_measuring;
    QString error = simulating ? m_bytesError : QString();
    QWidget *field = error.isEmpty() ? nullptr : m_bytesField;
    const auto refuse = [&](QWidget *where, const QString &reason) {
        if (error.isEmpty()) {
            error = reason;
            field = where;
        }
    };
    if (simulating && m_bytes.empty())
        refuse(m_text, tr("Nincs elküldendő bájt: írjon be egy szöveget vagy hexadecimális értékeket."));
    const rs232::Framing tx = settings().transmitterFraming();
    for (unsigned v : simulating ? m_bytes : std::vector<unsigned>{})
        if (v > tx.maxValue()) {
            refuse(m_hex, tr("A(z) %1 érték nem fér el %2 adatbitben.").arg(QStringLiteral("%1").arg(v, 3, 16, QLatin1Char('0')).toUpper()).arg(tx.dataBits));
            break;
        }
    if (simulating && !m_bytes.empty())
        if (auto size = rs232::streamSizeError(m_bytes.size(), m_repeat->value()))
            refuse(m_repeat, StreamTexts::sizeProblem(*size));
    if (simulating && !StreamPageSettings::rateOf(m_txRate->currentText()))
        refuse(m_txRate, tr("Az adó sebessége 50 és 3 000 000 bps közötti egész szám legyen."));
    if (!StreamPageSettings::rateOf(m_rxRate->currentText()))
        refuse(m_rxRate, tr("A vevő sebessége 50 és 3 000 000 bps közötti egész szám legyen."));
    m_lastError = error;
    m_lastErrorField = field;
    showMessage();
    m_runButton->setEnabled(error.isEmpty());
    return error.isEmpty();
}

void StreamSettingsPanel::showFailure(const language::Text &text)
{
    m_failure = text;
    showMessage();
}

void StreamSettingsPanel::setRecordingSaveable(bool saveable)
{
    m_saveRecording->setVisible(saveable);
}

void StreamSettingsPanel::setMeasuring(bool measuring)
{
    m_measuring = measuring;
    m_bytesBox->setVisible(!measuring);
    m_captureBox->setVisible(measuring);
    m_runButton->setVisible(!measuring);
    m_backButton->setVisible(measuring);
    for (QWidget *control : std::as_const(m_simulationOnly))
        control->setEnabled(!measuring);
    // A capture has no transmitter: its box is off with its rate shown as not applicable, and the framing
    // the capture is read with is the receiver's own, set under the receiver. Going back, the page
    // writes the simulation's settings again, the transmitter's rate and the receiver's choice included.
    m_txBox->setEnabled(!measuring);
    m_txBox->setTitle(measuring ? tr("Adó (mérésnél nincs)") : tr("Adó"));
    m_rxOwnFormat->setVisible(!measuring);
    m_detectFraming->setVisible(measuring);
    showFramingEvidence(QString());
    // A failure belongs to the mode it happened in.
    m_failure = {};
    if (measuring) {
        const QSignalBlocker blocker(this);
        const StreamPageSettings now = settings();
        const rs232::Framing framing = now.receiverFraming();
        m_rxDataBits->setValue(framing.dataBits);
        m_rxParity->setCurrentIndex(now.ownFormat ? now.rxParity : now.parity);
        m_rxStopBits->setCurrentIndex(now.ownFormat ? now.rxStopBits : now.stopBits);
        m_rxOwnFormat->setChecked(true);
        m_txRate->setCurrentText(QStringLiteral("–"));
        m_rxFormatBox->setVisible(true);
    } else {
        m_rxFormatBox->setVisible(m_rxOwnFormat->isChecked());
        m_captureBox->showError(QString());
    }
}

void StreamSettingsPanel::showCapture(const QString &fileName, const QString &path,
                                      const QList<CaptureChannel> &channels, int current, const QString &rateText)
{
    m_captureBox->showCapture(fileName, path, channels, current, rateText);
}

void StreamSettingsPanel::selectChannel(int index)
{
    m_captureBox->selectChannel(index);
}

QString StreamSettingsPanel::channelName(int index) const
{
    return m_captureBox->channelName(index);
}

void StreamSettingsPanel::setReceiverRate(const QString &rate)
{
    const QSignalBlocker blocker(m_rxRate);
    m_rxRate->setCurrentText(rate);
}

void StreamSettingsPanel::setInvert(bool invert)
{
    const QSignalBlocker blocker(m_invert);
    m_invert->setChecked(invert);
}

void StreamSettingsPanel::setReceiverFraming(const rs232::Framing &framing)
{
    {
        const QSignalBlocker blocker(this);
        m_rxDataBits->setValue(framing.dataBits);
        m_rxParity->setCurrentIndex(StreamPageSettings::parityIndex(framing.parity));
        m_rxStopBits->setCurrentIndex(static_cast<int>(framing.stop));
    }
    settingChanged();
}

void StreamSettingsPanel::showFramingEvidence(const language::Text &text)
{
    m_framingEvidence = text;
    m_captureBox->showFramingEvidence(m_framingEvidence());
}
