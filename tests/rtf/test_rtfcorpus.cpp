// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Replays the fuzzer's seed corpus, every crash it has found and the reader's test documents: each must
// read and lay out without a crash or a sanitizer report.
#include "rtf/rtfreader.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextDocument>

class TestRtfCorpus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replay_data();
    void replay();
};

void TestRtfCorpus::replay_data()
{
    QTest::addColumn<QString>("path");
    int files = 0;
    for (const QString &folder : QStringLiteral(RS232_RTF_CORPUS_DIRS).split(QLatin1Char('|'))) {
        const QDir dir(folder);
        for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
            if (info.fileName().startsWith(QLatin1Char('.')))
                continue;
            QTest::newRow(qPrintable(dir.dirName() + QLatin1Char('/') + info.fileName())) << info.filePath();
            ++files;
        }
    }
    // The corpus folders lie in the source tree; none of them empty means the paths are right.
    QVERIFY(files > 10);
}

void TestRtfCorpus::replay()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument document;
    RtfReader reader;
    // Whatever the input, the reader's answer is coherent: a failure gives its reason, a success none.
    const bool read = reader.read(&file, &document);
    QCOMPARE(read, reader.errorString().isEmpty());
    document.setTextWidth(273);
    QVERIFY(document.size().height() >= 0);
}

QTEST_MAIN(TestRtfCorpus)
#include "test_rtfcorpus.moc"
