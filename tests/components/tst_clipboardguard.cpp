#include "components/clipboardguard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString Word = QStringLiteral("S3cr3t!pw");

QClipboard *clipboard()
{
    return QGuiApplication::clipboard();
}

bool hinted()
{
    const QMimeData *data = clipboard()->mimeData();
    return data && ClipboardGuard::hasSecretHints(*data);
}

// A clock that moves only when the test moves it.
struct FakeClock
{
    qint64 now = 1000;
    ClipboardGuard::Clock clock()
    {
        return [this] { return now; };
    }
};

QList<int> countdown(const QSignalSpy &spy)
{
    QList<int> seconds;
    for (const QList<QVariant> &arguments : spy)
        seconds << arguments.first().toInt();
    return seconds;
}

} // namespace

class ClipboardGuardTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void secretCopyCarriesTheHints();
    void plainCopyCarriesNone();
    void clearedWhenTheDelayHasRunOut();
    void countdownInWholeSeconds();
    void atTheDeadline_data();
    void atTheDeadline();
    void zeroSecondsNeverClearsByTime();
    void clearNow_data();
    void clearNow();
    void aNewCopyReplacesTheDeadline();
    void timerDrivesTheClearing();
};

void ClipboardGuardTest::init()
{
    clipboard()->clear();
}

void ClipboardGuardTest::secretCopyCarriesTheHints()
{
    ClipboardGuard guard;
    guard.copySecret(Word, 30);
    QCOMPARE(clipboard()->text(), Word);
    QVERIFY(hinted());
#ifndef Q_OS_WIN
    QCOMPARE(clipboard()->mimeData()->data(QStringLiteral("x-kde-passwordManagerHint")),
             QByteArray("secret"));
#endif
    QVERIFY(guard.holdsSecretCopy());
}

void ClipboardGuardTest::plainCopyCarriesNone()
{
    FakeClock clock;
    ClipboardGuard guard;
    guard.setClock(clock.clock());
    guard.copyPlain(Word);
    QCOMPARE(clipboard()->text(), Word);
    QVERIFY(!hinted());
    QVERIFY(!guard.holdsSecretCopy());
    QCOMPARE(guard.secondsLeft(), -1);
    clock.now += 3600 * 1000;
    guard.check();
    QCOMPARE(clipboard()->text(), Word);
}

void ClipboardGuardTest::clearedWhenTheDelayHasRunOut()
{
    FakeClock clock;
    ClipboardGuard guard;
    guard.setClock(clock.clock());
    guard.copySecret(Word, 30);

    clock.now += 29999;
    guard.check();
    QCOMPARE(clipboard()->text(), Word);
    QCOMPARE(guard.secondsLeft(), 1);

    clock.now += 1;
    guard.check();
    QCOMPARE(clipboard()->text(), QString());
    QVERIFY(!guard.holdsSecretCopy());
    QCOMPARE(guard.secondsLeft(), -1);
}

void ClipboardGuardTest::countdownInWholeSeconds()
{
    FakeClock clock;
    ClipboardGuard guard;
    guard.setClock(clock.clock());
    QSignalSpy spy(&guard, &ClipboardGuard::countdownChanged);
    guard.copySecret(Word, 3);
    QCOMPARE(guard.secondsLeft(), 3);
    for (int step = 0; step < 12; ++step) {
        clock.now += 250;
        guard.check();
    }
    QCOMPARE(countdown(spy), (QList<int>{3, 2, 1, -1}));
    QCOMPARE(clipboard()->text(), QString());
}

void ClipboardGuardTest::atTheDeadline_data()
{
    QTest::addColumn<QString>("copiedSince");
    QTest::addColumn<bool>("withHints");
    QTest::addColumn<QString>("left");

    QTest::newRow("still the copy: cleared") << QString() << false << QString();
    QTest::newRow("another text copied since: kept")
        << QStringLiteral("mine") << false << QStringLiteral("mine");
    QTest::newRow("the same word copied again without hints: kept") << Word << false << Word;
    QTest::newRow("another secret word copied elsewhere: kept")
        << QStringLiteral("other") << true << QStringLiteral("other");
}

