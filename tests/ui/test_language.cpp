// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The window in English: every text a user reads is translated, switching back gives the Hungarian texts
// exactly as before, the runs give the same results in either language, and the English translation file
// is complete and in step with the sources.
#include "fake_platform.h"
#include "ui/Application.h"
#include "ui/language.h"
#include "ui/main_window.h"
#include "ui/pages/stream/stream_texts.h"
#include "widgets/stepchart.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>
#include <functional>

namespace {

// One text a user can read, with where it stands.
struct Shown
{
    QString where;
    QString text;
};

QString pathOf(const QObject *object)
{
    QStringList names;
    for (; object; object = object->parent())
        names.prepend(object->objectName().isEmpty() ? QString::fromLatin1(object->metaObject()->className())
                                                     : object->objectName());
    return names.join(QLatin1Char('/'));
}

// Every text of the window a user can read: captions, group titles, tab texts, menus and their items,
// combo items, table cells and headers, memos, chart row labels, tooltips and the status bar. The
// language menu names its languages in their own words and is left out.
QList<Shown> shownTexts(QMainWindow &window)
{
    QList<Shown> out;
    const auto add = [&out](const QObject *where, const QString &what, const QString &text) {
        if (!text.trimmed().isEmpty())
            out.append({pathOf(where) + QLatin1Char(':') + what, text});
    };
    const auto widgets = window.findChildren<QWidget *>();
    for (const QWidget *w : widgets) {
        if (w->isHidden())
            continue;
        add(w, QStringLiteral("tooltip"), w->toolTip());
        if (auto *label = qobject_cast<const QLabel *>(w))
            add(w, QStringLiteral("text"), label->text());
        if (auto *button = qobject_cast<const QAbstractButton *>(w))
            add(w, QStringLiteral("text"), button->text());
        if (auto *group = qobject_cast<const QGroupBox *>(w))
            add(w, QStringLiteral("title"), group->title());
        if (auto *tabs = qobject_cast<const QTabWidget *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                add(w, QStringLiteral("tab%1").arg(i), tabs->tabText(i));
        if (auto *combo = qobject_cast<const QComboBox *>(w); combo && !combo->isEditable())
            for (int i = 0; i < combo->count(); ++i)
                add(w, QStringLiteral("item%1").arg(i), combo->itemText(i));
        if (auto *memo = qobject_cast<const QPlainTextEdit *>(w))
            add(w, QStringLiteral("text"), memo->toPlainText());
        if (auto *chart = qobject_cast<const StepChart *>(w)) {
            for (const StepChart::RowLabel &row : chart->rowLabels())
                add(w, QStringLiteral("row%1").arg(row.y), row.text);
            const auto actions = chart->actions();
            for (const QAction *action : actions)
                add(action, QStringLiteral("action"), action->text());
        }
        if (auto *table = qobject_cast<const QTableView *>(w); table && table->model()) {
            const QAbstractItemModel *model = table->model();
            for (int c = 0; c < model->columnCount(); ++c) {
                if (table->isColumnHidden(c))
                    continue;
                add(w, QStringLiteral("header%1").arg(c), model->headerData(c, Qt::Horizontal).toString());
                for (int r = 0; r < std::min(model->rowCount(), 40); ++r)
                    add(w, QStringLiteral("cell%1,%2").arg(r).arg(c), model->index(r, c).data().toString());
            }
        }
    }
    const auto menus = window.menuBar()->findChildren<QMenu *>();
    for (const QMenu *menu : menus) {
        if (menu->objectName() == QStringLiteral("language_menu"))
            continue;
        add(menu, QStringLiteral("title"), menu->title());
        const auto actions = menu->actions();
        for (const QAction *action : actions)
            add(action, QStringLiteral("text"), action->text());
    }
    return out;
}

// Letters and short words only Hungarian has.
bool looksHungarian(const QString &text)
{
    static const QRegularExpression letters(QStringLiteral("[áéíóöőúüűÁÉÍÓÖŐÚÜŰ]"));
    static const QRegularExpression words(
        QStringLiteral(
            "\\b(adat|adatok|csatorna|keret|keretek|nincs|hiba|grafikon|vonal|zaj|mag|lap|fix|ez|az|"
            "van|nem|bekapcsolva|kikapcsolva|tiltott|minta|lap)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return letters.match(text).hasMatch() || words.match(text).hasMatch();
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCoreApplication::processEvents();
}

void switchTo(const char *code)
{
    QVERIFY(language::setLanguage(QString::fromLatin1(code)));
    settle();
}

void pick(QMainWindow &window, const char *tabs, int index)
{
    auto *control = window.findChild<QTabWidget *>(QLatin1String(tabs));
    QVERIFY2(control, tabs);
    control->setCurrentIndex(index);
}

void runEveryPage(QMainWindow &window)
{
    window.findChild<QPushButton *>(QStringLiteral("qel_rs232_acssz_szim"))->click();
    window.findChild<QPushButton *>(QStringLiteral("qel_rs232_avsz_szim"))->click();
    window.findChild<QPushButton *>(QStringLiteral("stream_run"))->click();
    QCoreApplication::processEvents();
}

// The numbers of a text, whatever the language's separators: "1 149,089" and "1,149.089" both give
// 1149.089; sorted, since sentences order them differently.
QList<double> numbersIn(QString text, const QLocale &locale)
{
    text.remove(locale.groupSeparator());
    text.replace(locale.decimalPoint(), QStringLiteral("."));
    QList<double> numbers;
    static const QRegularExpression number(QStringLiteral("\\d+(\\.\\d+)?"));
    for (auto it = number.globalMatch(text); it.hasNext();)
        numbers.append(it.next().captured().toDouble());
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace

class LanguageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { switchTo("hu"); }
    void cleanupTestCase() { language::setLanguage(QStringLiteral("hu")); }

    void startLanguage_data();
    void startLanguage();
    void unknownLanguageChangesNothing();
    void numbersFollowTheLanguage();
    void documentsInEnglishFallBackToHungarian();
    void everyTextInEnglish();
    void switchingBackGivesTheHungarianTexts();
    void runsGiveTheSameResults();
    void languageMenuSwitchesAndRemembers();
    void translationIsCompleteAndInStep();
    void nothingCutOffInEnglish_data();
    void nothingCutOffInEnglish();
};

void LanguageTest::startLanguage_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first start, Hungarian system") << ""
                                                   << ""
                                                   << "hu_HU"
                                                   << "hu";
    QTest::newRow("first start, English system") << ""
                                                 << ""
                                                 << "en_GB"
                                                 << "en";
    QTest::newRow("first start, other system") << ""
                                               << ""
                                               << "de_DE"
                                               << "hu";
    QTest::newRow("remembered Hungarian wins over an English system") << ""
                                                                      << "hu"
                                                                      << "en_US"
                                                                      << "hu";
    QTest::newRow("remembered English") << ""
                                        << "en"
                                        << "hu_HU"
                                        << "en";
    QTest::newRow("command line wins") << "hu"
                                       << "en"
                                       << "en_US"
                                       << "hu";
    QTest::newRow("unknown command line ignored") << "fr"
                                                  << "en"
                                                  << "hu_HU"
                                                  << "en";
    QTest::newRow("unknown remembered value: not a first start") << ""
                                                                 << "xx"
                                                                 << "en_US"
                                                                 << "hu";
}

void LanguageTest::startLanguage()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, remembered);
    QFETCH(QString, system);
    QFETCH(QString, expected);
    QCOMPARE(language::startLanguage(commandLine, remembered, system), expected);
}

void LanguageTest::unknownLanguageChangesNothing()
{
    switchTo("en");
    QVERIFY(!language::setLanguage(QStringLiteral("de")));
    QCOMPARE(language::currentLanguage(), QStringLiteral("en"));
    QCOMPARE(QCoreApplication::translate("MainWindow", "Súgó"), QStringLiteral("Help"));
}

void LanguageTest::numbersFollowTheLanguage()
{
    QCOMPARE(StreamTexts::number(1149.089, 3), QStringLiteral("1\u00a0149,089"));
    QVERIFY(language::qtTranslationLoaded());
    switchTo("en");
    QCOMPARE(StreamTexts::number(1149.089, 3), QStringLiteral("1,149.089"));
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral("."));
    // Qt's own dialogs speak English then: its Hungarian translation is removed.
    QVERIFY(!language::qtTranslationLoaded());
    switchTo("hu");
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    QCOMPARE(MainWindow::clockText(QDateTime(QDate(2011, 3, 2), QTime(9, 5, 3))),
             QStringLiteral("2011.03.02 09:05:03    szerda  "));
    switchTo("en");
    QCOMPARE(MainWindow::clockText(QDateTime(QDate(2011, 3, 2), QTime(9, 5, 3))),
             QStringLiteral("2 Mar 2011 09:05:03    Wednesday  "));
}

