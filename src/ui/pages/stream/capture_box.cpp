// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/capture_box.h"

#include "ui/pages/stream/settings_fields.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>

// The box's texts keep the translation context of the settings panel they were first written in.
CaptureBox::CaptureBox(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("stream_capture_box"));
    language::follow(this, [this] { setTitle(QCoreApplication::translate("StreamSettingsPanel", "Mérés")); });
    auto *grid = new QGridLayout(this);
    compact(grid);
    m_file = new QLabel;
    m_file->setObjectName(QStringLiteral("stream_capture_file"));
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_channel = new QComboBox;
    m_channel->setObjectName(QStringLiteral("stream_capture_channel"));
    followToolTip(m_channel, [] {
        return QCoreApplication::translate("StreamSettingsPanel", "A mérés melyik csatornáján van a soros jel");
    });
    m_channel->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_rate = new QLabel;
    m_rate->setObjectName(QStringLiteral("stream_capture_rate"));
    m_error = new QLabel;
    m_error->setObjectName(QStringLiteral("stream_capture_error"));
    m_error->setWordWrap(true);
    paintRed(m_error);
    m_error->setVisible(false);
    grid->addWidget(captionLabel([] { return QCoreApplication::translate("StreamSettingsPanel", "Fájl:"); }), 0, 0);
    grid->addWidget(m_file, 0, 1);
    grid->addWidget(captionLabel([] { return QCoreApplication::translate("StreamSettingsPanel", "Csatorna:"); }), 0,
                    2);
    grid->addWidget(m_channel, 0, 3);
    grid->addWidget(m_rate, 0, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    grid->setHorizontalSpacing(12);
    m_framingEvidence = new QLabel;
    m_framingEvidence->setObjectName(QStringLiteral("stream_framing_evidence"));
    m_framingEvidence->setWordWrap(true);
    m_framingEvidence->setVisible(false);
    grid->addWidget(m_framingEvidence, 1, 0, 1, 5);
    grid->addWidget(m_error, 2, 0, 1, 5);
    connect(m_channel, &QComboBox::activated, this, &CaptureBox::channelChosen);
}

void CaptureBox::showCapture(const QString &fileName, const QString &path, const QList<Channel> &channels,
                             int current, const QString &rateText)
{
    m_file->setText(fileName);
    m_file->setToolTip(QDir::toNativeSeparators(path));
    {
        const QSignalBlocker blocker(m_channel);
        m_channel->clear();
        for (const Channel &c : channels)
            m_channel->addItem(c.caption, c.name);
        m_channel->setCurrentIndex(current);
        // As wide as its longest name with its edge count.
        int widest = 0;
        for (int i = 0; i < m_channel->count(); ++i)
            widest = std::max(widest, m_channel->fontMetrics().horizontalAdvance(m_channel->itemText(i)));
        m_channel->setMinimumWidth(widest + 40);
    }
    layout()->activate();
    m_rate->setText(rateText);
}

void CaptureBox::selectChannel(int index)
{
    const QSignalBlocker blocker(m_channel);
    m_channel->setCurrentIndex(index);
}

QString CaptureBox::channelName(int index) const
{
    return m_channel->itemData(index).toString();
}

void CaptureBox::showError(const QString &text)
{
    m_error->setText(text);
    m_error->setVisible(!text.isEmpty());
}

void CaptureBox::showFramingEvidence(const QString &text)
{
    m_framingEvidence->setText(text);
    m_framingEvidence->setVisible(!text.isEmpty());
}
