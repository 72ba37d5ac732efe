// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointer>
#include <QTextBrowser>

class QTextDocument;

// A read-only rich-text view that shows an RTF file. The user can scroll, select and copy, not edit.
//
// Laying a document out is what showing it costs, so a view that is not on the screen keeps a loaded
// document aside and takes it up when it is first shown: a page the user never opens costs only the
// reading. Until then toPlainText() already answers with the loaded text, and any other change of the
// content (clear(), setPlainText(), ...) drops the waiting document, as it would replace a shown one.
class RtfView : public QTextBrowser
{
    Q_OBJECT
    // The text read through the meta-object system also includes a waiting document.
    Q_PROPERTY(QString plainText READ toPlainText WRITE setPlainText NOTIFY textChanged)

public:
    explicit RtfView(QWidget *parent = nullptr);

    // Replaces the content with the document in the file. On failure the view keeps what it showed and
    // errorString() says why.
    Q_INVOKABLE bool loadFile(const QString &path);
    QString errorString() const { return m_error; }

    // The text of the content, including a loaded document that waits to be shown.
    QString toPlainText() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void attach(QTextDocument *document);
    void dropWaitingDocument();

    QString m_error;
    QPointer<QTextDocument> m_waiting; // loaded while hidden, owned by the view
    bool m_attaching = false;
};
