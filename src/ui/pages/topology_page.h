// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class RtfView;

// The topology page: a picture of the link and the topology's description document under it.
class TopologyPage : public QWidget
{
    Q_OBJECT

public:
    explicit TopologyPage(QWidget *parent = nullptr);
    RtfView *descriptionView() const { return m_description; }

private:
    RtfView *m_description = nullptr; // qel_rs232_top_re
};
