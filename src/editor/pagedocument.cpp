#include "pagedocument.h"

#include "documenttext.h"

#include <QPlainTextDocumentLayout>

PageDocument::PageDocument(const QStringList &lines, QObject *parent) : QTextDocument(parent)
{
    setDocumentLayout(new QPlainTextDocumentLayout(this));
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    DocumentText::setText(*this, text);
    setModified(false);
}

void PageDocument::releaseLayout()
{
    if (m_deleting)
        return;
    // The old layout takes every line's QTextLayout with it: about 260 bytes a line, which
    // the editor's set-up gives every line of a document it shows.
    setDocumentLayout(new QPlainTextDocumentLayout(this));
}

PageDocument::~PageDocument()
{
    m_deleting = true;
    emit aboutToBeDeleted();
}