void LanguageTest::documentsInEnglishFallBackToHungarian()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("inf/en")));
    const QString translated = dir.filePath(QStringLiteral("inf/a.rtf"));
    const QString untranslated = dir.filePath(QStringLiteral("inf/b.rtf"));
    QFile(dir.filePath(QStringLiteral("inf/en/a.rtf"))).open(QIODevice::WriteOnly);
    QCOMPARE(language::documentPath(translated), translated);
    QCOMPARE(language::guideFileName(), QStringLiteral("rs232sim_sugo.pdf"));
    switchTo("en");
    QCOMPARE(QDir::fromNativeSeparators(language::documentPath(translated)),
             dir.filePath(QStringLiteral("inf/en/a.rtf")));
    QCOMPARE(language::documentPath(untranslated), untranslated);
    QCOMPARE(language::guideFileName(), QStringLiteral("rs232sim_guide.pdf"));
}

void LanguageTest::everyTextInEnglish()
{
    FakePlatform platform;
    MainWindow window(platform);
    window.show();
    runEveryPage(window);
    switchTo("en");
    // Every page and every tab: the pages not shown are walked as well.
    const QList<Shown> texts = shownTexts(window);
    QVERIFY(texts.size() > 300);
    QStringList hungarian;
    for (const Shown &shown : texts)
        if (looksHungarian(shown.text))
            hungarian << shown.where + QStringLiteral(" = ") + shown.text;
    QVERIFY2(hungarian.isEmpty(), qPrintable(hungarian.join(QLatin1Char('\n'))));
    // The status bar's day and the window's menus are English too.
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("StatusBar1_panel2"))
                ->text()
                .contains(QStringLiteral("Wednesday")));
    QCOMPARE(window.menuBar()->actions().constLast()->text(), QStringLiteral("Help"));
    // A new run in English is worded in English as well.
    runEveryPage(window);
    for (const Shown &shown : shownTexts(window))
        QVERIFY2(!looksHungarian(shown.text), qPrintable(shown.where + QStringLiteral(" = ") + shown.text));
}

