#pragma once

#include <QStringList>
#include <QTextDocument>

// One page's text as the editor shows it, with the page's own undo and redo histories for the
// whole run. It announces its deletion while it is still whole, so that an editor showing it
// can let go of it first: a page may be deleted while it is shown. isModified() tells whether the
// text changed since the page was last written to the Notes file; only a write that really
// reached the disk clears it (setModified(false)).
//
// A page not on screen holds no layout of its lines: releaseLayout() gives it a fresh one, which
// lays a line out again only when an editor shows it.
class PageDocument : public QTextDocument
{
    Q_OBJECT

public:
    // Holds the lines, each taken as if followed by CR LF, with empty histories, unmodified.
    explicit PageDocument(const QStringList &lines = {}, QObject *parent = nullptr);
    ~PageDocument() override;

    // Drops the layout of every line (its measured lines and its formats) and keeps the text,
    // the histories and the modified flag. For a document no editor shows; nothing once the
    // document is being deleted.
    void releaseLayout();

signals:
    void aboutToBeDeleted();

private:
    bool m_deleting = false;
};
