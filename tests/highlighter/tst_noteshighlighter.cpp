#include "highlighter/displaysettings.h"
#include "editor/documenttext.h"
#include "highlighter/highlighterattribute.h"
#include "editor/noteeditor.h"
#include "highlighter/noteshighlighter.h"
#include "editor/pagedocument.h"

#include <QFont>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <memory>

namespace {
const QColor aqua(0, 255, 255);
const QColor yellow(255, 255, 0);

// Counts the lines coloured, to tell a repaint from none.
class CountingHighlighter : public NotesHighlighter
{
public:
    int lines = 0;

protected:
    void highlightBlock(const QString &text) override
    {
        ++lines;
        NotesHighlighter::highlightBlock(text);
    }
};

// The format drawn at a position of the document's first line.
QTextCharFormat formatAt(const QTextDocument &document, int position)
{
    const QList<QTextLayout::FormatRange> ranges = document.firstBlock().layout()->formats();
    for (const QTextLayout::FormatRange &range : ranges) {
        if (position >= range.start && position < range.start + range.length)
            return range.format;
    }
    return {};
}

bool isKeywordFormat(const QTextCharFormat &format)
{
    return format.foreground().color() == aqua && format.fontWeight() == QFont::Bold &&
           !format.hasProperty(QTextFormat::BackgroundBrush);
}

bool isPlain(const QTextCharFormat &format)
{
    return format.properties().isEmpty();
}
} // namespace

class TestNotesHighlighter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void attributesInTheirOrder();
    void attributeFormatLeavesNoneUnset();
    void attributeReportsOnlyRealChanges();
    void tokensGetTheirAttributes();
    void placeholderStartsWithAKeyword();
    void characterCodeIsNotANumber();
    void changedColourRepaintsAtOnce();
    void sameColourDoesNotRepaint();
    void keywordListChangesRepaint();
    void displaySettingsRepaintOnceAndMarkNoEdit();
    void editorShowsKeywordsInAqua();

private:
    std::unique_ptr<QTextDocument> m_document;
    std::unique_ptr<CountingHighlighter> m_highlighter;

    void highlight(const QString &text);
};

void TestNotesHighlighter::init()
{
    m_document = std::make_unique<PageDocument>();
    m_highlighter = std::make_unique<CountingHighlighter>();
}

void TestNotesHighlighter::cleanup()
{
    m_highlighter.reset();
    m_document.reset();
}

void TestNotesHighlighter::highlight(const QString &text)
{
    DocumentText::setText(*m_document, text);
    m_highlighter->setDocument(m_document.get());
    m_highlighter->rehighlight();
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

void TestNotesHighlighter::changedColourRepaintsAtOnce()
{
    highlight(QStringLiteral("pw 12\nsecond line 3"));
    m_highlighter->numberAttri()->setForeground(Qt::red);
    QCOMPARE(formatAt(*m_document, 3).foreground().color(), QColor(Qt::red));

    m_highlighter->keyAttri()->setStyle({});
    QVERIFY(!formatAt(*m_document, 0).hasProperty(QTextFormat::FontWeight));
    m_highlighter->keyAttri()->setBackground(Qt::blue);
    QCOMPARE(formatAt(*m_document, 0).background().color(), QColor(Qt::blue));
}

void TestNotesHighlighter::sameColourDoesNotRepaint()
{
    highlight(QStringLiteral("pw 12\nsecond line 3"));
    const int lines = m_highlighter->lines;
    m_highlighter->numberAttri()->setForeground(yellow);
    m_highlighter->keyAttri()->setBackground(QColor());
    m_highlighter->keyAttri()->setStyle(HighlighterAttribute::Style::Bold);
    QCOMPARE(m_highlighter->lines, lines);

    m_highlighter->numberAttri()->setBackground(Qt::darkGray);
    QCOMPARE(m_highlighter->lines, lines + 2);
}

void TestNotesHighlighter::keywordListChangesRepaint()
{
    highlight(QStringLiteral("secret pw"));
    QVERIFY(isPlain(formatAt(*m_document, 0)));

    m_highlighter->setKeywordEntries({"Secret"});
    QVERIFY(isKeywordFormat(formatAt(*m_document, 0)));
    QVERIFY(isPlain(formatAt(*m_document, 7)));
    QCOMPARE(m_highlighter->keywords().entries(), QStringList{"Secret"});

    m_highlighter->setKeyWords({"pw"});
    QCOMPARE(m_highlighter->keywords().entries(), QStringList{"PW"});
    QVERIFY(isPlain(formatAt(*m_document, 0)));
    QVERIFY(isKeywordFormat(formatAt(*m_document, 7)));
}

void TestNotesHighlighter::displaySettingsRepaintOnceAndMarkNoEdit()
{
    NoteEditor editor;
    PageDocument page({"pw 12", "line 2", "line 3"});
    editor.showPageDocument(&page, 1, 1, 1);
    editor.setHighlighter(m_highlighter.get());
    const int lines = m_highlighter->lines;
    QSignalSpy changed(&editor, &NoteEditor::changed);

    DisplaySettings settings;
    settings.color = QColor(200, 200, 200);
    settings.colorBk = QColor(0, 0, 64);
    settings.colorN = Qt::green;
    settings.colorNBk = Qt::black;
    settings.colorK = Qt::magenta;
    m_highlighter->applyDisplaySettings(settings, editor);

    QCOMPARE(editor.textColor(), QColor(200, 200, 200));
    QCOMPARE(editor.backgroundColor(), QColor(0, 0, 64));
    QCOMPARE(m_highlighter->numberAttri()->foreground(), QColor(Qt::green));
    QCOMPARE(m_highlighter->numberAttri()->background(), QColor(Qt::black));
    QCOMPARE(m_highlighter->keyAttri()->foreground(), QColor(Qt::magenta));
    QVERIFY(!m_highlighter->keyAttri()->background().isValid());
    QCOMPARE(m_highlighter->lines, lines + 3);
    QCOMPARE(formatAt(page, 3).foreground().color(), QColor(Qt::green));
    QCOMPARE(changed.count(), 0);
    QVERIFY(!page.isUndoAvailable());
}

void TestNotesHighlighter::editorShowsKeywordsInAqua()
{
    NoteEditor editor;
    editor.resize(300, 80);
    editor.setHighlighter(m_highlighter.get());
    PageDocument page({"PASSWORD"});
    editor.showPageDocument(&page, 1, 1, 1);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));

    const QImage image = editor.viewport()->grab().toImage();
    int aquaPixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == aqua)
                ++aquaPixels;
        }
    }
    QVERIFY(aquaPixels > 0);
}

QTEST_MAIN(TestNotesHighlighter)
#include "tst_noteshighlighter.moc"
