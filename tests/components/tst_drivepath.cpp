#include "components/drivepath.h"

#include <QtTest>

// A program on a substituted drive is named by the path on the drive's real target.
class DrivePathTest : public QObject
{
    Q_OBJECT

private slots:
    void pathOnDriveTarget_data();
    void pathOnDriveTarget();
    void otherSystemsKeepThePath();
};

void DrivePathTest::pathOnDriveTarget_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("resolved");

    QTest::newRow("substituted drive")
        << QStringLiteral("S:\\Quillbox\\Quillbox.exe") << QStringLiteral("\\??\\C:\\Work\\Tools")
        << QStringLiteral("C:\\Work\\Tools\\Quillbox\\Quillbox.exe");
    QTest::newRow("substituted drive root")
        << QStringLiteral("S:\\Quillbox.exe") << QStringLiteral("\\??\\D:\\")
        << QStringLiteral("D:\\Quillbox.exe");
    QTest::newRow("ordinary drive") << QStringLiteral("C:\\Quillbox\\Quillbox.exe")
                                    << QStringLiteral("\\Device\\HarddiskVolume2")
                                    << QStringLiteral("C:\\Quillbox\\Quillbox.exe");
    QTest::newRow("no target") << QStringLiteral("C:\\Quillbox.exe") << QString()
                               << QStringLiteral("C:\\Quillbox.exe");
    QTest::newRow("colon first in target")
        << QStringLiteral("S:\\q.exe") << QStringLiteral(":\\??\\E:\\x")
        << QStringLiteral("E:\\x\\q.exe");
}

void DrivePathTest::pathOnDriveTarget()
{
    QFETCH(QString, path);
    QFETCH(QString, target);
    QFETCH(QString, resolved);
    QCOMPARE(::pathOnDriveTarget(path, target), resolved);
}

void DrivePathTest::otherSystemsKeepThePath()
{
#ifdef Q_OS_WIN
    QSKIP("drive letters are resolved on Windows");
#else
    QCOMPARE(resolveDrivePath(QStringLiteral("/usr/bin/quillbox")),
             QStringLiteral("/usr/bin/quillbox"));
#endif
}

QTEST_APPLESS_MAIN(DrivePathTest)
#include "tst_drivepath.moc"
