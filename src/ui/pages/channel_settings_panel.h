// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/link.h"
#include "core/speed_entry.h"
#include "ui/byte_group.h"

#include <QList>
#include <QWidget>

class QLabel;
class RadioGroup;
class SpinEdit;

// The settings of one channel of the transmit/receive page, on two pages: "1. lap" (sending, handshake,
// delay, the data byte, the speed) and "2. lap" (the frame: parity and stop length). Both channels are an
// instance of this class; their controls are named after the channel's number.
class ChannelSettingsPanel : public QWidget
{
    Q_OBJECT

public:
    ChannelSettingsPanel(int channel, QWidget *parent = nullptr);

    // What the run takes from the controls: a number still being typed counts as leaving its field would.
    rs232::ChannelSettings settings();
    int dataByte();

private:
    void buildGeneralPage(QWidget *page);
    void buildFramePage(QWidget *page);
    void speedEdited();
    void presetChosen();
    void speedUnitChosen();
    void delayUnitChosen();
    void sendingChosen();

    const int m_channel; // 1 or 2
    RadioGroup *m_sending = nullptr;
    RadioGroup *m_handshake = nullptr;
    SpinEdit *m_delay = nullptr;
    QLabel *m_delayLabel = nullptr;
    RadioGroup *m_delayUnit = nullptr;
    SpinEdit *m_speed = nullptr;
    QLabel *m_speedLabel = nullptr;
    RadioGroup *m_speedUnit = nullptr;
    RadioGroup *m_presets = nullptr;
    RadioGroup *m_parity = nullptr;
    RadioGroup *m_stop = nullptr;
    ByteGroup m_byte;
    QList<QWidget *> m_dataGroup; // the byte and its views, shown and hidden by the data sending switch
    rs232::SpeedEntry m_speedEntry;

    friend class ChannelSpeedControls;
};
