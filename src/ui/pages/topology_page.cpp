// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/topology_page.h"

#include "ui/form_builder.h"
#include "widgets/rtfview.h"

TopologyPage::TopologyPage(QWidget *parent) : QWidget(parent)
{
    form::picture(this, QStringLiteral("Image48"), QStringLiteral("topology"), QRect(184, 32, 465, 199));
    m_description = form::descriptionView(this, QStringLiteral("qel_rs232_top_re"), tr("RS232 topológiai leírás"),
                                          QRect(17, 320, 824, 409), form::kWindowColour);
}
