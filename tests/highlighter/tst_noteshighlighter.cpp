#include "editor/documenttext.h"
#include "editor/noteeditor.h"
#include "editor/pagedocument.h"
#include "highlighter/displaysettings.h"
#include "highlighter/highlighterattribute.h"
#include "highlighter/noteshighlighter.h"

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <memory>

namespace {
const QColor aqua(0, 255, 255);
const QColor yellow(255, 255, 0);

// The format drawn at a position of a block (the document's first unless told).
QTextCharFormat formatAt(const QTextBlock &block, int position)
{
    const QList<QTextLayout::FormatRange> ranges = block.layout()->formats();
    for (const QTextLayout::FormatRange &range : ranges) {
        if (position >= range.start && position < range.start + range.length)
            return range.format;
    }
    return {};
}

QTextCharFormat formatAt(const QTextDocument &document, int position)
{
    return formatAt(document.firstBlock(), position);
}

bool isKeywordFormat(const QTextCharFormat &format)
{
    return format.foreground().color() == aqua && format.fontWeight() == QFont::Bold &&
           !format.hasProperty(QTextFormat::BackgroundBrush);
}

bool isNumberFormat(const QTextCharFormat &format)
{
    return format.foreground().color() == yellow && !format.hasProperty(QTextFormat::FontWeight);
}

bool isPlain(const QTextCharFormat &format)
{
    return format.properties().isEmpty();
}

// A block's coloured ranges as "K0+2 N3+2": K a keyword, N a number, ? anything else.
QString describe(const QTextBlock &block)
{
    QStringList parts;
    for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        const QChar kind = isKeywordFormat(range.format)  ? u'K'
                           : isNumberFormat(range.format) ? u'N'
                                                          : u'?';
        parts.append(QStringLiteral("%1%2+%3").arg(kind).arg(range.start).arg(range.length));
    }
    return parts.join(u' ');
}

QStringList describe(const QTextDocument &document)
{
    QStringList blocks;
    for (QTextBlock block = document.firstBlock(); block.isValid(); block = block.next())
        blocks.append(describe(block));
    return blocks;
}

int aquaPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == aqua)
                ++count;
        }
    }
    return count;
}

// The wiring the notes window makes: the highlighter colours each block the editor is about to
// paint, and a change of its settings recolours what the editor shows.
void attach(NoteEditor &editor, NotesHighlighter &highlighter)
{
    QObject::connect(&editor, &NoteEditor::blockAboutToBePainted, &highlighter,
                     &NotesHighlighter::colourBlock);
    QObject::connect(&highlighter, &NotesHighlighter::recolourNeeded, &editor,
                     &NoteEditor::repaintShownBlocks);
}

// Paints the editor's text as the screen would.
QImage paintedText(NoteEditor &editor)
{
    return editor.viewport()->grab().toImage();
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

QStringList lines(int count, const QString &text)
{
    return QStringList(count, text);
}
} // namespace

class TestNotesHighlighter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void attributesInTheirOrder();
    void attributeFormatLeavesNoneUnset();
    void attributeReportsOnlyRealChanges();
    void tokensGetTheirAttributes();
    void placeholderStartsWithAKeyword();
    void characterCodeIsNotANumber();
    void changedColourRecoloursEveryBlock();
    void sameColourDoesNotRecolour();
    void keywordListChangesRecolour();
    void displaySettingsRecolourTheShownBlocksOnceAndMarkNoEdit();
    void editorShowsKeywordsInAqua();
    void onlyBlocksOnScreenAreColoured();
    void blockFirstPaintedLateIsColoured();
    void editedLinesAreColouredAgain_data();
    void editedLinesAreColouredAgain();
    void colouringIsNoEdit();
    void boldKeywordIsMeasuredBold();
    void paintingSettles();

private:
    std::unique_ptr<PageDocument> m_document;
    NotesHighlighter *m_highlighter = nullptr; // a child of the document

    void highlight(const QString &text);
    void showInEditor(NoteEditor &editor, PageDocument &page, NotesHighlighter &highlighter);
};

void TestNotesHighlighter::initTestCase()
{
    // A blinking caret would repaint by itself.
    QApplication::setCursorFlashTime(0);
}

void TestNotesHighlighter::init()
{
    m_document = std::make_unique<PageDocument>();
    m_highlighter = new NotesHighlighter(m_document.get());
}

void TestNotesHighlighter::cleanup()
{
    m_document.reset();
    m_highlighter = nullptr;
}