void LanguageTest::switchingBackGivesTheHungarianTexts()
{
    FakePlatform platform;
    MainWindow window(platform);
    window.show();
    runEveryPage(window);
    pick(window, "qel_rs232_pc", 3);
    const QList<Shown> before = shownTexts(window);
    const QSize sizeBefore = window.size();
    switchTo("en");
    switchTo("hu");
    const QList<Shown> after = shownTexts(window);
    QCOMPARE(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        QCOMPARE(after[i].where, before[i].where);
        QCOMPARE(after[i].text, before[i].text);
    }
    QCOMPARE(window.size(), sizeBefore);
    QVERIFY(platform.messages.isEmpty());
}

void LanguageTest::runsGiveTheSameResults()
{
    // The same settings run in each language: the bits, frames, values and verdicts agree, and so do the
    // numbers of the byte string page's summary.
    struct Result
    {
        QStringList cells;     // the value columns of the grids and the byte table
        QList<bool> verdicts;  // the tick and cross of each channel
        QList<double> numbers; // every number of the summary and the tolerance
        int memoLines = 0;
    };
    const auto runIn = [](const char *code) {
        switchTo(code);
        FakePlatform platform;
        MainWindow window(platform);
        window.show();
        runEveryPage(window);
        Result r;
        const QStringList grids{QStringLiteral("qel_rs232_acssz_csadatok"),
                                QStringLiteral("qel_rs232_avsz_cs1_tabla"),
                                QStringLiteral("qel_rs232_avsz_cs2_tabla")};
        for (const QString &name : grids) {
            const auto *grid = window.findChild<QTableView *>(name);
            for (int row = 1; row < grid->model()->rowCount(); ++row)
                r.cells << grid->model()->index(row, 0).data().toString()
                        << grid->model()->index(row, 2).data().toString();
        }
        const auto *table = window.findChild<QTableView *>(QStringLiteral("stream_table"));
        for (int row = 0; row < table->model()->rowCount(); ++row)
            for (int column : {2, 3, 4, 5})
                r.cells << table->model()->index(row, column).data().toString();
        for (const char *picture : {"qel_rs232_avsz_cs1_ok", "qel_rs232_avsz_cs1_hiba",
                                    "qel_rs232_avsz_cs2_ok", "qel_rs232_avsz_cs2_hiba"})
            r.verdicts << !window.findChild<QWidget *>(QLatin1String(picture))->isHidden();
        const QLocale locale = language::localeFor(QString::fromLatin1(code));
        r.numbers = numbersIn(window.findChild<QLabel *>(QStringLiteral("stream_summary"))->text() +
                                  QLatin1Char(' ') +
                                  window.findChild<QLabel *>(QStringLiteral("stream_tolerance"))->text(),
                              locale);
        for (const char *memo : {"qel_rs232_avsz_cs1_eredmeny", "qel_rs232_avsz_cs2_eredmeny"})
            r.memoLines += window.findChild<QPlainTextEdit *>(QLatin1String(memo))->blockCount();
        return r;
    };
    const Result hu = runIn("hu");
    const Result en = runIn("en");
    QVERIFY(!hu.cells.isEmpty());
    QCOMPARE(en.cells, hu.cells);
    QCOMPARE(en.verdicts, hu.verdicts);
    QCOMPARE(en.numbers, hu.numbers);
    QCOMPARE(en.memoLines, hu.memoLines);
}

