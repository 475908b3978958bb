#include "editor/documenttext.h"
#include "editor/pagedocument.h"
#include "editor/textlines.h"

#include <QPlainTextDocumentLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

class TestPageDocument : public QObject
{
    Q_OBJECT

private slots:
    void createKeepsTheLines_data();
    void createKeepsTheLines();
    void createdDocumentHasEmptyHistoriesAndPlainLayout();
    void setTextSplitsAndEmptiesHistories();
    void trimRemovesOneEmptyLastLine_data();
    void trimRemovesOneEmptyLastLine();
    void trimJoinsTheLastUndoStep();
    void trimOfAnUntouchedDocumentIsOneUndoStep();
    void offsetsMatchTheJoinedText();
    void offsetsOutsideTheTextAreClamped();
    void releasingTheLayoutKeepsTextAndHistories();
};

void TestPageDocument::createKeepsTheLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<QString>("text");

    QTest::newRow("no lines") << QStringList() << 1 << QString();
    QTest::newRow("one empty line") << QStringList{""} << 1 << QString();
    QTest::newRow("two lines") << QStringList{"a", "b"} << 2 << "a\r\nb";
    QTest::newRow("empty last line is kept") << QStringList{"a", ""} << 2 << "a\r\n";
    QTest::newRow("line holding a break") << QStringList{"a\rb"} << 2 << "a\r\nb";
}

void TestPageDocument::createKeepsTheLines()
{
    QFETCH(QStringList, lines);
    QFETCH(int, blocks);
    QFETCH(QString, text);
    const std::unique_ptr<PageDocument> document(new PageDocument(lines));
    QCOMPARE(document->blockCount(), blocks);
    QCOMPARE(DocumentText::text(*document), text);
}

void TestPageDocument::createdDocumentHasEmptyHistoriesAndPlainLayout()
{
    QObject owner;
    auto *document = new PageDocument({"x"}, &owner);
    QCOMPARE(document->parent(), &owner);
    QVERIFY(qobject_cast<QPlainTextDocumentLayout *>(document->documentLayout()));
    QVERIFY(!document->isUndoAvailable());
    QVERIFY(!document->isRedoAvailable());
    QVERIFY(document->isUndoRedoEnabled());
}

void TestPageDocument::setTextSplitsAndEmptiesHistories()
{
    const std::unique_ptr<PageDocument> document(new PageDocument({"old"}));
    QTextCursor(document.get()).insertText(QStringLiteral("x"));
    QVERIFY(document->isUndoAvailable());

    DocumentText::setText(*document, QStringLiteral("a\rb\nc\r\n"));
    QCOMPARE(DocumentText::lines(*document), (QStringList{"a", "b", "c"}));
    QCOMPARE(document->blockCount(), 3);
    QVERIFY(!document->isUndoAvailable());
    QVERIFY(!document->isRedoAvailable());
}

void TestPageDocument::trimRemovesOneEmptyLastLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("trimmed");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty last line") << QStringList{"abc", ""} << true << "abc";
    QTest::newRow("two empty last lines become one")
        << QStringList{"abc", "", ""} << true << "abc\r\n";
    QTest::newRow("last line not empty") << QStringList{"abc", "d"} << false << "abc\r\nd";
    QTest::newRow("the only line stays") << QStringList{""} << false << QString();
    QTest::newRow("two empty lines become the empty text")
        << QStringList{"", ""} << true << QString();
}

void TestPageDocument::trimRemovesOneEmptyLastLine()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, trimmed);
    QFETCH(QString, text);
    const std::unique_ptr<PageDocument> document(new PageDocument(lines));
    QCOMPARE(DocumentText::trimLastEmptyLine(*document), trimmed);
    QCOMPARE(DocumentText::text(*document), text);
}

void TestPageDocument::trimJoinsTheLastUndoStep()
{
    const std::unique_ptr<PageDocument> document(new PageDocument({"abc"}));
    QTextCursor cursor(document.get());
    cursor.insertText(QStringLiteral("1 "));
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    QCOMPARE(DocumentText::text(*document), QStringLiteral("1 abc\r\n"));

    QVERIFY(DocumentText::trimLastEmptyLine(*document));
    QCOMPARE(DocumentText::text(*document), QStringLiteral("1 abc"));

    // The first undo takes back the new line and its removal together.
    document->undo();
    QCOMPARE(DocumentText::text(*document), QStringLiteral("1 abc"));
    QVERIFY(document->isUndoAvailable());
    document->undo();
    QCOMPARE(DocumentText::text(*document), QStringLiteral("abc"));
    QVERIFY(!document->isUndoAvailable());
    document->redo();
    document->redo();
    QCOMPARE(DocumentText::text(*document), QStringLiteral("1 abc"));
}

void TestPageDocument::trimOfAnUntouchedDocumentIsOneUndoStep()
{
    const std::unique_ptr<PageDocument> document(new PageDocument({"abc", ""}));
    QVERIFY(DocumentText::trimLastEmptyLine(*document));
    document->undo();
    QCOMPARE(DocumentText::text(*document), QStringLiteral("abc\r\n"));
}

void TestPageDocument::offsetsMatchTheJoinedText()
{
    const QStringList lines{"first", "", "\tthird line", "x"};
    const std::unique_ptr<PageDocument> document(new PageDocument(lines));
    const QString text = TextLines::join(lines);
    for (int offset = 0; offset <= text.size(); ++offset) {
        const int position = DocumentText::positionFromOffset(*document, offset);
        const QTextBlock block = document->findBlock(position);
        const TextLines::Point point = TextLines::pointFromOffset(lines, offset);
        QCOMPARE(block.blockNumber(), point.line);
        QCOMPARE(position - block.position(), point.column);
        QCOMPARE(DocumentText::offsetFromPosition(*document, position),
                 TextLines::offsetFromPoint(lines, point));
    }
}

void TestPageDocument::offsetsOutsideTheTextAreClamped()
{
    const std::unique_ptr<PageDocument> document(new PageDocument({"ab", "cd"}));
    QCOMPARE(DocumentText::positionFromOffset(*document, -3), 0);
    QCOMPARE(DocumentText::positionFromOffset(*document, 1000), 5);
    QCOMPARE(DocumentText::offsetFromPosition(*document, 1000), 6);
    QCOMPARE(DocumentText::offsetFromPosition(*document, -1), 0);
}

void TestPageDocument::releasingTheLayoutKeepsTextAndHistories()
{
    PageDocument document(QStringList{"alpha 12", "beta"});
    QTextCursor(&document).insertText(QStringLiteral("x"));
    QTextBlock first = document.firstBlock();
    first.layout()->setFormats({{0, 5, QTextCharFormat()}});
    first.layout()->beginLayout();
    first.layout()->createLine();
    first.layout()->endLayout();

    document.releaseLayout();

    QVERIFY(document.firstBlock().layout()->formats().isEmpty());
    QCOMPARE(document.firstBlock().layout()->lineCount(), 0);
    QVERIFY(qobject_cast<QPlainTextDocumentLayout *>(document.documentLayout()));
    QCOMPARE(DocumentText::text(document), QStringLiteral("xalpha 12\r\nbeta"));
    QVERIFY(document.isUndoAvailable());
    QVERIFY(document.isModified());
}

QTEST_MAIN(TestPageDocument)
#include "tst_pagedocument.moc"
