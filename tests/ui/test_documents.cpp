// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The information panel and the two description pages: which documents the window loads at start-up and
// on a topic pick, from inf/ under the working directory, and the one warning when a load fails.
// The English documents in inf/en are read the same way and match their Hungarian originals paragraph for
// paragraph. With RS232_SNAPSHOT_DIR set it also renders the panel with both topics and both description
// pages.
#include "fake_platform.h"
#include "rtf/rtfreader.h"
#include "ui/main_window.h"
#include "widgets/rtfview.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

namespace {

const QString DataPacket = QStringLiteral("rs232_adatcsomag.rtf");
const QString Settings = QStringLiteral("rs232_adatatvitelbeall.rtf");
const QString Topology = QStringLiteral("rs232_topologia.rtf");
const QString Simulation = QStringLiteral("rs232_szimulacio.rtf");
const QString ByteString = QStringLiteral("rs232_bajtfolyam.rtf");
const QString Warning = QStringLiteral("Az adott fájl nem található!");

// The plain text of a document as a view shows it.
QString documentText(const QString &name)
{
    RtfView view;
    if (!view.loadFile(QStringLiteral(RS232_DOCUMENTS_DIR "/") + name))
        qFatal("cannot read %s", qPrintable(name));
    return view.toPlainText();
}

// The outline of a document as the reader builds it: its paragraphs outside tables, its headings (bold and
// larger than the body text), and the rows and columns of each table.
struct Outline
{
    QString text;
    int paragraphs = 0;
    QStringList headings;
    QList<QPair<int, int>> tables;
};

Outline outlineOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(path));
    QTextDocument document;
    RtfReader reader;
    if (!reader.read(&file, &document))
        qFatal("%s: %s", qPrintable(path), qPrintable(reader.errorString()));
    Outline outline;
    outline.text = document.toPlainText();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text().trimmed().isEmpty() || QTextCursor(block).currentTable())
            continue;
        ++outline.paragraphs;
        bool heading = true;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!it.fragment().text().trimmed().isEmpty())
                heading = heading && format.fontWeight() >= QFont::Bold && format.fontPointSize() > 10.5;
        }
        if (heading)
            outline.headings.append(block.text().trimmed());
    }
    for (QTextFrame *frame : document.rootFrame()->childFrames())
        if (auto *table = qobject_cast<QTextTable *>(frame))
            outline.tables.append({table->rows(), table->columns()});
    return outline;
}

// Every number in a text, in order of size; a decimal comma (Hungarian) is read as a decimal point.
QStringList numbersIn(QString text)
{
    static const QRegularExpression decimalComma(QStringLiteral("(\\d),(\\d)"));
    static const QRegularExpression number(QStringLiteral("\\d+(?:\\.\\d+)?"));
    text.replace(decimalComma, QStringLiteral("\\1.\\2"));
    QStringList numbers;
    for (const QRegularExpressionMatch &match : number.globalMatch(text))
        numbers.append(match.captured());
    numbers.sort();
    return numbers;
}

// A working directory holding inf/ with the named documents; with `withFolder` false, no inf/ at all.
class WorkingDirectory
{
public:
    WorkingDirectory(const QStringList &documents, bool withFolder = true)
    {
        m_previous = QDir::currentPath();
        if (withFolder) {
            QDir(m_dir.path()).mkdir(QStringLiteral("inf"));
            for (const QString &name : documents)
                QFile::copy(QStringLiteral(RS232_DOCUMENTS_DIR "/") + name, m_dir.filePath("inf/" + name));
        }
        QDir::setCurrent(m_dir.path());
    }
    ~WorkingDirectory() { QDir::setCurrent(m_previous); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

QString textOf(const MainWindow &form, const char *view)
{
    return form.findChild<RtfView *>(QLatin1String(view))->toPlainText();
}

void pickTopic(MainWindow &form, Qt::Key key)
{
    auto *combo = form.findChild<QComboBox *>(QStringLiteral("qel_rs232_infobox"));
    combo->setFocus();
    QTest::keyClick(combo, key); // a pick by the user, as with the arrow keys on the closed list
}

} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startup_data();
    void startup();
    void topicPicks();
    void topicSetByProgramLoadsNothing();
    void englishDocuments_data();
    void englishDocuments();
    void snapshots();
};