void LanguageTest::languageMenuSwitchesAndRemembers()
{
    language::rememberLanguage(QString());
    FakePlatform platform;
    MainWindow window(platform);
    window.show();
    auto *english = window.findChild<QAction *>(QStringLiteral("language_en"));
    auto *hungarian = window.findChild<QAction *>(QStringLiteral("language_hu"));
    QVERIFY(english && hungarian);
    QVERIFY(hungarian->isChecked());
    english->trigger();
    settle();
    QCOMPARE(language::currentLanguage(), QStringLiteral("en"));
    QCOMPARE(language::rememberedLanguage(), QStringLiteral("en"));
    QVERIFY(english->isChecked() && !hungarian->isChecked());
    QCOMPARE(window.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"))->tabText(0),
             QStringLiteral("Topology"));
    // Help opens the English guide, or says that it is the one missing.
    window.findChild<QAction *>(QStringLiteral("Sgmegnyitsa1"))->trigger();
    QVERIFY(platform.openedDocuments.isEmpty() ||
            platform.openedDocuments.constLast().endsWith(QStringLiteral("rs232sim_guide.pdf")));
    QVERIFY(platform.openedDocuments.size() == 1 ||
            platform.messages.constLast().second.contains(QStringLiteral("rs232sim_guide.pdf")));
    platform.messages.clear();
    hungarian->trigger();
    settle();
    QCOMPARE(language::rememberedLanguage(), QStringLiteral("hu"));
    QCOMPARE(window.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"))->tabText(0),
             QStringLiteral("Topológiai leírás"));
    QVERIFY(platform.messages.isEmpty());
}