// Colours every line of the text, as painting them all would.
void TestNotesHighlighter::highlight(const QString &text)
{
    DocumentText::setText(*m_document, text);
    for (QTextBlock block = m_document->firstBlock(); block.isValid(); block = block.next())
        m_highlighter->colourBlock(block);
}

void TestNotesHighlighter::showInEditor(NoteEditor &editor, PageDocument &page,
                                        NotesHighlighter &highlighter)
{
    editor.resize(300, 120);
    attach(editor, highlighter);
    editor.showPageDocument(&page, 1, 1, 1);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
}

void TestNotesHighlighter::attributesInTheirOrder()
{
    QStringList names;
    for (const HighlighterAttribute *attribute : m_highlighter->attributes())
        names.append(attribute->name());
    QCOMPARE(names, (QStringList{"Comment", "Identifier", "Reserved Word", "Number", "Space",
                                 "String", "Symbol", "Preprocessor"}));

    using Style = HighlighterAttribute::Style;
    const QList<HighlighterAttribute *> &attributes = m_highlighter->attributes();
    QCOMPARE(attributes.at(0)->style(), HighlighterAttribute::Styles(Style::Italic));
    QCOMPARE(attributes.at(2)->style(), HighlighterAttribute::Styles(Style::Bold));
    QCOMPARE(m_highlighter->keyAttri(), attributes.at(2));
    QCOMPARE(m_highlighter->numberAttri(), attributes.at(3));
    QCOMPARE(m_highlighter->keyAttri()->foreground(), aqua);
    QCOMPARE(m_highlighter->numberAttri()->foreground(), yellow);
    for (const HighlighterAttribute *attribute : attributes) {
        QVERIFY(!attribute->background().isValid());
        if (attribute != m_highlighter->keyAttri() && attribute != m_highlighter->numberAttri())
            QVERIFY(!attribute->foreground().isValid());
    }

    QCOMPARE(m_highlighter->attributeFor(TokenKind::Other), attributes.at(6));
    QCOMPARE(m_highlighter->attributeFor(TokenKind::Symbol), attributes.at(6));
    QCOMPARE(m_highlighter->attributeFor(TokenKind::Null), nullptr);
    QCOMPARE(m_highlighter->keywords().entries(),
             (QStringList{"HTTP", "PASSWORD", "PW", "PWD", "UN", "USER", "USERNAME", "WWW"}));
    QCOMPARE(m_highlighter->document(), m_document.get());
}

