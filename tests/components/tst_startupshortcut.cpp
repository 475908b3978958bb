#include "components/desktopentry.h"
#include "components/startupshortcut.h"

#include <QtTest>

// The start-up entry on Linux: an XDG autostart entry in $XDG_CONFIG_HOME/autostart whose
// Exec names the program. Each test gets its own configuration folder and program.
class StartupShortcutTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void folderFollowsXdgConfigHome();
    void folderDefaultsToDotConfig_data();
    void folderDefaultsToDotConfig();
    void noEntryMeansAbsent();
    void creatingWritesAValidEntry();
    void entryUnderAnotherNameCountsAndIsTheOneRemoved();
    void entryNamingTheProgramOtherwiseCounts_data();
    void entryNamingTheProgramOtherwiseCounts();
    void entriesForOtherProgramsDoNotCount();
    void twoEntriesOnlyTheFirstIsRemoved();
    void settingTheHeldValueTouchesNothing();
    void trailingSeparatorIsDropped();
    void titleDefaultsToTheProgramsName();
    void entryThatCannotBeWrittenSaysWhy_data();
    void entryThatCannotBeWrittenSaysWhy();

private:
    QString autostart() const { return m_config->path() + QStringLiteral("/autostart"); }
    void writeEntry(const QString &fileName, const QByteArray &content) const;
    StartupShortcut shortcutForProgram() const;

    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<QTemporaryDir> m_programDir;
    QString m_program;
};

void StartupShortcutTest::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    m_programDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_config->isValid() && m_programDir->isValid());
    qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
    m_program = m_programDir->filePath(QStringLiteral("quillbox"));
    QFile program(m_program);
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.setPermissions(program.permissions() | QFile::ExeOwner);
}

void StartupShortcutTest::cleanup()
{
    qunsetenv("XDG_CONFIG_HOME");
}

