// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QGroupBox>
#include <QList>
#include <QString>

class QComboBox;
class QLabel;

// The capture shown in measurement mode, where the bytes stand in a simulation: its file, the channel
// read (a combo of every channel), its measured rate, the framing told from it and why, and what went
// wrong reading it.
class CaptureBox : public QGroupBox
{
    Q_OBJECT

public:
    struct Channel
    {
        QString caption; // with its edge count where it is known
        QString name;
    };

    explicit CaptureBox(QWidget *parent = nullptr);

    void showCapture(const QString &fileName, const QString &path, const QList<Channel> &channels, int current,
                     const QString &rateText);
    // Chooses a channel in the combo without a signal.
    void selectChannel(int index);
    QString channelName(int index) const;
    // A refusal or a failed reading under the file (empty: hidden).
    void showError(const QString &text);
    // What the framing was told from (empty: hidden).
    void showFramingEvidence(const QString &text);

Q_SIGNALS:
    void channelChosen(int index);

private:
    QLabel *m_file = nullptr;
    QComboBox *m_channel = nullptr;
    QLabel *m_rate = nullptr;
    QLabel *m_framingEvidence = nullptr;
    QLabel *m_error = nullptr;
};
