#include "editor/documenttext.h"
#include "editor/linenumbergutter.h"
#include "editor/noteeditor.h"
#include "editor/pagedocument.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace {
const QString placeholderText = QStringLiteral("Password Protected Data ");
const QColor markColor(255, 0, 0);

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("line %1").arg(i));
    return lines;
}

// Stands for a highlighter: draws the text of every block the editor announces in red, and
// records which blocks were announced.
class BlockMarker : public QObject
{
public:
    explicit BlockMarker(NoteEditor &editor)
    {
        connect(&editor, &NoteEditor::blockAboutToBePainted, this, [this](const QTextBlock &block) {
            announced.append(block);
            QTextCharFormat format;
            format.setForeground(markColor);
            block.layout()->setFormats({{0, block.length() - 1, format}});
        });
    }

    QList<QTextBlock> announced;

    // The numbers of the blocks announced since the last call, each once, in order.
    QList<int> takeBlockNumbers()
    {
        QList<int> numbers;
        for (const QTextBlock &block : std::as_const(announced)) {
            if (!numbers.contains(block.blockNumber()))
                numbers.append(block.blockNumber());
        }
        std::sort(numbers.begin(), numbers.end());
        announced.clear();
        return numbers;
    }
};

bool isMarked(const QTextDocument &document)
{
    return !document.firstBlock().layout()->formats().isEmpty();
}

bool showsMarks(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == markColor)
                return true;
        }
    }
    return false;
}

// The blocks QPlainTextEdit paints: those reaching into the viewport, from the top of their
// first line (where the caret stands at their start) down by their height.
QList<int> blocksOnScreen(const NoteEditor &editor)
{
    QList<int> numbers;
    const int height = editor.viewport()->height();
    const QAbstractTextDocumentLayout *layout = editor.document()->documentLayout();
    for (QTextBlock block = editor.document()->firstBlock(); block.isValid();
         block = block.next()) {
        QTextCursor start(block);
        const qreal top = editor.cursorRect(start).top();
        const qreal bottom = top + layout->blockBoundingRect(block).height();
        if (bottom > 0 && top <= height)
            numbers.append(block.blockNumber());
    }
    return numbers;
}
} // namespace

class TestNoteEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaults();
    void textConversions_data();
    void textConversions();
    void settingTextEmptiesHistoriesAndPutsCaretHome();
    void selectionOffsetsCountLineBreaksAsTwo();
    void selectionStartInsideALineBreakStandsAtTheLineEnd();
    void caretSettersClampAndCollapseTheSelection();
    void topLineIsClamped();
    void readOnlyRefusesEveryChange();
    void readOnlyHidesUndoAndRedo();
    void caretMovesByKeyboardOnThePlaceholder();
    void tabInsertsATab();
    void wordWrapSwitchesScrollBars();
    void coloursFallBackToDefaults();
    void gutterTogglesAndFollowsTheDigitCount();
    void gutterPaintsNumbersAtHighDpi();
    void doubleClickInTextSelectsThenSignals();
    void doubleClickInGutterSelectsNothing();
    void gutterRaisesItsOwnDoubleClick();
    void pagesKeepIndependentUndoHistories();
    void placeholderLeavesPageHistoriesAlone();
    void pageIsShownWithCaretAndTopLineAndNoSelection();
    void emptyLastLineIsDroppedAtPageLeave();
    void takingPageLinesIsNotAnEdit();
    void blocksAreAnnouncedBeforePainting();
    void announcesTheBlocksOnScreen_data();
    void announcesTheBlocksOnScreen();
    void deletingTheShownPageLeavesAnEmptyPlaceholder();
    void pageDocumentsMayOutliveTheEditor();

private:
    std::unique_ptr<NoteEditor> m_editor;
};

void TestNoteEditor::init()
{
    m_editor = std::make_unique<NoteEditor>();
    m_editor->resize(400, 200);
}

void TestNoteEditor::cleanup()
{
    m_editor.reset();
}

