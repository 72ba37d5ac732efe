// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/spinedit.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

// A window with the spin edit and a second field, so that focus can really leave the spin edit.
class SpinFixture
{
public:
    SpinFixture(int minimum, int maximum)
    {
        auto *layout = new QVBoxLayout(&window);
        spin = new SpinEdit(&window);
        other = new QLineEdit(&window);
        layout->addWidget(spin);
        layout->addWidget(other);
        spin->setRange(minimum, maximum);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    void focusSpin()
    {
        spin->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(spin->hasFocus());
    }

    void leaveSpin()
    {
        other->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(other->hasFocus());
    }

    QWidget window;
    SpinEdit *spin = nullptr;
    QLineEdit *other = nullptr;
};

class TestSpinEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsAtZero();
    void setValueClampsAndEmitsOnce_data();
    void setValueClampsAndEmitsOnce();
    void typedValueStaysUnclampedUntilFocusLeaves_data();
    void typedValueStaysUnclampedUntilFocusLeaves();
    void lettersAreRefused();
    void textThatIsNoIntegerReadsAsMinimumAndIsWrittenBack();
    void handlerReadingValueOnEmptyTextDoesNotRecurse();
    void boundChangeAloneKeepsShownValue();
    void steppingMovesWithinBounds();
    void readOnlyRefusesTypingAndStepping();
};

void TestSpinEdit::startsAtZero()
{
    SpinEdit spin;
    QCOMPARE(spin.text(), QStringLiteral("0"));
    QCOMPARE(spin.value(), 0);
    QCOMPARE(spin.minimum(), 0);
    QCOMPARE(spin.maximum(), 100);
}

void TestSpinEdit::setValueClampsAndEmitsOnce_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("signals");

    QTest::newRow("in range") << 0 << 255 << 0 << 17 << "17" << 1;
    QTest::newRow("above maximum clamps") << 0 << 255 << 0 << 300 << "255" << 1;
    QTest::newRow("below minimum clamps") << 10 << 20 << 15 << -4 << "10" << 1;
    QTest::newRow("same value emits nothing") << 0 << 255 << 42 << 42 << "42" << 0;
    QTest::newRow("clamped onto the shown value emits nothing") << 0 << 255 << 255 << 999 << "255" << 0;
    QTest::newRow("equal bounds do not clamp") << 0 << 0 << 0 << 1000 << "1000" << 1;
}

void TestSpinEdit::setValueClampsAndEmitsOnce()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, start);
    QFETCH(int, set);
    QFETCH(QString, shown);
    QFETCH(int, signals);

    SpinEdit spin;
    spin.setRange(minimum, maximum);
    spin.setValue(start);
    QSignalSpy changed(&spin, &SpinEdit::changed);
    spin.setValue(set);
    QCOMPARE(spin.text(), shown);
    QCOMPARE(changed.count(), signals);
}

void TestSpinEdit::typedValueStaysUnclampedUntilFocusLeaves_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("whileTyping");
    QTest::addColumn<int>("afterLeaving");

    QTest::newRow("typed 300 stays unclamped") << "300" << 300 << 255;
    QTest::newRow("typed -5 stays unclamped") << "-5" << -5 << 0;
    QTest::newRow("typed in range is kept") << "128" << 128 << 128;
}

void TestSpinEdit::typedValueStaysUnclampedUntilFocusLeaves()
{
    QFETCH(QString, typed);
    QFETCH(int, whileTyping);
    QFETCH(int, afterLeaving);

    SpinFixture f(0, 255);
    f.focusSpin();
    f.spin->selectAll();
    QSignalSpy changed(f.spin, &SpinEdit::changed);
    QTest::keyClicks(f.spin, typed);
    QCOMPARE(f.spin->text(), typed);
    QCOMPARE(changed.count(), typed.size()); // one report per keystroke
    QCOMPARE(f.spin->value(), whileTyping);

    changed.clear();
    f.leaveSpin();
    QCOMPARE(f.spin->value(), afterLeaving);
    QCOMPARE(f.spin->text(), QString::number(afterLeaving));
    QCOMPARE(changed.count(), whileTyping == afterLeaving ? 0 : 1);
}