void StartupShortcutTest::writeEntry(const QString &fileName, const QByteArray &content) const
{
    QVERIFY(QDir().mkpath(autostart()));
    QFile file(autostart() + u'/' + fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// As the options dialog drives it: program first, then the title.
StartupShortcut StartupShortcutTest::shortcutForProgram() const
{
    StartupShortcut shortcut;
    shortcut.setProgramName(m_program);
    shortcut.setShortcutTitle(QStringLiteral("Quillbox"));
    return shortcut;
}

void StartupShortcutTest::folderFollowsXdgConfigHome()
{
    QCOMPARE(StartupShortcut().folderLocation(), autostart() + u'/');
}

void StartupShortcutTest::folderDefaultsToDotConfig_data()
{
    QTest::addColumn<QByteArray>("configHome");
    QTest::newRow("unset") << QByteArray();
    QTest::newRow("relative, so invalid") << QByteArray("relative/config");
}

void StartupShortcutTest::folderDefaultsToDotConfig()
{
    QFETCH(QByteArray, configHome);
    if (configHome.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", configHome);
    QCOMPARE(StartupShortcut().folderLocation(),
             QDir::homePath() + QStringLiteral("/.config/autostart/"));
}

void StartupShortcutTest::noEntryMeansAbsent()
{
    StartupShortcut shortcut;
    QVERIFY(!shortcut.isShortcutPresent());
    shortcut.setProgramName(m_program);
    QVERIFY(!shortcut.isShortcutPresent());
    QVERIFY(shortcut.shortcutTitle().isEmpty());
}

void StartupShortcutTest::creatingWritesAValidEntry()
{
    StartupShortcut shortcut = shortcutForProgram();
    QVERIFY(shortcut.setShortcutPresent(true));
    QCOMPARE(shortcut.errorString(), QString());

    const QString path = autostart() + QStringLiteral("/Quillbox.desktop");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.startsWith("[Desktop Entry]\n"));
    QCOMPARE(DesktopEntry::startedProgram(content), m_program);
    QVERIFY(shortcutForProgram().isShortcutPresent());

    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validator.isEmpty()) {
        QProcess validate;
        validate.start(validator, {path});
        QVERIFY(validate.waitForFinished());
        QVERIFY2(validate.exitCode() == 0, validate.readAllStandardOutput().constData());
    }
}

void StartupShortcutTest::entryUnderAnotherNameCountsAndIsTheOneRemoved()
{
    writeEntry(QStringLiteral("my notes.desktop"),
               DesktopEntry::application(QStringLiteral("x"), m_program));
    writeEntry(QStringLiteral("other.desktop"), "[Desktop Entry]\nExec=/bin/true\n");

    StartupShortcut shortcut = shortcutForProgram();
    QVERIFY(shortcut.isShortcutPresent());
    QVERIFY(shortcut.setShortcutPresent(false));

    QVERIFY(!QFile::exists(autostart() + QStringLiteral("/my notes.desktop")));
    QVERIFY(QFile::exists(autostart() + QStringLiteral("/other.desktop")));
    QVERIFY(!QFile::exists(autostart() + QStringLiteral("/Quillbox.desktop")));
    QVERIFY(!shortcutForProgram().isShortcutPresent());
}

void StartupShortcutTest::entryNamingTheProgramOtherwiseCounts_data()
{
    QTest::addColumn<QString>("exec");
    QTest::newRow("through a symbolic link") << QStringLiteral("link");
    QTest::newRow("through PATH") << QStringLiteral("path");
    QTest::newRow("with arguments") << QStringLiteral("arguments");
    QTest::newRow("with dots in the path") << QStringLiteral("dots");
}

void StartupShortcutTest::entryNamingTheProgramOtherwiseCounts()
{
    QFETCH(QString, exec);
    const QString link = m_programDir->filePath(QStringLiteral("qb"));
    QVERIFY(QFile::link(m_program, link));
    QByteArray line;
    if (exec == QLatin1String("link"))
        line = link.toUtf8();
    else if (exec == QLatin1String("path"))
        line = "quillbox";
    else if (exec == QLatin1String("arguments"))
        line = m_program.toUtf8() + " /HIDE";
    else
        line = (m_programDir->path() + QStringLiteral("/./../") +
                QFileInfo(m_programDir->path()).fileName() + QStringLiteral("/quillbox"))
                   .toUtf8();
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", m_programDir->path().toLocal8Bit());
    writeEntry(QStringLiteral("start.desktop"), "[Desktop Entry]\nExec=" + line + "\n");

    const bool present = shortcutForProgram().isShortcutPresent();
    qputenv("PATH", savedPath);
    QVERIFY(present);
}

void StartupShortcutTest::entriesForOtherProgramsDoNotCount()
{
    writeEntry(QStringLiteral("a.desktop"), "[Desktop Entry]\nExec=/bin/true\n");
    writeEntry(QStringLiteral("b.desktop"),
               "[Desktop Entry]\nExec=" + m_program.toUtf8() + "\nHidden=true\n");
    writeEntry(QStringLiteral("c.desktop"),
               "[Desktop Entry]\nExec=" + m_program.toUtf8() + "-other\n");
    writeEntry(QStringLiteral("Quillbox.txt"), "[Desktop Entry]\nExec=" + m_program.toUtf8());
    QVERIFY(!shortcutForProgram().isShortcutPresent());
}

void StartupShortcutTest::twoEntriesOnlyTheFirstIsRemoved()
{
    const QByteArray entry = DesktopEntry::application(QStringLiteral("x"), m_program);
    writeEntry(QStringLiteral("a-first.desktop"), entry);
    writeEntry(QStringLiteral("b-second.desktop"), entry);

    StartupShortcut shortcut;
    shortcut.setProgramName(m_program);
    QVERIFY(shortcut.isShortcutPresent());
    QCOMPARE(shortcut.shortcutTitle(), QStringLiteral("a-first"));
    QVERIFY(shortcut.setShortcutPresent(false));

    QVERIFY(!QFile::exists(autostart() + QStringLiteral("/a-first.desktop")));
    QVERIFY(QFile::exists(autostart() + QStringLiteral("/b-second.desktop")));
    StartupShortcut again;
    again.setProgramName(m_program);
    QVERIFY(again.isShortcutPresent());
    QCOMPARE(again.shortcutTitle(), QStringLiteral("b-second"));
}

void StartupShortcutTest::settingTheHeldValueTouchesNothing()
{
    const QString path = autostart() + QStringLiteral("/Quillbox.desktop");
    writeEntry(QStringLiteral("Quillbox.desktop"),
               DesktopEntry::application(QStringLiteral("Quillbox"), m_program));
    QFile entry(path);
    QVERIFY(entry.open(QIODevice::ReadWrite));
    QVERIFY(entry.setFileTime(QDateTime::currentDateTime().addDays(-2),
                              QFileDevice::FileModificationTime));
    entry.close();
    const QDateTime before = QFileInfo(path).lastModified();

    StartupShortcut shortcut = shortcutForProgram();
    QVERIFY(shortcut.isShortcutPresent());
    QVERIFY(shortcut.setShortcutPresent(true));
    QCOMPARE(QFileInfo(path).lastModified(), before);

    // Removed behind its back: setting the held value still does nothing.
    QVERIFY(QFile::remove(path));
    QVERIFY(shortcut.setShortcutPresent(true));
    QVERIFY(!QFile::exists(path));

    StartupShortcut absent = shortcutForProgram();
    QVERIFY(!absent.isShortcutPresent());
    QVERIFY(absent.setShortcutPresent(false));
    QVERIFY(!QFile::exists(path));
}

void StartupShortcutTest::trailingSeparatorIsDropped()
{
    StartupShortcut shortcut;
    shortcut.setProgramName(m_program + u'/');
    QCOMPARE(shortcut.programName(), m_program);
}

void StartupShortcutTest::titleDefaultsToTheProgramsName()
{
    StartupShortcut shortcut;
    shortcut.setProgramName(m_program);
    QVERIFY(shortcut.setShortcutPresent(true));
    QCOMPARE(shortcut.shortcutTitle(), QStringLiteral("quillbox"));
    QVERIFY(QFile::exists(autostart() + QStringLiteral("/quillbox.desktop")));
}

void StartupShortcutTest::entryThatCannotBeWrittenSaysWhy_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("firstLine");
    // The tests may run as root, whom no permission stops: the folder cannot be made when a
    // file stands where a folder of its path should be, and the entry cannot be written when
    // a folder takes its name.
    QTest::newRow("a file in the way of the folder")
        << QStringLiteral("config home") << QStringLiteral("Unable to create directory");
    QTest::newRow("a folder in the way of the entry")
        << QStringLiteral("entry") << QStringLiteral("Unable to write the start-up entry");
}