void TestNoteEditor::defaults()
{
    const QFontMetricsF metrics(m_editor->font());
    QCOMPARE(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W'));
    QCOMPARE(m_editor->font().pixelSize(), 13);
    QCOMPARE(m_editor->textColor(), QColor(Qt::white));
    QCOMPARE(m_editor->backgroundColor(), QColor(Qt::black));
    QVERIFY(!m_editor->wordWrap());
    QVERIFY(m_editor->isGutterVisible());
    QVERIFY(!m_editor->tabChangesFocus());
    QVERIFY(!m_editor->isReadOnly());
    QVERIFY(!m_editor->isShowingPageDocument());
    QCOMPARE(m_editor->text(), QString());
}

void TestNoteEditor::textConversions_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("read");
    QTest::addColumn<int>("lineCount");

    QTest::newRow("empty") << QString() << QString() << 1;
    QTest::newRow("one line") << "alpha"
                              << "alpha" << 1;
    QTest::newRow("CR LF") << "a\r\nb"
                           << "a\r\nb" << 2;
    QTest::newRow("lone CR") << "a\rb"
                             << "a\r\nb" << 2;
    QTest::newRow("lone LF") << "a\nb"
                             << "a\r\nb" << 2;
    QTest::newRow("break at the end starts no line") << "a\r\n"
                                                     << "a" << 1;
    QTest::newRow("two breaks at the end leave one empty line") << "a\r\n\r\n"
                                                                << "a\r\n"
                                                                << 2;
    QTest::newRow("empty lines inside") << "a\n\n\nb"
                                        << "a\r\n\r\n\r\nb" << 4;
}

void TestNoteEditor::textConversions()
{
    QFETCH(QString, written);
    QFETCH(QString, read);
    QFETCH(int, lineCount);
    m_editor->setText(written);
    QCOMPARE(m_editor->text(), read);
    QCOMPARE(m_editor->blockCount(), lineCount);
}

void TestNoteEditor::settingTextEmptiesHistoriesAndPutsCaretHome()
{
    m_editor->setText(QStringLiteral("first"));
    m_editor->setCaretXY(6, 1);
    QTest::keyClicks(m_editor.get(), QStringLiteral("xy"));
    QVERIFY(m_editor->canUndo());
    QSignalSpy changed(m_editor.get(), &NoteEditor::changed);

    m_editor->setText(QStringLiteral("one\r\ntwo"));
    QVERIFY(changed.count() >= 1);
    QVERIFY(!m_editor->canUndo());
    QVERIFY(!m_editor->canRedo());
    QCOMPARE(m_editor->caretX(), 1);
    QCOMPARE(m_editor->caretY(), 1);
    QCOMPARE(m_editor->selLength(), 0);
}

void TestNoteEditor::selectionOffsetsCountLineBreaksAsTwo()
{
    m_editor->setText(QStringLiteral("ab\r\n\r\ncde"));
    m_editor->setSelStart(6);
    QCOMPARE(m_editor->caretX(), 1);
    QCOMPARE(m_editor->caretY(), 3);
    QCOMPARE(m_editor->selStart(), 6);
    QCOMPARE(m_editor->selLength(), 0);

    m_editor->setSelLength(3);
    QCOMPARE(m_editor->textCursor().selectedText(), QStringLiteral("cde"));
    QCOMPARE(m_editor->selStart(), 6);
    QCOMPARE(m_editor->selLength(), 3);

    m_editor->setSelStart(1);
    m_editor->setSelLength(6);
    QCOMPARE(m_editor->selStart(), 1);
    QCOMPARE(m_editor->selLength(), 6);
    QCOMPARE(m_editor->textCursor().selectedText(), QStringLiteral("b\u2029\u2029c"));

    m_editor->setCaretXY(3, 3);
    QCOMPARE(m_editor->selStart(), 8);
}

void TestNoteEditor::selectionStartInsideALineBreakStandsAtTheLineEnd()
{
    m_editor->setText(QStringLiteral("ab\r\ncd"));
    m_editor->setSelStart(3);
    QCOMPARE(m_editor->caretY(), 1);
    QCOMPARE(m_editor->caretX(), 3);
    m_editor->setSelStart(99);
    QCOMPARE(m_editor->caretY(), 2);
    QCOMPARE(m_editor->caretX(), 3);
    QCOMPARE(m_editor->selStart(), 6);
}

