#include "notes/notessettings.h"
#include "security/lockstate.h"
#include "security/passwordbar.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {
// Types each character as a key press, also characters that have no key of their own.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
}
} // namespace

class PasswordBarTest : public QObject
{
    Q_OBJECT

private slots:
    void reveal_data();
    void reveal();
    void barLooksAsDesigned();
};

void PasswordBarTest::reveal_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<bool>("opens");
    const QString password = QStringLiteral("Secret 1");
    QTest::newRow("right, button") << password << password << false << true;
    QTest::newRow("right, Enter") << password << password << true << true;
    QTest::newRow("other case") << password << QStringLiteral("secret 1") << false << false;
    QTest::newRow("other case, Enter") << password << QStringLiteral("SECRET 1") << true << false;
    QTest::newRow("trailing blank counts")
        << password << QStringLiteral("Secret 1 ") << false << false;
    QTest::newRow("empty") << password << QString() << true << false;
    QTest::newRow("empty password, empty box") << QString() << QString() << false << true;
    QTest::newRow("empty password, something typed")
        << QString() << QStringLiteral("x") << true << false;
    QTest::newRow("non-ASCII") << QStringLiteral("Café£") << QStringLiteral("Café£") << true
                               << true;
}

void PasswordBarTest::reveal()
{
    QFETCH(QString, password);
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    QFETCH(bool, opens);

    NotesSettings settings;
    settings.securityEnabled = true;
    settings.passwordText = password;
    LockState lock(settings);
    PasswordBar bar(lock);
    bar.show();
    QSignalSpy revealed(&bar, &PasswordBar::revealed);

    typeText(bar.passwordEdit(), typed);
    if (byEnter)
        QTest::keyClick(bar.passwordEdit(), Qt::Key_Return);
    else
        QTest::mouseClick(bar.revealButton(), Qt::LeftButton);

    QCOMPARE(lock.revealed(), opens);
    QCOMPARE(revealed.count(), opens ? 1 : 0);
    // A wrong password stays in the box; the right one is cleared away.
    QCOMPARE(bar.passwordEdit()->text(), opens ? QString() : typed);
}

void PasswordBarTest::barLooksAsDesigned()
{
    NotesSettings settings;
    LockState lock(settings);
    PasswordBar bar(lock);
    QVERIFY(bar.isHidden());
    QCOMPARE(bar.height(), 41);
    QCOMPARE(bar.palette().color(QPalette::Window), QColor(Qt::blue));
    QCOMPARE(bar.passwordEdit()->echoMode(), QLineEdit::Password);
    QCOMPARE(bar.revealButton()->text(), QStringLiteral("Reveal"));
    QVERIFY(bar.passwordEdit()->maxLength() >= 32767);
}

QTEST_MAIN(PasswordBarTest)
#include "tst_passwordbar.moc"
