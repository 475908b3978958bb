#include "notespaths.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class NotesPathsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void besideTheProgramWhenAlreadyThere();
    void otherwiseInTheDataFolder();
    void makeNotesFolder_data();
    void makeNotesFolder();
};

void NotesPathsTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("Quillbox"));
}

void NotesPathsTest::besideTheProgramWhenAlreadyThere()
{
    QTemporaryDir program;
    QFile portable(program.filePath(QStringLiteral("Quillbox.ini")));
    QVERIFY(portable.open(QIODevice::WriteOnly));
    portable.close();
    QCOMPARE(defaultNotesPath(program.path()), portable.fileName());
}

void NotesPathsTest::otherwiseInTheDataFolder()
{
    QTemporaryDir program;
    const QString path = defaultNotesPath(program.path());
    QCOMPARE(path, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                       QStringLiteral("/Quillbox.ini"));
    QVERIFY(path.endsWith(QStringLiteral("/Quillbox/Quillbox.ini")));
}

void NotesPathsTest::makeNotesFolder_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("made");
    QTest::newRow("existing folder") << QStringLiteral("Quillbox.ini") << true;
    QTest::newRow("missing folders") << QStringLiteral("a/b/Quillbox.ini") << true;
    QTest::newRow("a file in the way") << QStringLiteral("file/b/Quillbox.ini") << false;
}

void NotesPathsTest::makeNotesFolder()
{
    QFETCH(QString, file);
    QFETCH(bool, made);
    QTemporaryDir dir;
    QFile inTheWay(dir.filePath(QStringLiteral("file")));
    QVERIFY(inTheWay.open(QIODevice::WriteOnly));
    inTheWay.close();
    const QString path = dir.filePath(file);
    QCOMPARE(::makeNotesFolder(path), made);
    QCOMPARE(QFileInfo(QFileInfo(path).path()).isDir(), made);
}

QTEST_GUILESS_MAIN(NotesPathsTest)
#include "tst_notespaths.moc"