void TestNoteEditor::caretSettersClampAndCollapseTheSelection()
{
    m_editor->setText(QStringLiteral("abc\r\ndefg"));
    QSignalSpy status(m_editor.get(), &NoteEditor::statusChanged);
    m_editor->setCaretXY(3, 2);
    QVERIFY(status.count() >= 1);
    QCOMPARE(m_editor->caretX(), 3);
    QCOMPARE(m_editor->caretY(), 2);
    QCOMPARE(m_editor->selStart(), 7);

    m_editor->setSelStart(0);
    m_editor->setSelLength(4);
    m_editor->setCaretX(99);
    QCOMPARE(m_editor->selLength(), 0);
    QCOMPARE(m_editor->caretX(), 4);
    QCOMPARE(m_editor->caretY(), 1);

    m_editor->setSelLength(2);
    m_editor->setCaretY(99);
    QCOMPARE(m_editor->selLength(), 0);
    QCOMPARE(m_editor->caretY(), 2);

    m_editor->setCaretXY(0, 0);
    QCOMPARE(m_editor->caretX(), 1);
    QCOMPARE(m_editor->caretY(), 1);
}

void TestNoteEditor::topLineIsClamped()
{
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    m_editor->setText(numberedLines(100).join(QStringLiteral("\r\n")));

    m_editor->setTopLine(40);
    QCOMPARE(m_editor->topLine(), 40);
    m_editor->setTopLine(0);
    QCOMPARE(m_editor->topLine(), 1);
    m_editor->setTopLine(1000);
    QVERIFY(m_editor->topLine() > 40);
    QCOMPARE(m_editor->topLine(), m_editor->verticalScrollBar()->maximum() + 1);
}

void TestNoteEditor::readOnlyRefusesEveryChange()
{
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    m_editor->showPlaceholder(placeholderText);
    QVERIFY(m_editor->isReadOnly());
    m_editor->setSelStart(0);
    m_editor->setSelLength(8);

    QTest::keyClicks(m_editor.get(), QStringLiteral("typed"));
    QTest::keyClick(m_editor.get(), Qt::Key_Delete);
    QTest::keyClick(m_editor.get(), Qt::Key_Backspace);
    QTest::keyClick(m_editor.get(), Qt::Key_Return);
    QTest::keyClick(m_editor.get(), Qt::Key_Tab);
    m_editor->cut();
    m_editor->paste();
    m_editor->deleteSelection();
    m_editor->undo();

    QCOMPARE(m_editor->text(), placeholderText);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("clip"));
    QVERIFY(!m_editor->canUndo());
    QVERIFY(!m_editor->canRedo());
}

void TestNoteEditor::readOnlyHidesUndoAndRedo()
{
    m_editor->setText(QStringLiteral("abc"));
    m_editor->setCaretXY(4, 1);
    QTest::keyClicks(m_editor.get(), QStringLiteral("d"));
    QVERIFY(m_editor->canUndo());

    m_editor->setReadOnly(true);
    QVERIFY(!m_editor->canUndo());
    m_editor->undo();
    QCOMPARE(m_editor->text(), QStringLiteral("abcd"));

    m_editor->setReadOnly(false);
    m_editor->undo();
    QCOMPARE(m_editor->text(), QStringLiteral("abc"));
    QVERIFY(m_editor->canRedo());
    m_editor->setReadOnly(true);
    QVERIFY(!m_editor->canRedo());
    m_editor->redo();
    QCOMPARE(m_editor->text(), QStringLiteral("abc"));
}

void TestNoteEditor::caretMovesByKeyboardOnThePlaceholder()
{
    m_editor->showPlaceholder(placeholderText);
    QSignalSpy status(m_editor.get(), &NoteEditor::statusChanged);
    QTest::keyClick(m_editor.get(), Qt::Key_Right);
    QTest::keyClick(m_editor.get(), Qt::Key_Right);
    QCOMPARE(m_editor->caretX(), 3);
    QVERIFY(status.count() >= 2);
}

