// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/rtfview.h"

#include "rtf/rtfreader.h"

#include <QFile>
#include <QTextDocument>

RtfView::RtfView(QWidget *parent) : QTextBrowser(parent)
{
    setReadOnly(true);
    setOpenLinks(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Content set by other means while a loaded document waits replaces that document too.
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (!m_attaching)
            dropWaitingDocument();
    });
}

bool RtfView::loadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    // The document is built apart from the view, so no layout runs while it grows and a failed read
    // leaves the shown content alone.
    auto *document = new QTextDocument(this);
    document->setDefaultFont(font());
    document->setUndoRedoEnabled(false);
    RtfReader reader;
    if (!reader.read(&file, document)) {
        m_error = reader.errorString();
        delete document;
        return false;
    }
    m_error.clear();
    dropWaitingDocument();
    if (isVisible())
        attach(document);
    else
        m_waiting = document;
    return true;
}

QString RtfView::toPlainText() const
{
    return m_waiting ? m_waiting->toPlainText() : QTextBrowser::toPlainText();
}

void RtfView::showEvent(QShowEvent *event)
{
    // By now the view has its real size, so the document is laid out once, at the width it is shown in.
    if (m_waiting)
        attach(m_waiting.data());
    QTextBrowser::showEvent(event);
}

void RtfView::attach(QTextDocument *document)
{
    m_waiting = nullptr;
    // A document without a page size is not laid out when the view makes its layout; the view then
    // sets the width and lays out only what it shows, leaving the rest to its background layout.
    document->setPageSize(QSizeF(0, 0));
    // The view deletes the document it made itself; one that an earlier load gave it is ours to delete.
    const QPointer<QTextDocument> previous = this->document();
    m_attaching = true;
    setDocument(document);
    m_attaching = false;
    if (previous && previous != document && previous->parent() == this)
        delete previous.data();
}

void RtfView::dropWaitingDocument()
{
    delete m_waiting.data();
    m_waiting = nullptr;
}