void TestDocuments::startup_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<bool>("withFolder");
    QTest::addColumn<int>("warnings");
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("topology");
    QTest::addColumn<QString>("simulation");

    const QString topologyForm = QStringLiteral("RS232 topológiai leírás");
    const QString simulationForm = QStringLiteral("RS232 szimuláció leírás");
    QTest::newRow("all four present")
        << QStringList{DataPacket, Settings, Topology, Simulation} << true << 0 << documentText(DataPacket)
        << documentText(Topology) << documentText(Simulation);
    QTest::newRow("data packet document missing: nothing loads")
        << QStringList{Settings, Topology, Simulation} << true << 1 << QString() << topologyForm
        << simulationForm;
    QTest::newRow("only the topology missing: simulation not attempted")
        << QStringList{DataPacket, Settings, Simulation} << true << 1 << documentText(DataPacket)
        << topologyForm << simulationForm;
    QTest::newRow("only the simulation description missing")
        << QStringList{DataPacket, Settings, Topology} << true << 1 << documentText(DataPacket)
        << documentText(Topology) << simulationForm;
    QTest::newRow("started from another working directory")
        << QStringList{} << false << 1 << QString() << topologyForm << simulationForm;
}

void TestDocuments::startup()
{
    QFETCH(QStringList, present);
    QFETCH(bool, withFolder);
    QFETCH(int, warnings);
    QFETCH(QString, info);
    QFETCH(QString, topology);
    QFETCH(QString, simulation);

    WorkingDirectory dir(present, withFolder);
    FakePlatform platform;
    MainWindow form(platform);
    QCOMPARE(platform.messages.size(), warnings);
    for (const auto &[kind, text] : platform.messages) {
        QCOMPARE(kind, Platform::MessageKind::Warning);
        QCOMPARE(text, Warning);
    }
    QCOMPARE(form.findChild<QComboBox *>(QStringLiteral("qel_rs232_infobox"))->currentIndex(), 0);
    QCOMPARE(textOf(form, "qel_rs232_inf_re"), info);
    QCOMPARE(textOf(form, "qel_rs232_top_re"), topology);
    QCOMPARE(textOf(form, "qel_rs232_avsz_szimleir"), simulation);
    if (warnings == 0)
        QVERIFY(info.size() > 500 && topology.size() > 500 && simulation.size() > 500);
}

void TestDocuments::topicPicks()
{
    {
        // Item 1 missing: the view turns empty and the warning is shown; item 0 loads again.
        WorkingDirectory dir({DataPacket, Topology, Simulation});
        FakePlatform platform;
        MainWindow form(platform);
        QVERIFY(platform.messages.isEmpty());
        pickTopic(form, Qt::Key_Down);
        QCOMPARE(form.findChild<QComboBox *>(QStringLiteral("qel_rs232_infobox"))->currentIndex(), 1);
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.messages[0].second, Warning);
        QCOMPARE(textOf(form, "qel_rs232_inf_re"), QString());
        pickTopic(form, Qt::Key_Up);
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(textOf(form, "qel_rs232_inf_re"), documentText(DataPacket));
    }
    {
        // All present: each pick shows its own document, read anew.
        WorkingDirectory dir({DataPacket, Settings, Topology, Simulation, ByteString});
        FakePlatform platform;
        MainWindow form(platform);
        pickTopic(form, Qt::Key_Down);
        QCOMPARE(textOf(form, "qel_rs232_inf_re"), documentText(Settings));
        pickTopic(form, Qt::Key_Down);
        QCOMPARE(form.findChild<QComboBox *>(QStringLiteral("qel_rs232_infobox"))->currentIndex(), 2);
        QCOMPARE(textOf(form, "qel_rs232_inf_re"), documentText(ByteString));
        QVERIFY(documentText(ByteString).size() > 500);
        pickTopic(form, Qt::Key_Up);
        pickTopic(form, Qt::Key_Up);
        QCOMPARE(textOf(form, "qel_rs232_inf_re"), documentText(DataPacket));
        QVERIFY(platform.messages.isEmpty());
    }
    {
        // The byte string document missing: its pick warns and leaves the view empty, as the others do.
        WorkingDirectory dir({DataPacket, Settings, Topology, Simulation});
        FakePlatform platform;
        MainWindow form(platform);
        pickTopic(form, Qt::Key_Down);
        pickTopic(form, Qt::Key_Down);
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.messages[0].second, Warning);
        QCOMPARE(textOf(form, "qel_rs232_inf_re"), QString());
    }
}