void TestNoteEditor::tabInsertsATab()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *editor = new NoteEditor;
    layout->addWidget(editor);
    layout->addWidget(new QLineEdit);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    editor->setFocus();
    QVERIFY(editor->hasFocus());

    QTest::keyClicks(editor, QStringLiteral("a"));
    QTest::keyClick(editor, Qt::Key_Tab);
    QTest::keyClicks(editor, QStringLiteral("b"));
    QCOMPARE(editor->text(), QStringLiteral("a\tb"));
    QVERIFY(editor->hasFocus());
}

void TestNoteEditor::wordWrapSwitchesScrollBars()
{
    m_editor->setWordWrap(true);
    QVERIFY(m_editor->wordWrap());
    QCOMPARE(m_editor->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(m_editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(m_editor->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);

    m_editor->setWordWrap(false);
    QVERIFY(!m_editor->wordWrap());
    QCOMPARE(m_editor->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(m_editor->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(m_editor->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
}

void TestNoteEditor::coloursFallBackToDefaults()
{
    m_editor->setTextColor(QColor(255, 0, 0));
    m_editor->setBackgroundColor(QColor(0, 0, 128));
    QCOMPARE(m_editor->textColor(), QColor(255, 0, 0));
    QCOMPARE(m_editor->backgroundColor(), QColor(0, 0, 128));

    m_editor->setTextColor(QColor());
    m_editor->setBackgroundColor(QColor());
    QCOMPARE(m_editor->textColor(), QColor(Qt::white));
    QCOMPARE(m_editor->backgroundColor(), QColor(Qt::black));
}

void TestNoteEditor::gutterTogglesAndFollowsTheDigitCount()
{
    m_editor->show();
    auto *gutter = m_editor->findChild<LineNumberGutter *>();
    QVERIFY(gutter);
    m_editor->setText(QStringLiteral("one line"));
    const int narrow = gutter->width();
    QVERIFY(narrow > 0);
    QCOMPARE(m_editor->viewport()->x(), m_editor->contentsRect().left() + narrow);

    m_editor->setText(numberedLines(1000).join(u'\n'));
    QVERIFY(gutter->width() > narrow);
    QCOMPARE(m_editor->viewport()->x(), m_editor->contentsRect().left() + gutter->width());

    m_editor->setGutterVisible(false);
    QVERIFY(!m_editor->isGutterVisible());
    QVERIFY(gutter->isHidden());
    QCOMPARE(m_editor->viewport()->x(), m_editor->contentsRect().left());

    m_editor->setGutterVisible(true);
    QVERIFY(gutter->isVisible());
    QCOMPARE(m_editor->viewport()->x(), m_editor->contentsRect().left() + gutter->width());
}

void TestNoteEditor::gutterPaintsNumbersAtHighDpi()
{
    m_editor->setText(numberedLines(3).join(u'\n'));
    m_editor->show();
    auto *gutter = m_editor->findChild<LineNumberGutter *>();
    QVERIFY(gutter);

    QImage image(gutter->size() * 2, QImage::Format_ARGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    gutter->render(&image);

    const QColor digits = gutter->palette().color(QPalette::ButtonText);
    const int firstLineBottom = 2 * m_editor->fontMetrics().height();
    int digitPixels = 0;
    int unpainted = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() == 0)
                ++unpainted;
            else if (y < firstLineBottom && pixel == digits)
                ++digitPixels;
        }
    }
    QCOMPARE(unpainted, 0);
    QVERIFY(digitPixels > 0);
}

void TestNoteEditor::doubleClickInTextSelectsThenSignals()
{
    m_editor->setText(QStringLiteral("alpha beta.gamma delta"));
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));

    QString selectedWhenSignalled;
    connect(m_editor.get(), &NoteEditor::doubleClicked, this,
            [&] { selectedWhenSignalled = m_editor->textCursor().selectedText(); });
    QSignalSpy doubleClicked(m_editor.get(), &NoteEditor::doubleClicked);

    QTextCursor inGamma = m_editor->textCursor();
    inGamma.setPosition(13);
    const QPoint point = m_editor->cursorRect(inGamma).center();
    QTest::mouseDClick(m_editor->viewport(), Qt::LeftButton, {}, point);

    QCOMPARE(doubleClicked.count(), 1);
    QVERIFY(!selectedWhenSignalled.isEmpty());
    QVERIFY(QStringLiteral("gamma").contains(selectedWhenSignalled));
}

void TestNoteEditor::doubleClickInGutterSelectsNothing()
{
    m_editor->setText(QStringLiteral("alpha beta"));
    m_editor->setCaretXY(3, 1);
    m_editor->show();
    auto *gutter = m_editor->findChild<LineNumberGutter *>();
    QSignalSpy doubleClicked(m_editor.get(), &NoteEditor::doubleClicked);

    QTest::mouseDClick(gutter, Qt::LeftButton, {}, QPoint(gutter->width() / 2, 3));

    QCOMPARE(doubleClicked.count(), 1);
    QCOMPARE(m_editor->selLength(), 0);
    QCOMPARE(m_editor->selStart(), 2);
}

// The gutter raises a signal of its own, and the editor passes each one on once as its own.
void TestNoteEditor::gutterRaisesItsOwnDoubleClick()
{
    m_editor->setText(QStringLiteral("alpha\nbeta"));
    m_editor->show();
    auto *gutter = m_editor->findChild<LineNumberGutter *>();
    QVERIFY(gutter);
    QSignalSpy fromGutter(gutter, &LineNumberGutter::doubleClicked);
    QSignalSpy fromEditor(m_editor.get(), &NoteEditor::doubleClicked);

    QTest::mouseDClick(gutter, Qt::LeftButton, {}, QPoint(gutter->width() / 2, 3));
    QCOMPARE(fromGutter.count(), 1);
    QCOMPARE(fromEditor.count(), 1);

    emit gutter->doubleClicked();
    QCOMPARE(fromEditor.count(), 2);
}

void TestNoteEditor::pagesKeepIndependentUndoHistories()
{
    QObject pages;
    auto *pageA = new PageDocument({"alpha"}, &pages);
    auto *pageB = new PageDocument({"beta"}, &pages);

    m_editor->showPageDocument(pageA, 6, 1, 1);
    QTest::keyClicks(m_editor.get(), QStringLiteral(" one"));
    QCOMPARE(m_editor->takePageLines(), QStringList{"alpha one"});

    m_editor->showPageDocument(pageB, 5, 1, 1);
    QVERIFY(!m_editor->canUndo());
    QTest::keyClicks(m_editor.get(), QStringLiteral(" two"));
    QCOMPARE(m_editor->takePageLines(), QStringList{"beta two"});

    m_editor->showPageDocument(pageA, 10, 1, 1);
    QCOMPARE(m_editor->text(), QStringLiteral("alpha one"));
    QVERIFY(m_editor->canUndo());
    m_editor->undo();
    QCOMPARE(m_editor->text(), QStringLiteral("alpha"));
    QVERIFY(!m_editor->canUndo());
    QVERIFY(m_editor->canRedo());

    m_editor->showPageDocument(pageB, 1, 1, 1);
    QVERIFY(!m_editor->canRedo());
    m_editor->undo();
    QCOMPARE(m_editor->text(), QStringLiteral("beta"));

    m_editor->showPageDocument(pageA, 1, 1, 1);
    m_editor->redo();
    QCOMPARE(m_editor->text(), QStringLiteral("alpha one"));
}

void TestNoteEditor::placeholderLeavesPageHistoriesAlone()
{
    QObject pages;
    auto *page = new PageDocument({"secret"}, &pages);
    m_editor->showPageDocument(page, 7, 1, 1);
    QTest::keyClicks(m_editor.get(), QStringLiteral("!"));
    QSignalSpy changed(m_editor.get(), &NoteEditor::changed);

    m_editor->showPlaceholder(placeholderText);
    QVERIFY(changed.count() >= 1);
    QVERIFY(!m_editor->isShowingPageDocument());
    QVERIFY(m_editor->isReadOnly());
    QCOMPARE(m_editor->text(), placeholderText);
    QVERIFY(!m_editor->canUndo());
    QCOMPARE(DocumentText::text(*page), QStringLiteral("secret!"));
    QVERIFY(page->isUndoAvailable());

    m_editor->showPageDocument(page, 8, 1, 1);
    QVERIFY(!m_editor->isReadOnly());
    QVERIFY(m_editor->isShowingPageDocument());
    m_editor->undo();
    QCOMPARE(m_editor->text(), QStringLiteral("secret"));
    QTest::keyClicks(m_editor.get(), QStringLiteral("?"));
    QCOMPARE(m_editor->text(), QStringLiteral("secret?"));
}

void TestNoteEditor::pageIsShownWithCaretAndTopLineAndNoSelection()
{
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    QObject pages;
    auto *page = new PageDocument(numberedLines(100), &pages);
    auto *other = new PageDocument({"other"}, &pages);

    m_editor->showPageDocument(page, 1, 1, 1);
    m_editor->setSelStart(5);
    m_editor->setSelLength(20);
    m_editor->showPageDocument(other, 1, 1, 1);

    QSignalSpy changed(m_editor.get(), &NoteEditor::changed);
    m_editor->showPageDocument(page, 3, 45, 40);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_editor->caretX(), 3);
    QCOMPARE(m_editor->caretY(), 45);
    QCOMPARE(m_editor->topLine(), 40);
    QCOMPARE(m_editor->selLength(), 0);
}