void LanguageTest::translationIsCompleteAndInStep()
{
#ifdef _WIN32
    QSKIP("lupdate is a tool of the Linux build machine; the Linux build checks the translation file");
#endif
    // The translation file brought up to date with the sources, on a copy: a text added to the sources
    // without its translation shows as unfinished, one that left them as vanished.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString copy = dir.filePath(QStringLiteral("rs232sim_en.ts"));
    QVERIFY(QFile::copy(QStringLiteral(RS232_TS_FILE), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QProcess lupdate;
    lupdate.start(QStringLiteral(RS232_LUPDATE),
                  {QStringLiteral("-locations"), QStringLiteral("none"), QStringLiteral(RS232_UI_SOURCES),
                   QStringLiteral("-ts"), copy});
    QVERIFY(lupdate.waitForFinished(120000));
    QCOMPARE(lupdate.exitCode(), 0);

    QFile file(copy);
    QVERIFY(file.open(QIODevice::ReadOnly));
    static const QRegularExpression placeholder(QStringLiteral("%\\d"));
    const auto placeholders = [](const QString &text) {
        QStringList found;
        for (auto it = placeholder.globalMatch(text); it.hasNext();)
            found << it.next().captured();
        found.sort();
        return found;
    };
    QStringList faults;
    int count = 0;
    QString source, type;
    bool numerus = false;
    QStringList forms;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QStringLiteral("message")) {
            numerus = xml.attributes().value(QStringLiteral("numerus")) == QStringLiteral("yes");
            forms.clear();
            ++count;
        } else if (xml.isStartElement() && xml.name() == QStringLiteral("source")) {
            source = xml.readElementText();
        } else if (xml.isStartElement() && xml.name() == QStringLiteral("translation")) {
            type = xml.attributes().value(QStringLiteral("type")).toString();
            if (!numerus)
                forms << xml.readElementText();
        } else if (xml.isStartElement() && xml.name() == QStringLiteral("numerusform")) {
            forms << xml.readElementText();
        } else if (xml.isEndElement() && xml.name() == QStringLiteral("message")) {
            if (!type.isEmpty()) {
                faults << type + QStringLiteral(": ") + source;
                continue;
            }
            if (numerus && forms.size() != 2)
                faults << QStringLiteral("not singular and plural: ") + source;
            for (const QString &form : std::as_const(forms)) {
                if (form.trimmed().isEmpty())
                    faults << QStringLiteral("empty: ") + source;
                else if (placeholders(form) != placeholders(source))
                    faults << QStringLiteral("placeholders differ: ") + source + QStringLiteral(" -> ") +
                                  form;
                else if (looksHungarian(form))
                    faults << QStringLiteral("still Hungarian: ") + form;
            }
        }
    }
    QVERIFY(!xml.hasError());
    QVERIFY(count > 300);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void LanguageTest::nothingCutOffInEnglish_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::newRow("1440x900") << QSize(1440, 900);
    QTest::newRow("1024x768") << QSize(1024, 768);
}

// Every page and tab in English, on a large and on a small screen: no caption is wider than its control,
// and no control reaches past the page it stands on. With RS232_SNAPSHOT_DIR set, each is saved as PNG
// for a person to look at.
void LanguageTest::nothingCutOffInEnglish()
{
    QFETCH(QSize, screen);
    switchTo("en");
    FakePlatform platform;
    platform.screen = screen;
    MainWindow window(platform);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    runEveryPage(window);
    const QString dir = qEnvironmentVariable("RS232_SNAPSHOT_DIR");
    if (!dir.isEmpty())
        QDir().mkpath(dir);
    QStringList faults;
    int shots = 0;
    const auto check = [&](const QString &name) {
        QCoreApplication::processEvents();
        const auto widgets = window.findChildren<QWidget *>();
        for (const QWidget *w : widgets) {
            if (!w->isVisible() || w->width() <= 0)
                continue;
            int needed = 0;
            if (auto *label = qobject_cast<const QLabel *>(w);
                label && !label->wordWrap() && label->pixmap().isNull())
                needed = label->sizeHint().width();
            else if (auto *button = qobject_cast<const QPushButton *>(w); button && !button->text().isEmpty())
                needed = button->sizeHint().width() - 8;
            if (needed > w->width())
                faults << name + QStringLiteral(": ") + pathOf(w) +
                              QStringLiteral(" needs %1, has %2").arg(needed).arg(w->width());
        }
        if (!dir.isEmpty())
            window.grab().save(QStringLiteral("%1/en_%2x%3_%4.png")
                                   .arg(dir)
                                   .arg(screen.width())
                                   .arg(screen.height())
                                   .arg(name));
        ++shots;
    };
    // Each tab of each page control, nested ones in turn.
    std::function<void(QTabWidget *, const QString &)> visit = [&](QTabWidget *tabs, const QString &name) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            const QString here = name + QStringLiteral("_%1").arg(i);
            QList<QTabWidget *> nested;
            const auto inside = tabs->widget(i)->findChildren<QTabWidget *>();
            for (QTabWidget *t : inside) {
                QWidget *up = t->parentWidget();
                while (up && !qobject_cast<QTabWidget *>(up))
                    up = up->parentWidget();
                if (up == tabs)
                    nested << t;
            }
            if (nested.isEmpty())
                check(here);
            for (QTabWidget *t : std::as_const(nested))
                visit(t, here);
        }
    };
    visit(window.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc")), QStringLiteral("page"));
    QVERIFY(shots > 15);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

// QtTest's own main would build a plain QApplication; the window runs in the program's own.
int main(int argc, char **argv)
{
    // The remembered language goes to a test folder, not to the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    Application app(argc, argv);
    LanguageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_language.moc"
