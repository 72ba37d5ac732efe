// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/radiogroup.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {
const QStringList ParityItems{"nincs", "fix \"0\"", "fix \"1\"", "páros", "páratlan"};

// A radio button reacts only to clicks on its indicator and text, not on the empty rest of its row.
void clickItem(RadioGroup &group, int index)
{
    QRadioButton *radio = group.button(index);
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}
} // namespace

class TestRadioGroup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsWithoutSelection();
    void setItemIndexEmitsOnlyOnChange_data();
    void setItemIndexEmitsOnlyOnChange();
    void clickEmitsOnlyOnChange();
    void handlerMaySelectAnotherItem();
    void itemsFillColumnsTopToBottom();
    void setItemsRebuildsButtons();
};

void TestRadioGroup::startsWithoutSelection()
{
    RadioGroup group(QStringLiteral("paritás bit"), ParityItems, 2);
    QCOMPARE(group.itemIndex(), -1);
    QCOMPARE(group.caption(), QStringLiteral("paritás bit"));
    QCOMPARE(group.findChildren<QRadioButton *>().size(), ParityItems.size());
    for (int i = 0; i < ParityItems.size(); ++i) {
        QCOMPARE(group.button(i)->text(), ParityItems.at(i));
        QVERIFY(!group.button(i)->isChecked());
    }
    QCOMPARE(group.button(ParityItems.size()), nullptr);
}

void TestRadioGroup::setItemIndexEmitsOnlyOnChange_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("expectedIndex");
    QTest::addColumn<QList<int>>("emitted");

    QTest::newRow("first selection emits") << -1 << 2 << 2 << QList<int>{2};
    QTest::newRow("change of item emits") << 1 << 3 << 3 << QList<int>{3};
    QTest::newRow("re-selecting the selected item emits nothing") << 3 << 3 << 3 << QList<int>{};
    QTest::newRow("clearing emits nothing") << 3 << -1 << -1 << QList<int>{};
    QTest::newRow("clearing a cleared group emits nothing") << -1 << -1 << -1 << QList<int>{};
    QTest::newRow("index past the items clears silently") << 2 << 9 << -1 << QList<int>{};
}

void TestRadioGroup::setItemIndexEmitsOnlyOnChange()
{
    QFETCH(int, start);
    QFETCH(int, set);
    QFETCH(int, expectedIndex);
    QFETCH(QList<int>, emitted);

    RadioGroup group(QStringLiteral("paritás bit"), ParityItems);
    group.setItemIndex(start);
    QSignalSpy spy(&group, &RadioGroup::itemSelected);
    group.setItemIndex(set);
    QCOMPARE(group.itemIndex(), expectedIndex);
    QList<int> got;
    for (const QList<QVariant> &args : std::as_const(spy))
        got.append(args.at(0).toInt());
    QCOMPARE(got, emitted);
    for (int i = 0; i < ParityItems.size(); ++i)
        QCOMPARE(group.button(i)->isChecked(), i == expectedIndex);
}

void TestRadioGroup::clickEmitsOnlyOnChange()
{
    RadioGroup group(QStringLiteral("paritás bit"), ParityItems, 2);
    group.show();
    QVERIFY(QTest::qWaitForWindowExposed(&group));
    QSignalSpy spy(&group, &RadioGroup::itemSelected);

    clickItem(group, 4);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 4);
    QCOMPARE(group.itemIndex(), 4);

    clickItem(group, 4);
    QCOMPARE(spy.count(), 1);
    QVERIFY(group.button(4)->isChecked());

    group.setItemIndex(-1);
    clickItem(group, 4);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(group.itemIndex(), 4);
}

void TestRadioGroup::handlerMaySelectAnotherItem()
{
    // A display group answers any selection by selecting its remembered item again.
    RadioGroup group(QStringLiteral("stop bit hossza"), {"1 bit", "1,5 bit", "2 bit"});
    group.show();
    QVERIFY(QTest::qWaitForWindowExposed(&group));
    const int remembered = 1;
    group.setItemIndex(remembered);
    QList<int> seen;
    connect(&group, &RadioGroup::itemSelected, &group, [&](int index) {
        seen.append(index);
        group.setItemIndex(remembered);
    });
    clickItem(group, 2);
    QCOMPARE(seen, (QList<int>{2, remembered}));
    QCOMPARE(group.itemIndex(), remembered);
    QVERIFY(group.button(remembered)->isChecked());
    QVERIFY(!group.button(2)->isChecked());
}

void TestRadioGroup::itemsFillColumnsTopToBottom()
{
    RadioGroup group(QStringLiteral("paritás bit"), ParityItems, 2);
    group.resize(300, 150);
    group.show();
    QVERIFY(QTest::qWaitForWindowExposed(&group));
    // Five items in two columns: 0, 1, 2 on the left, 3, 4 on the right.
    const auto x = [&](int i) { return group.button(i)->geometry().x(); };
    const auto y = [&](int i) { return group.button(i)->geometry().y(); };
    QCOMPARE(x(0), x(2));
    QVERIFY(x(3) > x(0));
    QCOMPARE(x(3), x(4));
    QVERIFY(y(0) < y(1) && y(1) < y(2));
    QCOMPARE(y(3), y(0));
    QCOMPARE(y(4), y(1));
}

void TestRadioGroup::setItemsRebuildsButtons()
{
    RadioGroup group(QStringLiteral("paritás bit"), ParityItems);
    group.setItemIndex(1);
    QSignalSpy spy(&group, &RadioGroup::itemSelected);
    group.setItems({"a", "b", "c"});
    QCOMPARE(group.findChildren<QRadioButton *>().size(), 3);
    QCOMPARE(group.itemIndex(), 1);
    QVERIFY(group.button(1)->isChecked());
    group.setItems({"only"});
    QCOMPARE(group.itemIndex(), -1);
    QVERIFY(!group.button(0)->isChecked());
    QCOMPARE(spy.count(), 0);
}

QTEST_MAIN(TestRadioGroup)
#include "test_radiogroup.moc"