void TestNoteEditor::emptyLastLineIsDroppedAtPageLeave()
{
    QObject pages;
    auto *page = new PageDocument({"abc"}, &pages);
    auto *other = new PageDocument({}, &pages);

    m_editor->showPageDocument(page, 4, 1, 1);
    QTest::keyClick(m_editor.get(), Qt::Key_Return);
    QCOMPARE(m_editor->text(), QStringLiteral("abc\r\n"));
    QCOMPARE(m_editor->takePageLines(), QStringList{"abc"});
    m_editor->showPageDocument(other, 1, 1, 1);
    m_editor->showPageDocument(page, 1, 2, 1);
    QCOMPARE(m_editor->text(), QStringLiteral("abc"));
    QCOMPARE(m_editor->blockCount(), 1);
    QCOMPARE(m_editor->caretY(), 1);

    // One undo takes back the Enter and its trimming together.
    m_editor->undo();
    QCOMPARE(m_editor->text(), QStringLiteral("abc"));
    QVERIFY(!m_editor->canUndo());

    m_editor->setCaretXY(4, 1);
    QTest::keyClick(m_editor.get(), Qt::Key_Return);
    QTest::keyClick(m_editor.get(), Qt::Key_Return);
    QCOMPARE(m_editor->takePageLines(), (QStringList{"abc", ""}));
    m_editor->showPageDocument(other, 1, 1, 1);
    m_editor->showPageDocument(page, 1, 1, 1);
    QCOMPARE(m_editor->text(), QStringLiteral("abc\r\n"));
}

