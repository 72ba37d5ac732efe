// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QRadioButton;
class QButtonGroup;
class QGridLayout;

// A captioned group of radio items in one or more columns. itemSelected(i) is emitted only when the
// selection changes to an item, by a click or by setItemIndex; selecting the selected item again or
// clearing the selection (-1) emits nothing.
class RadioGroup : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(int itemIndex READ itemIndex WRITE setItemIndex)
    Q_PROPERTY(QStringList items READ items WRITE setItems)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(int columns READ columns WRITE setColumns)

public:
    explicit RadioGroup(QWidget *parent = nullptr);
    RadioGroup(const QString &caption, const QStringList &items, int columns = 1, QWidget *parent = nullptr);

    int itemIndex() const { return m_index; }
    void setItemIndex(int index);
    QStringList items() const { return m_items; }
    void setItems(const QStringList &items);
    QString caption() const { return title(); }
    void setCaption(const QString &caption) { setTitle(caption); }
    int columns() const { return m_columns; }
    void setColumns(int columns);
    QRadioButton *button(int index) const;

Q_SIGNALS:
    void itemSelected(int index);

private:
    void rebuild();

    QStringList m_items;
    int m_columns = 1;
    int m_index = -1;
    QList<QRadioButton *> m_buttons;
    QButtonGroup *m_group = nullptr;
    QGridLayout *m_layout = nullptr;
};