void ClipboardGuardTest::atTheDeadline()
{
    QFETCH(QString, copiedSince);
    QFETCH(bool, withHints);
    FakeClock clock;
    ClipboardGuard guard;
    guard.setClock(clock.clock());
    guard.copySecret(Word, 2);
    if (!copiedSince.isEmpty()) {
        auto *data = new QMimeData;
        data->setText(copiedSince);
        if (withHints)
            ClipboardGuard::addSecretHints(*data);
        clipboard()->setMimeData(data);
    }

    clock.now += 1000;
    guard.check();
    QCOMPARE(guard.secondsLeft(), copiedSince.isEmpty() ? 1 : -1);
    clock.now += 5000;
    guard.check();

    QTEST(clipboard()->text(), "left");
    QCOMPARE(guard.secondsLeft(), -1);
}

void ClipboardGuardTest::zeroSecondsNeverClearsByTime()
{
    FakeClock clock;
    ClipboardGuard guard;
    guard.setClock(clock.clock());
    QSignalSpy spy(&guard, &ClipboardGuard::countdownChanged);
    guard.copySecret(Word, 0);
    QVERIFY(hinted());
    clock.now += qint64(24) * 3600 * 1000;
    guard.check();
    QCOMPARE(clipboard()->text(), Word);
    QCOMPARE(guard.secondsLeft(), -1);
    QCOMPARE(spy.count(), 0);

    guard.clearNow();
    QCOMPARE(clipboard()->text(), QString());
}

void ClipboardGuardTest::clearNow_data()
{
    QTest::addColumn<QString>("copiedSince");
    QTest::addColumn<QString>("left");
    QTest::newRow("still the copy") << QString() << QString();
    QTest::newRow("copied over") << QStringLiteral("mine") << QStringLiteral("mine");
}

void ClipboardGuardTest::clearNow()
{
    QFETCH(QString, copiedSince);
    ClipboardGuard guard;
    guard.copySecret(Word, 30);
    if (!copiedSince.isEmpty())
        clipboard()->setText(copiedSince);
    guard.clearNow();
    QTEST(clipboard()->text(), "left");
    QCOMPARE(guard.secondsLeft(), -1);

    // Forgotten: a later clearing leaves a new text of the same word alone.
    clipboard()->setText(Word);
    guard.clearNow();
    QCOMPARE(clipboard()->text(), Word);
}

void ClipboardGuardTest::aNewCopyReplacesTheDeadline()
{
    FakeClock clock;
    ClipboardGuard guard;
    guard.setClock(clock.clock());
    guard.copySecret(QStringLiteral("first"), 2);
    clock.now += 1500;
    guard.copySecret(Word, 2);
    QCOMPARE(guard.secondsLeft(), 2);
    clock.now += 1000;
    guard.check();
    QCOMPARE(clipboard()->text(), Word);
    clock.now += 1000;
    guard.check();
    QCOMPARE(clipboard()->text(), QString());

    guard.copySecret(Word, 2);
    guard.copyPlain(QStringLiteral("plain"));
    QCOMPARE(guard.secondsLeft(), -1);
    clock.now += 5000;
    guard.check();
    QCOMPARE(clipboard()->text(), QStringLiteral("plain"));
}

void ClipboardGuardTest::timerDrivesTheClearing()
{
    FakeClock clock;
    ClipboardGuard guard;
    guard.setClock(clock.clock());
    guard.copySecret(Word, 30);
    clock.now += 30000;
    QTRY_COMPARE_WITH_TIMEOUT(clipboard()->text(), QString(), 60000);
    QCOMPARE(guard.secondsLeft(), -1);
}

QTEST_MAIN(ClipboardGuardTest)
#include "tst_clipboardguard.moc"
