#include "dialogseam.h"
#include "optionsservices.h"

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
    services.setStartupShortcutPresent(true);
    QVERIFY(QFileInfo::exists(entry));
    QVERIFY(services.startupShortcutPresent());
    services.setStartupShortcutPresent(false);
    QVERIFY(!QFileInfo::exists(entry));
    QVERIFY(!services.startupShortcutPresent());
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