void TestNoteEditor::takingPageLinesIsNotAnEdit()
{
    QObject pages;
    auto *page = new PageDocument({"abc", ""}, &pages);
    m_editor->showPageDocument(page, 1, 2, 1);
    QSignalSpy changed(m_editor.get(), &NoteEditor::changed);
    QCOMPARE(m_editor->takePageLines(), QStringList{"abc"});
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_editor->caretY(), 1);
}

void TestNoteEditor::blocksAreAnnouncedBeforePainting()
{
    QObject pages;
    auto *pageA = new PageDocument({"alpha"}, &pages);
    auto *pageB = new PageDocument({"beta"}, &pages);
    BlockMarker marker(*m_editor);
    QSignalSpy changed(m_editor.get(), &NoteEditor::changed);
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));

    m_editor->showPageDocument(pageA, 1, 1, 1);
    // The marks are set before the text is painted, so the first painting shows them.
    QVERIFY(showsMarks(m_editor->viewport()->grab().toImage()));
    QVERIFY(isMarked(*pageA));

    m_editor->showPageDocument(pageB, 1, 1, 1);
    marker.announced.clear();
    m_editor->viewport()->grab();
    QVERIFY(isMarked(*pageB));
    QVERIFY(!marker.announced.isEmpty());
    for (const QTextBlock &block : std::as_const(marker.announced))
        QCOMPARE(block.document(), pageB);

    m_editor->showPlaceholder(placeholderText);
    marker.announced.clear();
    m_editor->viewport()->grab();
    QVERIFY(isMarked(*m_editor->document()));
    for (const QTextBlock &block : std::as_const(marker.announced))
        QCOMPARE(block.document(), m_editor->document());

    // Showing a page is one change, the placeholder two (the swap and its text); marking none.
    QCOMPARE(changed.count(), 4);
    QVERIFY(!pageA->isUndoAvailable());
    QVERIFY(!pageA->isModified());
}

