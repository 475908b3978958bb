#include "about/weblinks.h"
#include "app/statusline.h"

#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QTest>
#include <QVBoxLayout>

// The status line's three panels at every window width from the smallest on.
class StatusLineTest : public QObject
{
    Q_OBJECT

private slots:
    void panelsNeverOverlap_data();
    void panelsNeverOverlap();

private:
    static bool shows(const QLabel *panel, const QString &text)
    {
        return panel->fontMetrics().horizontalAdvance(text) <= panel->contentsRect().width();
    }
};

void StatusLineTest::panelsNeverOverlap_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("pixelSize"); // of the desktop's font; 0 for the one at hand
    QTest::addColumn<QString>("hint");  // "shortened", "whole" or "any" of the two
    for (int pixelSize : {0, 14}) {
        QTest::addRow("535 px, font %d", pixelSize) << 535 << pixelSize << "shortened";
        for (int width : {560, 600, 640, 666, 720})
            QTest::addRow("%d px, font %d", width, pixelSize) << width << pixelSize << "any";
        for (int width : {800, 1024, 1280, 1600, 2000})
            QTest::addRow("%d px, font %d", width, pixelSize) << width << pixelSize << "whole";
    }
}

// Side by side in their order, inside the line; the address is always whole, and the hint is
// whole or shortened with "…" to what its panel shows.
void StatusLineTest::panelsNeverOverlap()
{
    QFETCH(int, width);
    QFETCH(int, pixelSize);
    QFETCH(QString, hint);
    const QFont desktopFont = QApplication::font();
    const auto restoreFont = qScopeGuard([&] { QApplication::setFont(desktopFont); });
    if (pixelSize > 0) {
        QFont font = desktopFont;
        font.setPixelSize(pixelSize);
        QApplication::setFont(font);
    }
    const QString hintText = QStringLiteral("Double click a word to copy to clipboard");
    const QString address = WebLinks::webSite().toString() + QStringLiteral("  ");
    // The line as the notes window holds it: across the window, whose smallest width is 535.
    QWidget window;
    window.setMinimumSize(535, 21);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto &line = *new StatusLine(WebLinks::webSite().toString());
    layout->addWidget(&line);
    window.resize(width, 21);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(line.width(), width);

    const auto *caret = line.findChild<QLabel *>(QStringLiteral("Panel5"));
    const auto *hintPanel = line.findChild<QLabel *>(QStringLiteral("Panel6"));
    const auto *addressPanel = line.findChild<QLabel *>(QStringLiteral("Panel1"));
    QVERIFY(line.contentsRect().contains(caret->geometry()));
    QVERIFY(caret->geometry().right() < hintPanel->geometry().left());
    QVERIFY(hintPanel->geometry().right() < addressPanel->geometry().left());
    QVERIFY(line.contentsRect().contains(addressPanel->geometry()));
    QCOMPARE(addressPanel->geometry().right(), line.contentsRect().right() - 1);

    QCOMPARE(addressPanel->text(), address);
    QVERIFY(shows(addressPanel, address));
    QVERIFY(shows(caret, QStringLiteral("Line: 9999   Col: 999")));
    QVERIFY(shows(hintPanel, hintPanel->text()));
    const bool whole = hintPanel->text() == hintText;
    if (!whole) {
        QVERIFY2(hintPanel->text().endsWith(u'…'), qPrintable(hintPanel->text()));
        QVERIFY(hintText.startsWith(hintPanel->text().chopped(1)));
    }
    if (hint != QLatin1String("any"))
        QCOMPARE(whole, hint == QLatin1String("whole"));
}

QTEST_MAIN(StatusLineTest)
#include "tst_statusline.moc"
