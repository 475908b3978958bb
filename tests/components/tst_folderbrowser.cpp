#include "components/dialogseam.h"
#include "components/folderbrowser.h"

#include <QtTest>

// The folder picker, answered through the dialog seam.
class FolderBrowserTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void opensAtThePathAndTakesThePick();
    void cancelLeavesThePath();
};

void FolderBrowserTest::cleanup()
{
    DialogSeam::setFolderHandler({});
}

void FolderBrowserTest::opensAtThePathAndTakesThePick()
{
    QString askedCaption;
    QString askedStart;
    DialogSeam::setFolderHandler([&](const QString &caption, const QString &start) {
        askedCaption = caption;
        askedStart = start;
        return QStringLiteral("/tmp/backups");
    });
    FolderBrowser browser;
    browser.setTitle(QStringLiteral("Backup Folder"));
    browser.setPath(QStringLiteral("/home/ann/notes"));

    QVERIFY(browser.execute());
    QCOMPARE(askedStart, QStringLiteral("/home/ann/notes"));
    QCOMPARE(askedCaption, QStringLiteral("Backup Folder"));
    QCOMPARE(browser.path(), QDir::toNativeSeparators(QStringLiteral("/tmp/backups")));
}

void FolderBrowserTest::cancelLeavesThePath()
{
    DialogSeam::setFolderHandler([](const QString &, const QString &) { return QString(); });
    FolderBrowser browser;
    browser.setPath(QStringLiteral("/home/ann/notes"));
    QVERIFY(!browser.execute());
    QCOMPARE(browser.path(), QStringLiteral("/home/ann/notes"));
}

QTEST_MAIN(FolderBrowserTest)
#include "tst_folderbrowser.moc"