void StartupShortcutTest::entryThatCannotBeWrittenSaysWhy()
{
    QFETCH(QString, blocked);
    QFETCH(QString, firstLine);
    QString where;
    if (blocked == QLatin1String("config home")) {
        const QString file = m_config->filePath(QStringLiteral("not a folder"));
        QFile inTheWay(file);
        QVERIFY(inTheWay.open(QIODevice::WriteOnly));
        qputenv("XDG_CONFIG_HOME", file.toLocal8Bit());
        where = QDir::toNativeSeparators(file + QStringLiteral("/autostart/"));
    } else {
        where = autostart() + QStringLiteral("/Quillbox.desktop");
        QVERIFY(QDir().mkpath(where));
        where = QDir::toNativeSeparators(where);
    }
    StartupShortcut shortcut = shortcutForProgram();

    QVERIFY(!shortcut.setShortcutPresent(true));
    const QStringList lines = shortcut.errorString().split(u'\r');
    QVERIFY2(lines.size() >= 2, qPrintable(shortcut.errorString()));
    QCOMPARE(lines.at(0), firstLine);
    QCOMPARE(lines.at(1), where);
    QVERIFY(!shortcutForProgram().isShortcutPresent());
}

QTEST_GUILESS_MAIN(StartupShortcutTest)
#include "tst_startupshortcut.moc"
