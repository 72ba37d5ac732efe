#include "widgets/rtfview.h"

#include "widgets/rtfreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QResizeEvent>
#include <QTextDocument>

RtfView::RtfView(QWidget *parent) : QTextBrowser(parent)
{
    setReadOnly(true);
    setOpenLinks(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
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
    // A view that has not been shown yet still has its first, tiny viewport: it would lay the document
    // out at that width now and again at its real width when shown. Giving it its size first makes the
    // one layout the right one.
    if (testAttribute(Qt::WA_PendingResizeEvent)) {
        QResizeEvent resize(size(), QSize());
        QCoreApplication::sendEvent(this, &resize);
        setAttribute(Qt::WA_PendingResizeEvent, false);
    }
    // The view deletes the document it made itself; one that an earlier load gave it is ours to delete.
    const QPointer<QTextDocument> previous = this->document();
    setDocument(document);
    if (previous && previous->parent() == this)
        delete previous.data();
    m_error.clear();
    return true;
}