void TestSpinEdit::lettersAreRefused()
{
    SpinFixture f(0, 255);
    f.focusSpin();
    f.spin->selectAll();
    QTest::keyClicks(f.spin, "1a2");
    QCOMPARE(f.spin->text(), QStringLiteral("12"));
}

void TestSpinEdit::textThatIsNoIntegerReadsAsMinimumAndIsWrittenBack()
{
    SpinFixture f(5, 255);
    f.spin->setValue(77);
    f.focusSpin();
    f.spin->selectAll();
    QTest::keyClick(f.spin, Qt::Key_Backspace);
    QCOMPARE(f.spin->text(), QString());

    QSignalSpy changed(f.spin, &SpinEdit::changed);
    QCOMPARE(f.spin->value(), 5);
    QCOMPARE(f.spin->text(), QStringLiteral("5"));
    QCOMPARE(changed.count(), 1);

    // Leaving an emptied field writes the minimum as well.
    f.spin->clear();
    f.leaveSpin();
    QCOMPARE(f.spin->text(), QStringLiteral("5"));
}

void TestSpinEdit::handlerReadingValueOnEmptyTextDoesNotRecurse()
{
    SpinEdit spin;
    spin.setRange(3, 9);
    spin.setValue(7);
    // A hostile handler that empties the field and reads it on every change: the repair that value()
    // writes is itself a change, so without a guard this would never end.
    int calls = 0;
    const auto connection = connect(&spin, &SpinEdit::changed, &spin, [&] {
        ++calls;
        spin.clear();
        QCOMPARE(spin.value(), 3);
    });
    spin.clear();
    QVERIFY(calls > 0 && calls < 10);
    disconnect(connection);
    QCOMPARE(spin.value(), 3);
    QCOMPARE(spin.text(), QStringLiteral("3"));
}

void TestSpinEdit::boundChangeAloneKeepsShownValue()
{
    SpinEdit spin;
    spin.setRange(0, 255);
    spin.setValue(200);
    QSignalSpy changed(&spin, &SpinEdit::changed);
    spin.setMaximum(100);
    spin.setMinimum(250);
    QCOMPARE(spin.text(), QStringLiteral("200"));
    QCOMPARE(spin.value(), 200);
    QCOMPARE(changed.count(), 0);
}

void TestSpinEdit::steppingMovesWithinBounds()
{
    SpinEdit spin;
    spin.setRange(0, 10);
    spin.setValue(9);
    QSignalSpy changed(&spin, &SpinEdit::changed);
    spin.stepUp();
    QCOMPARE(spin.value(), 10);
    spin.stepBy(5);
    QCOMPARE(spin.value(), 10);
    QCOMPARE(changed.count(), 1);
    spin.stepBy(-20);
    QCOMPARE(spin.value(), 0);

    // The arrows follow the bounds: at the minimum only up is on, at the maximum only down.
    struct Arrows : SpinEdit
    {
        using SpinEdit::stepEnabled;
    } arrows;
    arrows.setRange(0, 10);
    arrows.setValue(0);
    QCOMPARE(arrows.stepEnabled(), QAbstractSpinBox::StepEnabled(QAbstractSpinBox::StepUpEnabled));
    arrows.setValue(10);
    QCOMPARE(arrows.stepEnabled(), QAbstractSpinBox::StepEnabled(QAbstractSpinBox::StepDownEnabled));
    arrows.setValue(5);
    QCOMPARE(arrows.stepEnabled(), QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled);
}

void TestSpinEdit::readOnlyRefusesTypingAndStepping()
{
    SpinFixture f(0, 255);
    f.spin->setValue(12);
    f.spin->setReadOnly(true);
    f.focusSpin();
    QSignalSpy changed(f.spin, &SpinEdit::changed);
    QTest::keyClicks(f.spin, "34");
    QTest::keyClick(f.spin, Qt::Key_Backspace);
    f.spin->stepUp();
    f.spin->stepDown();
    QTest::keyClick(f.spin, Qt::Key_Up);
    QCOMPARE(f.spin->text(), QStringLiteral("12"));
    QCOMPARE(f.spin->value(), 12);
    QCOMPARE(changed.count(), 0);
    // The program may still set the value.
    f.spin->setValue(13);
    QCOMPARE(f.spin->text(), QStringLiteral("13"));
}

QTEST_MAIN(TestSpinEdit)
#include "test_spinedit.moc"
