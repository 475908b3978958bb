#include "app/mainwindow.h"
#include "app/statusline.h"
#include "components/clipboardguard.h"
#include "editor/noteeditor.h"
#include "support/windowfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>

namespace {

const QString DoubleClickHint = QStringLiteral("Double click a word to copy to clipboard");
const QString Secret = QStringLiteral("S3cr3t!pw");

QClipboard *clipboard()
{
    return QApplication::clipboard();
}

bool hinted()
{
    const QMimeData *data = clipboard()->mimeData();
    return data && ClipboardGuard::hasSecretHints(*data);
}

NotesSettings lockedSettings()
{
    NotesSettings settings;
    settings.securityEnabled = true;
    settings.passwordText = QStringLiteral("abc");
    return settings;
}

// A double click on the word as the user makes it, in the editor's text.
void doubleClickOn(NoteEditor &editor, const QString &word)
{
    const int at = int(editor.toPlainText().indexOf(word));
    QVERIFY(at >= 0);
    QTextCursor cursor(editor.document());
    cursor.setPosition(at + 1);
    QTest::mouseDClick(editor.viewport(), Qt::LeftButton, {}, editor.cursorRect(cursor).center());
}

} // namespace

class SecretCopyTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void whichCopiesAreSecret_data();
    void whichCopiesAreSecret();
    void countdownOnTheStatusLine();
    void neverWithZeroSeconds();
    void hide_data();
    void hide();
    void exitClears_data();
    void exitClears();

private:
    MainWindow &startOnSecretPage(NotesSettings settings = lockedSettings());

    std::unique_ptr<WindowFixture> m_fixture;
    qint64 m_now = 0;
};

void SecretCopyTest::init()
{
    clipboard()->clear();
    m_now = 0;
    m_fixture = std::make_unique<WindowFixture>();
}

void SecretCopyTest::cleanup()
{
    m_fixture.reset();
    clipboard()->clear();
}

MainWindow &SecretCopyTest::startOnSecretPage(NotesSettings settings)
{
    m_fixture->writeNotes({{QStringLiteral("Secret"), {QStringLiteral("pw ") + Secret}, true}},
                          settings);
    MainWindow &window = m_fixture->start();
    window.clipboardGuard().setClock([this] { return m_now; });
    window.lockState().setRevealed(true);
    window.pageEnter();
    return window;
}

void SecretCopyTest::whichCopiesAreSecret_data()
{
    QTest::addColumn<bool>("isProtected");
    QTest::addColumn<bool>("securityEnabled");
    QTest::addColumn<bool>("revealed");
    QTest::addColumn<bool>("clipClearAll");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("secret");

    QTest::newRow("protected page, revealed") << true << true << true << false << Secret << true;
    QTest::newRow("protected page, security off")
        << true << false << false << false << Secret << true;
    QTest::newRow("unprotected page") << false << true << true << false << Secret << false;
    QTest::newRow("unprotected page, also cleared")
        << false << true << true << true << Secret << true;
    QTest::newRow("placeholder of a locked page")
        << true << true << false << false << QStringLiteral("Protected") << false;
}

void SecretCopyTest::whichCopiesAreSecret()
{
    QFETCH(bool, isProtected);
    QFETCH(bool, securityEnabled);
    QFETCH(bool, revealed);
    QFETCH(bool, clipClearAll);
    QFETCH(QString, word);
    QFETCH(bool, secret);
    NotesSettings settings = lockedSettings();
    settings.securityEnabled = securityEnabled;
    settings.clipClearAll = clipClearAll;
    m_fixture->writeNotes({{QStringLiteral("Page"), {QStringLiteral("pw ") + Secret}, isProtected}},
                          settings);
    MainWindow &window = m_fixture->start();
    window.lockState().setRevealed(revealed);
    window.pageEnter();

    doubleClickOn(*window.editor(), word);

    QCOMPARE(clipboard()->text(), word);
    QCOMPARE(hinted(), secret);
    QCOMPARE(window.statusLine()->hint(),
             secret ? QStringLiteral("Copied \u2013 clears in 30 s") : DoubleClickHint);
}

void SecretCopyTest::countdownOnTheStatusLine()
{
    NotesSettings settings = lockedSettings();
    settings.clipClearSecs = 12;
    MainWindow &window = startOnSecretPage(settings);
    doubleClickOn(*window.editor(), Secret);
    QCOMPARE(window.statusLine()->hint(), QStringLiteral("Copied \u2013 clears in 12 s"));

    m_now += 4500;
    window.clipboardGuard().check();
    QCOMPARE(window.statusLine()->hint(), QStringLiteral("Copied \u2013 clears in 8 s"));
    QCOMPARE(clipboard()->text(), Secret);

    m_now += 7500;
    window.clipboardGuard().check();
    QCOMPARE(clipboard()->text(), QString());
    QCOMPARE(window.statusLine()->hint(), DoubleClickHint);
}

void SecretCopyTest::neverWithZeroSeconds()
{
    NotesSettings settings = lockedSettings();
    settings.clipClearSecs = 0;
    MainWindow &window = startOnSecretPage(settings);
    doubleClickOn(*window.editor(), Secret);
    QVERIFY(hinted());
    QCOMPARE(window.statusLine()->hint(), DoubleClickHint);
    m_now += qint64(24) * 3600 * 1000;
    window.clipboardGuard().check();
    QCOMPARE(clipboard()->text(), Secret);
}

void SecretCopyTest::hide_data()
{
    QTest::addColumn<bool>("hideDisablesPassword");
    QTest::addColumn<QString>("copiedSince");
    QTest::addColumn<QString>("left");
    QTest::newRow("hide disables the password: cleared") << true << QString() << QString();
    QTest::newRow("hide disables the password, copied over: kept")
        << true << QStringLiteral("mine") << QStringLiteral("mine");
    QTest::newRow("a plain hide: kept") << false << QString() << Secret;
}

void SecretCopyTest::hide()
{
    QFETCH(bool, hideDisablesPassword);
    QFETCH(QString, copiedSince);
    NotesSettings settings = lockedSettings();
    settings.hideDisablesPassword = hideDisablesPassword;
    MainWindow &window = startOnSecretPage(settings);
    doubleClickOn(*window.editor(), Secret);
    QCOMPARE(clipboard()->text(), Secret);
    if (!copiedSince.isEmpty())
        clipboard()->setText(copiedSince);

    window.hideWindow();

    QVERIFY(!window.isVisible());
    QTEST(clipboard()->text(), "left");
}

void SecretCopyTest::exitClears_data()
{
    QTest::addColumn<QString>("copiedSince");
    QTest::addColumn<QString>("left");
    QTest::newRow("still the copy") << QString() << QString();
    QTest::newRow("copied over") << QStringLiteral("mine") << QStringLiteral("mine");
}

void SecretCopyTest::exitClears()
{
    QFETCH(QString, copiedSince);
    MainWindow &window = startOnSecretPage();
    doubleClickOn(*window.editor(), Secret);
    if (!copiedSince.isEmpty())
        clipboard()->setText(copiedSince);

    window.exitProgram();

    QTEST(clipboard()->text(), "left");
}

QTEST_MAIN(SecretCopyTest)
#include "tst_secretcopy.moc"