void TestNotesHighlighter::attributeFormatLeavesNoneUnset()
{
    using Style = HighlighterAttribute::Style;
    HighlighterAttribute attribute(QStringLiteral("Test"), {});
    QVERIFY(isPlain(attribute.format()));

    attribute.setBackground(QColor(0, 0, 255));
    attribute.setStyle(Style::Italic | Style::Underline | Style::StrikeOut);
    const QTextCharFormat format = attribute.format();
    QVERIFY(!format.hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(format.background().color(), QColor(0, 0, 255));
    QVERIFY(format.fontItalic());
    QVERIFY(format.fontUnderline());
    QVERIFY(format.fontStrikeOut());
    QVERIFY(!format.hasProperty(QTextFormat::FontWeight));
}

void TestNotesHighlighter::attributeReportsOnlyRealChanges()
{
    HighlighterAttribute attribute(QStringLiteral("Test"), HighlighterAttribute::Style::Bold);
    QSignalSpy changed(&attribute, &HighlighterAttribute::changed);
    attribute.setForeground(QColor());
    attribute.setBackground(QColor());
    attribute.setStyle(HighlighterAttribute::Style::Bold);
    QCOMPARE(changed.count(), 0);

    attribute.setForeground(Qt::red);
    attribute.setForeground(Qt::red);
    attribute.setStyle({});
    attribute.setForeground(QColor());
    QCOMPARE(changed.count(), 3);
}

void TestNotesHighlighter::tokensGetTheirAttributes()
{
    highlight(QStringLiteral("Password: 1234 'pw 5' user"));
    QVERIFY(isKeywordFormat(formatAt(*m_document, 0)));
    QVERIFY(isKeywordFormat(formatAt(*m_document, 7)));
    QVERIFY(isPlain(formatAt(*m_document, 8)));
    QVERIFY(isPlain(formatAt(*m_document, 9)));
    const QTextCharFormat number = formatAt(*m_document, 10);
    QCOMPARE(number.foreground().color(), yellow);
    QVERIFY(!number.hasProperty(QTextFormat::FontWeight));
    QCOMPARE(formatAt(*m_document, 13).foreground().color(), yellow);
    QVERIFY(isPlain(formatAt(*m_document, 16)));
    QVERIFY(isPlain(formatAt(*m_document, 19)));
    QVERIFY(isKeywordFormat(formatAt(*m_document, 22)));
}

void TestNotesHighlighter::placeholderStartsWithAKeyword()
{
    highlight(QStringLiteral("Password Protected Data "));
    const QList<QTextLayout::FormatRange> ranges = m_document->firstBlock().layout()->formats();
    QCOMPARE(ranges.size(), 1);
    QCOMPARE(ranges.first().start, 0);
    QCOMPARE(ranges.first().length, 8);
    QVERIFY(isKeywordFormat(ranges.first().format));
}

void TestNotesHighlighter::characterCodeIsNotANumber()
{
    highlight(QStringLiteral("#42 $FF"));
    QVERIFY(isPlain(formatAt(*m_document, 1)));
    QCOMPARE(formatAt(*m_document, 4).foreground().color(), yellow);
}

void TestNotesHighlighter::changedColourRecoloursEveryBlock()
{
    highlight(QStringLiteral("pw 12\nsecond line 3"));
    QSignalSpy recolourNeeded(m_highlighter, &NotesHighlighter::recolourNeeded);
    const QTextBlock first = m_document->firstBlock();
    const QTextBlock second = first.next();

    m_highlighter->numberAttri()->setForeground(Qt::red);
    QCOMPARE(recolourNeeded.count(), 1);
    QVERIFY(!m_highlighter->isColoured(first));
    QVERIFY(!m_highlighter->isColoured(second));
    m_highlighter->colourBlock(first);
    m_highlighter->colourBlock(second);
    QCOMPARE(formatAt(first, 3).foreground().color(), QColor(Qt::red));
    QCOMPARE(formatAt(second, 12).foreground().color(), QColor(Qt::red));

    m_highlighter->keyAttri()->setStyle({});
    m_highlighter->colourBlock(first);
    QVERIFY(!formatAt(first, 0).hasProperty(QTextFormat::FontWeight));
    m_highlighter->keyAttri()->setBackground(Qt::blue);
    m_highlighter->colourBlock(first);
    QCOMPARE(formatAt(first, 0).background().color(), QColor(Qt::blue));
    QCOMPARE(recolourNeeded.count(), 3);
}

void TestNotesHighlighter::sameColourDoesNotRecolour()
{
    highlight(QStringLiteral("pw 12\nsecond line 3"));
    QSignalSpy recolourNeeded(m_highlighter, &NotesHighlighter::recolourNeeded);
    m_highlighter->numberAttri()->setForeground(yellow);
    m_highlighter->keyAttri()->setBackground(QColor());
    m_highlighter->keyAttri()->setStyle(HighlighterAttribute::Style::Bold);
    QCOMPARE(recolourNeeded.count(), 0);
    QVERIFY(m_highlighter->isColoured(m_document->firstBlock()));
    QVERIFY(m_highlighter->isColoured(m_document->lastBlock()));

    m_highlighter->numberAttri()->setBackground(Qt::darkGray);
    QCOMPARE(recolourNeeded.count(), 1);
    QVERIFY(!m_highlighter->isColoured(m_document->firstBlock()));
    QVERIFY(!m_highlighter->isColoured(m_document->lastBlock()));
}

void TestNotesHighlighter::keywordListChangesRecolour()
{
    highlight(QStringLiteral("secret pw"));
    QVERIFY(isPlain(formatAt(*m_document, 0)));
    QSignalSpy recolourNeeded(m_highlighter, &NotesHighlighter::recolourNeeded);

    m_highlighter->setKeywordEntries({"Secret"});
    QCOMPARE(recolourNeeded.count(), 1);
    m_highlighter->colourBlock(m_document->firstBlock());
    QVERIFY(isKeywordFormat(formatAt(*m_document, 0)));
    QVERIFY(isPlain(formatAt(*m_document, 7)));
    QCOMPARE(m_highlighter->keywords().entries(), QStringList{"Secret"});

    m_highlighter->setKeyWords({"pw"});
    QCOMPARE(recolourNeeded.count(), 2);
    m_highlighter->colourBlock(m_document->firstBlock());
    QCOMPARE(m_highlighter->keywords().entries(), QStringList{"PW"});
    QVERIFY(isPlain(formatAt(*m_document, 0)));
    QVERIFY(isKeywordFormat(formatAt(*m_document, 7)));
}

void TestNotesHighlighter::displaySettingsRecolourTheShownBlocksOnceAndMarkNoEdit()
{
    NoteEditor editor;
    PageDocument page({"pw 12", "secret 3", "line 3"});
    auto *highlighter = new NotesHighlighter(&page);
    showInEditor(editor, page, *highlighter);
    paintedText(editor);
    QSignalSpy recolourNeeded(highlighter, &NotesHighlighter::recolourNeeded);
    QSignalSpy changed(&editor, &NoteEditor::changed);

    DisplaySettings settings;
    settings.color = QColor(200, 200, 200);
    settings.colorBk = QColor(0, 0, 64);
    settings.colorN = Qt::green;
    settings.colorNBk = Qt::black;
    settings.colorK = Qt::magenta;
    settings.keywords = QStringList{"secret"};
    highlighter->applyDisplaySettings(settings, editor);

    QCOMPARE(editor.textColor(), QColor(200, 200, 200));
    QCOMPARE(editor.backgroundColor(), QColor(0, 0, 64));
    QCOMPARE(highlighter->numberAttri()->foreground(), QColor(Qt::green));
    QCOMPARE(highlighter->numberAttri()->background(), QColor(Qt::black));
    QCOMPARE(highlighter->keyAttri()->foreground(), QColor(Qt::magenta));
    QVERIFY(!highlighter->keyAttri()->background().isValid());
    QCOMPARE(highlighter->keywords().entries(), QStringList{"secret"});
    QCOMPARE(recolourNeeded.count(), 1);
    // The lines on screen have their new colours at once, without waiting for a paint.
    const QTextBlock first = page.firstBlock();
    QVERIFY(isPlain(formatAt(first, 0)));
    QCOMPARE(formatAt(first, 3).foreground().color(), QColor(Qt::green));
    QCOMPARE(formatAt(first.next(), 0).foreground().color(), QColor(Qt::magenta));
    QCOMPARE(formatAt(first.next().next(), 5).foreground().color(), QColor(Qt::green));
    QCOMPARE(changed.count(), 0);
    QVERIFY(!page.isUndoAvailable());
    QVERIFY(!page.isModified());
}

void TestNotesHighlighter::editorShowsKeywordsInAqua()
{
    NoteEditor editor;
    PageDocument page({"PASSWORD"});
    showInEditor(editor, page, *new NotesHighlighter(&page));
    QVERIFY(aquaPixels(paintedText(editor)) > 0);
}

void TestNotesHighlighter::onlyBlocksOnScreenAreColoured()
{
    NoteEditor editor;
    PageDocument page(lines(2000, QStringLiteral("pw 1")));
    auto *highlighter = new NotesHighlighter(&page);
    showInEditor(editor, page, *highlighter);
    paintedText(editor);

    QVERIFY(highlighter->isColoured(page.firstBlock()));
    QCOMPARE(describe(page.firstBlock()), QStringLiteral("K0+2 N3+1"));
    int coloured = 0;
    for (QTextBlock block = page.firstBlock(); block.isValid(); block = block.next()) {
        if (highlighter->isColoured(block))
            ++coloured;
    }
    // A screen of lines, not the page.
    QVERIFY2(coloured < 50, qPrintable(QString::number(coloured)));
    QVERIFY(!highlighter->isColoured(page.lastBlock()));
}

void TestNotesHighlighter::blockFirstPaintedLateIsColoured()
{
    NoteEditor editor;
    QStringList text = lines(500, QStringLiteral("plain words"));
    text.last() = QStringLiteral("user 42");
    PageDocument page(text);
    auto *highlighter = new NotesHighlighter(&page);
    showInEditor(editor, page, *highlighter);
    QCOMPARE(aquaPixels(paintedText(editor)), 0);
    QVERIFY(!highlighter->isColoured(page.lastBlock()));

    editor.verticalScrollBar()->setValue(editor.verticalScrollBar()->maximum());
    QVERIFY(aquaPixels(paintedText(editor)) > 0);
    QCOMPARE(describe(page.lastBlock()), QStringLiteral("K0+4 N5+2"));
}

void TestNotesHighlighter::editedLinesAreColouredAgain_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("keys"); // "\n" presses Return, "\b" Backspace
    QTest::addColumn<QStringList>("coloured");

    QTest::newRow("keyword typed before a number")
        << QStringList{"a 1"} << 1 << 1 << "pw " << QStringList{"K0+2 N5+1"};
    QTest::newRow("number typed after a keyword")
        << QStringList{"pw"} << 1 << 3 << " 42" << QStringList{"K0+2 N3+2"};
    QTest::newRow("keyword grows into another")
        << QStringList{"pw 1"} << 1 << 3 << "d" << QStringList{"K0+3 N4+1"};
    QTest::newRow("keyword grows into a plain word")
        << QStringList{"pw 1"} << 1 << 3 << "x" << QStringList{"N4+1"};
    QTest::newRow("keyword broken by a blank")
        << QStringList{"password"} << 1 << 5 << " " << QStringList{""};
    QTest::newRow("apostrophe makes the rest a string")
        << QStringList{"pw 12"} << 1 << 1 << "'" << QStringList{""};
    QTest::newRow("line broken in two")
        << QStringList{"pw 12"} << 1 << 4 << "\n" << QStringList{"K0+2", "N0+2"};
    QTest::newRow("lines joined")
        << QStringList{"pw", "12"} << 2 << 1 << "\b" << QStringList{""};
    QTest::newRow("new line typed")
        << QStringList{"x"} << 1 << 2 << "\nuser 7" << QStringList{"", "K0+4 N5+1"};
}

