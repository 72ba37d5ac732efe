// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// File names with Hungarian letters and spaces, in a folder named so too: the byte string page saves its
// line as VCD and opens it again as a measurement, a chart is saved as a picture and read back, and
// rs232line writes and reads a dump there. On Windows every one of these goes from UTF-8 or QString to
// the system's wide file names; a name read in the system's code page would lose ő and ű.

#include "stream_page_harness.h"
#include "support/tool_run.h"
#include "ui/Application.h"
#include "ui/chart_commands.h"
#include "widgets/stepchart.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class UnicodePathsTest : public QObject, private StreamPageHarness
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void aSavedLineOpensAgainAsAMeasurement();
    void aSavedChartPictureReadsBack();
    void rs232lineWritesAndReadsADump();

private:
    QTemporaryDir m_dir;
    QString m_folder;
};

void UnicodePathsTest::init()
{
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.filePath(QStringLiteral("Árvíztűrő tükörfúrógép mérései"));
    QVERIFY(QDir().mkpath(m_folder));
    openPage();
}

void UnicodePathsTest::cleanup()
{
    closePage();
}

void UnicodePathsTest::aSavedLineOpensAgainAsAMeasurement()
{
    find<QPushButton>("stream_run")->click();
    const std::size_t simulated = lastRun().received.frames.size();
    QVERIFY(simulated > 0);
    const QString path = m_folder + QStringLiteral("/soros vonal őű ÁÉ.vcd");
    m_platform.saveAnswer = path;
    find<QAction>("stream_chart_vcd")->trigger();
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(m_platform.messages.value(0).second));
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(QDir(m_folder).entryList({QStringLiteral("soros*")}, QDir::Files), QStringList{QFileInfo(path).fileName()});

    m_platform.openFileAnswer = path;
    find<QPushButton>("stream_open_capture")->click();
    QVERIFY(settle());
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(m_platform.messages.value(0).second));
    QVERIFY(m_page->measuring());
    QCOMPARE(find<QLabel>("stream_capture_file")->text(), QFileInfo(path).fileName());
    // The line read back gives the frames the simulation received.
    QCOMPARE(lastRun().received.frames.size(), simulated);
}

void UnicodePathsTest::aSavedChartPictureReadsBack()
{
    find<QPushButton>("stream_run")->click();
    const auto *chart = find<StepChart>("stream_chart");
    const QString path = m_folder + QStringLiteral("/grafikon ő ű.png");
    m_platform.saveAnswer = path;
    SaveChartToFile(m_platform, *chart);
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(m_platform.messages.value(0).second));
    const QImage back(path);
    QVERIFY(!back.isNull());
    QCOMPARE(back.convertToFormat(QImage::Format_RGB32), chart->toImage().convertToFormat(QImage::Format_RGB32));
}

void UnicodePathsTest::rs232lineWritesAndReadsADump()
{
    const std::string path = (m_folder + QStringLiteral("/szöveg ű.vcd")).toStdString();
    const rs232::cli::ToolRun encode =
        rs232::cli::run({"encode", "--rate", "9600", "--format", "8N1", "--text", "Szia!", "-o", path});
    QVERIFY2(encode.code == 0, encode.err.c_str());
    QVERIFY(QFileInfo::exists(QString::fromStdString(path)));
    // No partial file is left beside it.
    QCOMPARE(QDir(m_folder).entryList({QStringLiteral("szöveg*")}, QDir::Files),
             QStringList{QStringLiteral("szöveg ű.vcd")});
    const rs232::cli::ToolRun decode =
        rs232::cli::run({"decode", "--rate", "9600", "--format", "8N1", "--receiver", "x16", path});
    QVERIFY2(decode.code == 0, decode.err.c_str());
    QStringList lines = QString::fromStdString(decode.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.removeLast(); // the totals
    QStringList values;
    for (const QString &line : lines)
        values.append(line.section(QLatin1Char('\t'), 1, 1));
    QCOMPARE(values, (QStringList{QStringLiteral("53"), QStringLiteral("7A"), QStringLiteral("69"),
                                  QStringLiteral("61"), QStringLiteral("21")}));
}

int main(int argc, char **argv)
{
    Application app(argc, argv);
    UnicodePathsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_unicode_paths.moc"
