#include "components/dialogseam.h"
#include "options/optionsservices.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestOptionsServices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void startupShortcutFollowsTheCheckBox();
    void unwritableStartupShortcutSaysWhy();
    void browseAnswersThePickedFolder_data();
    void browseAnswersThePickedFolder();

private:
    QTemporaryDir m_config;
};

void TestOptionsServices::initTestCase()
{
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void TestOptionsServices::cleanup()
{
    DialogSeam::setFolderHandler({});
}

void TestOptionsServices::startupShortcutFollowsTheCheckBox()
{
    const OptionsServices services = OptionsServices::standard({}, {}, nullptr);
    const QString entry = m_config.path() + QStringLiteral("/autostart/Quillbox.desktop");

    QVERIFY(!services.startupShortcutPresent());
    QCOMPARE(services.setStartupShortcutPresent(true), QString());
    QVERIFY(QFileInfo::exists(entry));
    QVERIFY(services.startupShortcutPresent());
    QCOMPARE(services.setStartupShortcutPresent(false), QString());
    QVERIFY(!QFileInfo::exists(entry));
    QVERIFY(!services.startupShortcutPresent());
}

void TestOptionsServices::unwritableStartupShortcutSaysWhy()
{
    // A file where the configuration folder should be: the start-up folder cannot be made,
    // whoever runs the test.
    const QString inTheWay = m_config.filePath(QStringLiteral("in the way"));
    QFile file(inTheWay);
    QVERIFY(file.open(QIODevice::WriteOnly));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(inTheWay));
    const OptionsServices services = OptionsServices::standard({}, {}, nullptr);

    const QString problem = services.setStartupShortcutPresent(true);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    QCOMPARE(problem, QStringLiteral("Unable to create directory\r") +
                          QDir::toNativeSeparators(inTheWay + QStringLiteral("/autostart/")));
}

void TestOptionsServices::browseAnswersThePickedFolder_data()
{
    QTest::addColumn<QString>("picked");
    QTest::newRow("picked") << QDir::tempPath();
    QTest::newRow("cancelled") << QString();
}

void TestOptionsServices::browseAnswersThePickedFolder()
{
    QFETCH(QString, picked);
    QString start;
    DialogSeam::setFolderHandler([&](const QString &, const QString &startFolder) {
        start = startFolder;
        return picked;
    });
    const OptionsServices services = OptionsServices::standard({}, {}, nullptr);

    QCOMPARE(services.browseForFolder(QStringLiteral("/old/folder")),
             QDir::toNativeSeparators(picked));
    QCOMPARE(start, QStringLiteral("/old/folder"));
}

QTEST_MAIN(TestOptionsServices)
#include "tst_optionsservices.moc"
