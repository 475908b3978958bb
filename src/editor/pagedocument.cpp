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

PageDocument::~PageDocument()
{
    emit aboutToBeDeleted();
}