void TestDocuments::topicSetByProgramLoadsNothing()
{
    WorkingDirectory dir({DataPacket, Settings, Topology, Simulation});
    FakePlatform platform;
    MainWindow form(platform);
    form.findChild<QComboBox *>(QStringLiteral("qel_rs232_infobox"))->setCurrentIndex(1);
    QCOMPARE(textOf(form, "qel_rs232_inf_re"), documentText(DataPacket));
}

void TestDocuments::englishDocuments_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("data packet") << DataPacket << QStringLiteral("The structure of the RS232 data packet");
    QTest::newRow("transfer settings") << Settings << QStringLiteral("Setting up RS232 data transfer");
    QTest::newRow("topology") << Topology << QStringLiteral("Connecting two RS232 modules");
    QTest::newRow("simulation") << Simulation << QStringLiteral("How the transmit/receive simulation works");
    QTest::newRow("byte string") << ByteString << QStringLiteral("The RS232 byte string simulation");
}

// Each English document reads without error, holds no Hungarian letter (an untranslated sentence or a
// character lost to the wrong code page would show as one), and keeps its original's shape and figures:
// as many paragraphs and headings, tables of the same size, and the same numbers, so no section, row,
// step or figure was dropped or changed.
void TestDocuments::englishDocuments()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    const Outline hungarian = outlineOf(QStringLiteral(RS232_DOCUMENTS_DIR "/") + name);
    const Outline english = outlineOf(QStringLiteral(RS232_DOCUMENTS_DIR "/en/") + name);
    QVERIFY(english.text.size() > 500);
    static const QRegularExpression hungarianLetter(QStringLiteral("[áéíóöőúüűÁÉÍÓÖŐÚÜŰ]"));
    const QRegularExpressionMatch found = hungarianLetter.match(english.text);
    QVERIFY2(!found.hasMatch(),
             qPrintable(english.text.mid(std::max<qsizetype>(0, found.capturedStart() - 30), 60)));
    QVERIFY(!english.headings.isEmpty());
    QCOMPARE(english.headings.first(), title);
    QCOMPARE(english.headings.size(), hungarian.headings.size());
    QCOMPARE(english.paragraphs, hungarian.paragraphs);
    QCOMPARE(english.tables, hungarian.tables);
    QCOMPARE(numbersIn(english.text), numbersIn(hungarian.text));
    // Signs beyond Latin-1 come through the reader's Unicode escapes: the micro sign, arrows, the minus.
    if (name == Topology)
        QVERIFY(english.text.contains(QStringLiteral("−3 V … −15 V")) &&
                english.text.contains(QStringLiteral("TxD → RxD")));
    if (name == DataPacket)
        QVERIFY(english.text.contains(QStringLiteral("104.17 µs")));
}

void TestDocuments::snapshots()
{
    const QString shots = qEnvironmentVariable("RS232_SNAPSHOT_DIR");
    if (shots.isEmpty())
        QSKIP("set RS232_SNAPSHOT_DIR to render the description pages");
    QDir().mkpath(shots);
    WorkingDirectory dir({DataPacket, Settings, Topology, Simulation, ByteString});
    FakePlatform platform;
    MainWindow form(platform);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const auto shoot = [&](const QString &name) {
        QVERIFY(form.grab().toImage().save(shots + QLatin1Char('/') + name + QStringLiteral(".png")));
    };
    form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"))->setCurrentIndex(0);
    shoot(QStringLiteral("docs_topologia_tema0"));
    pickTopic(form, Qt::Key_Down);
    shoot(QStringLiteral("docs_topologia_tema1"));
    pickTopic(form, Qt::Key_Down);
    shoot(QStringLiteral("docs_topologia_tema2"));
    form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"))->setCurrentIndex(2);
    form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc_szim_pc"))->setCurrentIndex(0);
    shoot(QStringLiteral("docs_szimulacio"));
}

QTEST_MAIN(TestDocuments)
#include "test_documents.moc"