void TestNotesHighlighter::editedLinesAreColouredAgain()
{
    QFETCH(QStringList, lines);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, keys);
    QFETCH(QStringList, coloured);

    NoteEditor editor;
    PageDocument page(lines);
    showInEditor(editor, page, *new NotesHighlighter(&page));
    paintedText(editor);
    editor.setCaretXY(column, line);
    for (const QChar key : keys) {
        if (key == u'\n')
            QTest::keyClick(&editor, Qt::Key_Return);
        else if (key == u'\b')
            QTest::keyClick(&editor, Qt::Key_Backspace);
        else
            QTest::keyClick(&editor, key.toLatin1());
    }
    paintedText(editor);
    QCOMPARE(describe(page), coloured);
}

void TestNotesHighlighter::colouringIsNoEdit()
{
    NoteEditor editor;
    QStringList text = lines(300, QStringLiteral("user 1"));
    PageDocument page(text);
    auto *highlighter = new NotesHighlighter(&page);
    QSignalSpy contentsChange(&page, &QTextDocument::contentsChange);
    QSignalSpy contentsChanged(&page, &QTextDocument::contentsChanged);
    QSignalSpy changed(&editor, &NoteEditor::changed);
    showInEditor(editor, page, *highlighter);
    changed.clear();

    paintedText(editor);
    editor.verticalScrollBar()->setValue(editor.verticalScrollBar()->maximum());
    paintedText(editor);
    highlighter->keyAttri()->setForeground(Qt::red);
    paintedText(editor);
    QCOMPARE(formatAt(page.lastBlock(), 0).foreground().color(), QColor(Qt::red));

    QCOMPARE(contentsChange.count(), 0);
    QCOMPARE(contentsChanged.count(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(page.availableUndoSteps(), 0);
    QVERIFY(!page.isModified());
}

void TestNotesHighlighter::boldKeywordIsMeasuredBold()
{
    // A font whose bold letters are wider, so that a keyword takes more room once coloured.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    QFont bold = font;
    bold.setBold(true);
    const qreal plainWidth = QFontMetricsF(font).horizontalAdvance(QStringLiteral("PASSWORD"));
    const qreal boldWidth = QFontMetricsF(bold).horizontalAdvance(QStringLiteral("PASSWORD"));
    if (boldWidth - plainWidth < 3)
        QSKIP("no font with wider bold letters");

    NoteEditor editor;
    editor.setFont(font);
    PageDocument page({"PASSWORD x"});
    showInEditor(editor, page, *new NotesHighlighter(&page));
    paintedText(editor);

    QTextCursor cursor(&page);
    const int start = editor.cursorRect(cursor).left();
    cursor.setPosition(8);
    const int afterKeyword = editor.cursorRect(cursor).left();
    QVERIFY2(qAbs(afterKeyword - start - boldWidth) <= 1.5,
             qPrintable(QStringLiteral("%1 wide, bold %2, plain %3")
                            .arg(afterKeyword - start)
                            .arg(boldWidth)
                            .arg(plainWidth)));
}

void TestNotesHighlighter::paintingSettles()
{
    NoteEditor editor;
    PageDocument page(lines(400, QStringLiteral("pw 12 user 7 http")));
    showInEditor(editor, page, *new NotesHighlighter(&page));
    PaintCounter counter;
    editor.viewport()->installEventFilter(&counter);

    editor.verticalScrollBar()->setValue(200);
    QTRY_VERIFY(counter.paints > 0);
    QCoreApplication::processEvents();
    counter.paints = 0;
    for (int round = 0; round < 10; ++round)
        QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 0);
}

QTEST_MAIN(TestNotesHighlighter)
#include "tst_noteshighlighter.moc"
