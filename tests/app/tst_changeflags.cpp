#include "app/changeflags.h"

#include <QTest>

// What the next save must write, around saves that succeed, fail or are overtaken by changes.
class ChangeFlagsTest : public QObject
{
    Q_OBJECT

private slots:
    void marksAreKeptUntilCleared();
    void flagsStaySetWhileASaveRuns();
    void writtenSaveKeepsOnlyWhatWasMarkedMeanwhile_data();
    void writtenSaveKeepsOnlyWhatWasMarkedMeanwhile();
    void failedSaveKeepsEverything();
    void clearAllButUnsavedKeepsWhatAFailedSaveLeft_data();
    void clearAllButUnsavedKeepsWhatAFailedSaveLeft();
};

namespace {
QString state(const ChangeFlags &flags)
{
    QString text;
    if (flags.settings())
        text += u's';
    if (flags.notes())
        text += u'n';
    if (flags.positions())
        text += u'p';
    return text;
}

void mark(ChangeFlags &flags, const QString &which)
{
    if (which.contains(u's'))
        flags.markSettings();
    if (which.contains(u'n'))
        flags.markNotes();
    if (which.contains(u'p'))
        flags.markPositions();
}
} // namespace

void ChangeFlagsTest::marksAreKeptUntilCleared()
{
    ChangeFlags flags;
    QVERIFY(!flags.any());
    flags.markNotes();
    QCOMPARE(state(flags), QStringLiteral("n"));
    flags.markPositions();
    flags.markSettings();
    QCOMPARE(state(flags), QStringLiteral("snp"));
    QVERIFY(flags.any());
    flags.clear();
    QVERIFY(!flags.any());
}

void ChangeFlagsTest::flagsStaySetWhileASaveRuns()
{
    ChangeFlags flags;
    flags.markNotes();
    flags.saveStarted();
    QCOMPARE(state(flags), QStringLiteral("n"));
    flags.saveEnded(true);
    QCOMPARE(state(flags), QString());
}

void ChangeFlagsTest::writtenSaveKeepsOnlyWhatWasMarkedMeanwhile_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("meanwhile");
    QTest::newRow("nothing marked meanwhile") << QStringLiteral("snp") << QString();
    QTest::newRow("the text edited again") << QStringLiteral("np") << QStringLiteral("n");
    QTest::newRow("something new") << QStringLiteral("n") << QStringLiteral("s");
    QTest::newRow("everything again") << QStringLiteral("snp") << QStringLiteral("snp");
}

void ChangeFlagsTest::writtenSaveKeepsOnlyWhatWasMarkedMeanwhile()
{
    QFETCH(QString, before);
    QFETCH(QString, meanwhile);
    ChangeFlags flags;
    mark(flags, before);
    flags.saveStarted();
    mark(flags, meanwhile);
    flags.saveEnded(true);
    QCOMPARE(state(flags), meanwhile);

    // The next save starts afresh.
    flags.saveStarted();
    flags.saveEnded(true);
    QVERIFY(!flags.any());
}

void ChangeFlagsTest::failedSaveKeepsEverything()
{
    ChangeFlags flags;
    flags.markNotes();
    flags.saveStarted();
    flags.markPositions();
    flags.saveEnded(false);
    QCOMPARE(state(flags), QStringLiteral("np"));
}

void ChangeFlagsTest::clearAllButUnsavedKeepsWhatAFailedSaveLeft_data()
{
    QTest::addColumn<bool>("saveFails");
    QTest::addColumn<QString>("markedAfter");
    QTest::addColumn<QString>("kept");
    QTest::newRow("failed save") << true << QStringLiteral("p") << QStringLiteral("s");
    QTest::newRow("written save") << false << QStringLiteral("p") << QString();
}

void ChangeFlagsTest::clearAllButUnsavedKeepsWhatAFailedSaveLeft()
{
    QFETCH(bool, saveFails);
    QFETCH(QString, markedAfter);
    ChangeFlags flags;
    flags.markSettings();
    flags.saveStarted();
    flags.saveEnded(!saveFails);
    mark(flags, markedAfter);

    flags.clearAllButUnsaved();
    QTEST(state(flags), "kept");

    flags.clear();
    flags.clearAllButUnsaved();
    QVERIFY(!flags.any());
}

QTEST_APPLESS_MAIN(ChangeFlagsTest)
#include "tst_changeflags.moc"
