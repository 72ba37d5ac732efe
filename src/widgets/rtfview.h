#pragma once

#include <QTextBrowser>

// A read-only rich-text view that shows an RTF file. The user can scroll, select and copy, not edit.
class RtfView : public QTextBrowser
{
    Q_OBJECT

public:
    explicit RtfView(QWidget *parent = nullptr);

    // Replaces the content with the document in the file. On failure the view keeps what it showed and
    // errorString() says why.
    Q_INVOKABLE bool loadFile(const QString &path);
    QString errorString() const { return m_error; }

private:
    QString m_error;
};