void TestNoteEditor::announcesTheBlocksOnScreen_data()
{
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("topLine");

    QTest::newRow("top") << false << 1;
    QTest::newRow("middle") << false << 50;
    QTest::newRow("end") << false << 100;
    QTest::newRow("wrapped, top") << true << 1;
    QTest::newRow("wrapped, middle") << true << 50;
}

void TestNoteEditor::announcesTheBlocksOnScreen()
{
    QFETCH(bool, wrap);
    QFETCH(int, topLine);

    QStringList lines = numberedLines(100);
    for (int i = 0; i < lines.size(); i += 3)
        lines[i] += QStringLiteral(" and a longer text that wraps in a narrow editor");
    PageDocument page(lines);
    m_editor->setWordWrap(wrap);
    BlockMarker marker(*m_editor);
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    m_editor->showPageDocument(&page, 1, 1, topLine);

    marker.takeBlockNumbers();
    m_editor->viewport()->grab();
    const QList<int> announced = marker.takeBlockNumbers();
    QCOMPARE(announced, blocksOnScreen(*m_editor));
    QCOMPARE(announced.first(), m_editor->topLine() - 1);

    // At once, without a paint.
    m_editor->repaintShownBlocks();
    QCOMPARE(marker.takeBlockNumbers(), announced);
    // The gutter's numbers stand beside the same blocks.
    m_editor->findChild<LineNumberGutter *>()->grab();
    QCOMPARE(marker.takeBlockNumbers(), announced);
}

void TestNoteEditor::deletingTheShownPageLeavesAnEmptyPlaceholder()
{
    BlockMarker marker(*m_editor);
    auto *page = new PageDocument({"text"});
    m_editor->showPageDocument(page, 1, 1, 1);
    QSignalSpy changed(m_editor.get(), &NoteEditor::changed);

    delete page;
    QCOMPARE(changed.count(), 0);
    QVERIFY(!m_editor->isShowingPageDocument());
    QVERIFY(m_editor->isReadOnly());
    QCOMPARE(m_editor->text(), QString());
    QTest::keyClicks(m_editor.get(), QStringLiteral("x"));
    marker.announced.clear();
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    m_editor->viewport()->grab();
    QVERIFY(!marker.announced.isEmpty());
    for (const QTextBlock &block : std::as_const(marker.announced))
        QCOMPARE(block.document(), m_editor->document());
}

void TestNoteEditor::pageDocumentsMayOutliveTheEditor()
{
    PageDocument page({"kept"});
    m_editor->show();
    m_editor->showPageDocument(&page, 1, 1, 1);
    m_editor.reset();

    QTextCursor(&page).insertText(QStringLiteral("still "));
    QCOMPARE(DocumentText::text(page), QStringLiteral("still kept"));
    m_editor = std::make_unique<NoteEditor>();
}

QTEST_MAIN(TestNoteEditor)
#include "tst_noteeditor.moc"
