// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/language.h"
#include "ui/pages/stream/capture_box.h"
#include "ui/pages/stream/stream_page_settings.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The byte string page's settings: the bytes (or, in measurement mode, the capture's file and channel),
// the transmitter, the receiver, the line and the page's buttons. It checks what is typed, names the first
// setting it refuses under the bytes and tints its field, and keeps the run button off while one is refused.
class StreamSettingsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit StreamSettingsPanel(QWidget *parent = nullptr);

    // The receiver kinds in the order of ReceiverKind, as the kind combo lists them.
    static QStringList receiverKinds();

    StreamPageSettings settings() const;
    // Writes every field without a change signal; the bytes are read again from the text.
    void setSettings(const StreamPageSettings &settings);
    // The bytes of one pass, from whichever field was edited last.
    const std::vector<unsigned> &bytes() const { return m_bytes; }

    // Checks the settings; true when a run (or in measurement mode, a decoding) may go ahead.
    bool validate();
    // Why the last run, or in measurement mode the last decoding, failed: shown where refusals are (under
    // the bytes, or under the capture) until the next result clears it with an empty text, and worded
    // again after a language switch.
    void showFailure(const language::Text &text);

    // Measurement mode: the capture box stands where the bytes were, "Vissza a szimulációhoz" where the
    // run button was, and the settings a capture has no use for are off.
    void setMeasuring(bool measuring);
    bool measuring() const { return m_measuring; }
    using CaptureChannel = CaptureBox::Channel;
    void showCapture(const QString &fileName, const QString &path, const QList<CaptureChannel> &channels,
                     int current, const QString &rateText);
    void selectChannel(int index);
    QString channelName(int index) const;
    // The receiver's rate, set from a measurement without a change signal.
    void setReceiverRate(const QString &rate);
    // The invert box, set from a measurement without a change signal.
    void setInvert(bool invert);
    // The receiver's framing, told from a measured line: written, then a change signal.
    void setReceiverFraming(const rs232::Framing &framing);
    // What the framing was told from, under the capture's file and channel (empty: hidden); worded again
    // after a language switch.
    void showFramingEvidence(const language::Text &text);
    // "Felvétel mentése…" shows while the capture shown is a recording not saved anywhere else.
    void setRecordingSaveable(bool saveable);

Q_SIGNALS:
    void changed();
    void runRequested();
    void openCaptureRequested();
    void recordRequested();
    void saveRecordingRequested();
    void backRequested();
    void channelChosen(int index);
    void detectFramingRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildBytes();
    void buildCapture();
    void buildTransmitter(QLayout *row);
    void buildReceiver(QLayout *row);
    void buildLine(QLayout *row);
    void connectChanges();
    void textEdited();
    void hexEdited();
    // Every setting's change: clears a note on a changed value and tells the page.
    void settingChanged();
    // A value set to the nearest end of its range on leaving its field, kept as numbers: the note on it is
    // worded in the window's language and number format whenever it is shown.
    struct ClampedValue
    {
        QWidget *field = nullptr;
        QString typed; // as typed
        double minimum = 0.0, maximum = 0.0, now = 0.0;
        int decimals = -1; // -1: a whole number field
        QString suffix;
    };
    // Says a clamped value under the bytes, where refusals are, and tints its field.
    void showClamped(const ClampedValue &clamped);
    QString clampedNote() const;
    // The refusal found last, or else the last failure, or else the note on a changed value, with the
    // field it concerns tinted.
    void showMessage();

    QLineEdit *m_text = nullptr;
    QLineEdit *m_hex = nullptr;
    QSpinBox *m_repeat = nullptr;
    QComboBox *m_txRate = nullptr;
    QDoubleSpinBox *m_txClockError = nullptr;
    QSpinBox *m_dataBits = nullptr;
    QComboBox *m_parity = nullptr;
    QComboBox *m_stopBits = nullptr;
    QDoubleSpinBox *m_idle = nullptr;
    QComboBox *m_rxRate = nullptr;
    QDoubleSpinBox *m_rxClockError = nullptr;
    QComboBox *m_rxKind = nullptr;
    QCheckBox *m_rxOwnFormat = nullptr;
    QWidget *m_rxFormatBox = nullptr;
    QSpinBox *m_rxDataBits = nullptr;
    QComboBox *m_rxParity = nullptr;
    QComboBox *m_rxStopBits = nullptr;
    QDoubleSpinBox *m_noise = nullptr;
    QDoubleSpinBox *m_noiseWidth = nullptr;
    QSpinBox *m_seed = nullptr;
    QDoubleSpinBox *m_breakBits = nullptr;
    QCheckBox *m_invert = nullptr;
    QPushButton *m_detectFraming = nullptr;
    QLabel *m_error = nullptr;
    QPushButton *m_runButton = nullptr;
    QPushButton *m_backButton = nullptr;
    QPushButton *m_saveRecording = nullptr;
    QGroupBox *m_bytesBox = nullptr;
    QGroupBox *m_txBox = nullptr;
    CaptureBox *m_captureBox = nullptr;
    QList<QWidget *> m_simulationOnly; // settings a measurement has no use for

    std::vector<unsigned> m_bytes;   // the bytes of one pass, from whichever field was edited last
    QString m_bytesError;            // why the field edited last gives no bytes; empty when it does
    std::function<QString()> m_bytesErrorWords; // the same, worded in the window's language
    QWidget *m_bytesField = nullptr; // that field
    bool m_measuring = false;
    QString m_lastError; // the refusal validate found last
    QWidget *m_lastErrorField = nullptr;
    std::optional<ClampedValue> m_clamped; // a value changed on leaving its field, until the next change
    language::Text m_failure;              // why the last run or decoding failed
    language::Text m_framingEvidence;
};
