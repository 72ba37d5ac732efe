// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/radiogroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

RadioGroup::RadioGroup(QWidget *parent) : QGroupBox(parent)
{
    m_group = new QButtonGroup(this);
    m_layout = new QGridLayout(this);
    m_layout->setContentsMargins(8, 4, 8, 4);
    m_layout->setSpacing(2);
}

RadioGroup::RadioGroup(const QString &caption, const QStringList &items, int columns, QWidget *parent)
    : RadioGroup(parent)
{
    setTitle(caption);
    m_columns = qMax(1, columns);
    setItems(items);
}

void RadioGroup::setItemIndex(int index)
{
    if (index < 0 || index >= m_buttons.size()) {
        if (m_index == -1)
            return;
        m_index = -1;
        // An exclusive group does not let its checked button go; lift the rule while clearing.
        m_group->setExclusive(false);
        for (QRadioButton *radio : std::as_const(m_buttons))
            radio->setChecked(false);
        m_group->setExclusive(true);
        return;
    }
    if (index == m_index)
        return;
    // The index is taken before the button is checked so that the toggle handler sees no change and
    // the signal goes out once, from here.
    m_index = index;
    m_buttons.at(index)->setChecked(true);
    Q_EMIT itemSelected(index);
}

void RadioGroup::setItems(const QStringList &items)
{
    m_items = items;
    if (m_index >= m_items.size())
        m_index = -1;
    rebuild();
}

void RadioGroup::setColumns(int columns)
{
    columns = qMax(1, columns);
    if (columns == m_columns)
        return;
    m_columns = columns;
    rebuild();
}

QRadioButton *RadioGroup::button(int index) const
{
    return index >= 0 && index < m_buttons.size() ? m_buttons.at(index) : nullptr;
}

void RadioGroup::rebuild()
{
    for (QRadioButton *radio : std::as_const(m_buttons)) {
        m_group->removeButton(radio);
        m_layout->removeWidget(radio);
        delete radio;
    }
    m_buttons.clear();
    for (int row = 0; row < m_layout->rowCount(); ++row)
        m_layout->setRowStretch(row, 0);
    for (int column = 0; column < m_layout->columnCount(); ++column)
        m_layout->setColumnStretch(column, 0);

    const int count = static_cast<int>(m_items.size());
    // Filled column by column, top to bottom, as classic radio groups are.
    const int rows = count == 0 ? 0 : (count + m_columns - 1) / m_columns;
    for (int i = 0; i < count; ++i) {
        auto *radio = new QRadioButton(m_items.at(i), this);
        m_group->addButton(radio, i);
        m_layout->addWidget(radio, i % rows, i / rows);
        m_buttons.append(radio);
        radio->setChecked(i == m_index);
        // toggled(true) covers a click as well as keyboard moves between the buttons.
        connect(radio, &QRadioButton::toggled, this, [this, i](bool checked) {
            if (!checked || i == m_index)
                return;
            m_index = i;
            Q_EMIT itemSelected(i);
        });
    }
    for (int row = 0; row < rows; ++row)
        m_layout->setRowStretch(row, 1);
    for (int column = 0; column < m_columns; ++column)
        m_layout->setColumnStretch(column, 1);
}
