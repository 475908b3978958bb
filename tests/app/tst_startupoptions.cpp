#include "app/appicon.h"
#include "app/startupoptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class StartUpOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void remoteCommand_data();
    void remoteCommand();
    void relativeNotesFile_data();
    void relativeNotesFile();
    void endsAtOnce_data();
    void endsAtOnce();
    void unusableNotesFile_data();
    void unusableNotesFile();
    void linkedNotesFile();
    void iconFromTheResources();
};

void StartUpOptionsTest::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("notesFile");
    QTest::addColumn<bool>("hide");
    const QString program = QStringLiteral("/usr/bin/quillbox");
    QTest::newRow("nothing") << QStringList{program} << QString() << false;
    QTest::newRow("/HIDE") << QStringList{program, QStringLiteral("/HIDE")} << QString() << true;
    QTest::newRow("/hide") << QStringList{program, QStringLiteral("/hide")} << QString() << true;
    QTest::newRow("/hIdE") << QStringList{program, QStringLiteral("/hIdE")} << QString() << true;
    QTest::newRow("/HIDE not first")
        << QStringList{program, QStringLiteral("x"), QStringLiteral("/HIDE")} << QString() << false;
    QTest::newRow("/HIDEX") << QStringList{program, QStringLiteral("/HIDEX")} << QString() << false;
    QTest::newRow("--hide") << QStringList{program, QStringLiteral("--hide")} << QString() << true;
    QTest::newRow("--notes FILE") << QStringList{program, QStringLiteral("--notes"),
                                                 QStringLiteral("/tmp/n.ini")}
                                  << QStringLiteral("/tmp/n.ini") << false;
    QTest::newRow("--notes FILE then /hide")
        << QStringList{program, QStringLiteral("--notes"), QStringLiteral("/tmp/n.ini"),
                       QStringLiteral("/hide")}
        << QStringLiteral("/tmp/n.ini") << true;
    QTest::newRow("/HIDE then --notes=FILE")
        << QStringList{program, QStringLiteral("/HIDE"), QStringLiteral("--notes=/tmp/n.ini")}
        << QStringLiteral("/tmp/n.ini") << true;
    QTest::newRow("a file named like an option")
        << QStringList{program, QStringLiteral("--notes"), QStringLiteral("--hide")}
        << QDir::current().filePath(QStringLiteral("--hide")) << false;
    QTest::newRow("Qt's own options pass") << QStringList{program,
                                                          QStringLiteral("-platform"),
                                                          QStringLiteral("xcb"),
                                                          QStringLiteral("-style=fusion"),
                                                          QStringLiteral("-reverse"),
                                                          QStringLiteral("/hide")}
                                           << QString() << true;
    QTest::newRow("session restore")
        << QStringList{program, QStringLiteral("-session"), QStringLiteral("10abc_123")}
        << QString() << false;
}

void StartUpOptionsTest::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, notesFile);
    QFETCH(bool, hide);
    const StartUpOptions options = StartUpOptions::parse(arguments);
    QVERIFY(!options.endNow);
    QCOMPARE(options.notesFile, notesFile);
    QCOMPARE(options.hide, hide);
}

void StartUpOptionsTest::remoteCommand_data()
{
    using Command = RunningMarker::Command;
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("remote");
    QTest::addColumn<Command>("command");
    QTest::addColumn<bool>("hide");
    const QString program = QStringLiteral("/usr/bin/quillbox");
    QTest::newRow("nothing") << QStringList{program} << false << Command::Toggle << false;
    QTest::newRow("/HIDE alone") << QStringList{program, QStringLiteral("/HIDE")} << false
                                 << Command::Toggle << true;
    QTest::newRow("--toggle") << QStringList{program, QStringLiteral("--toggle")} << true
                              << Command::Toggle << false;
    QTest::newRow("--show") << QStringList{program, QStringLiteral("--show")} << true
                            << Command::Show << false;
    QTest::newRow("--show twice") << QStringList{program, QStringLiteral("--show"),
                                                 QStringLiteral("--show")}
                                  << true << Command::Show << false;
    QTest::newRow("--toggle with a Notes file")
        << QStringList{program, QStringLiteral("--notes"), QStringLiteral("/tmp/n.ini"),
                       QStringLiteral("--toggle")}
        << true << Command::Toggle << false;
    QTest::newRow("/HIDE stays first before --show")
        << QStringList{program, QStringLiteral("--show"), QStringLiteral("/hide")} << true
        << Command::Show << true;
    QTest::newRow("a word toggle is no option")
        << QStringList{program, QStringLiteral("x"), QStringLiteral("toggle")} << false
        << Command::Toggle << false;
}

void StartUpOptionsTest::remoteCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, remote);
    QFETCH(RunningMarker::Command, command);
    QFETCH(bool, hide);
    const StartUpOptions options = StartUpOptions::parse(arguments);
    QVERIFY(!options.endNow);
    QCOMPARE(options.remoteCommand.has_value(), remote);
    if (remote)
        QCOMPARE(*options.remoteCommand, command);
    QCOMPARE(options.hide, hide);
}

void StartUpOptionsTest::relativeNotesFile_data()
{
    QTest::addColumn<QStringList>("notesArguments");
    QTest::addColumn<QString>("inFolder"); // relative to the working folder's parent
    QTest::newRow("bare name") << QStringList{QStringLiteral("--notes"), QStringLiteral("rel.ini")}
                               << QStringLiteral("work/rel.ini");
    QTest::newRow("./") << QStringList{QStringLiteral("--notes"), QStringLiteral("./x.ini")}
                        << QStringLiteral("work/x.ini");
    QTest::newRow("../") << QStringList{QStringLiteral("--notes"), QStringLiteral("../x.ini")}
                         << QStringLiteral("x.ini");
    QTest::newRow("sub folder") << QStringList{QStringLiteral("--notes"),
                                               QStringLiteral("sub/n.ini")}
                                << QStringLiteral("work/sub/n.ini");
    QTest::newRow("--notes=") << QStringList{QStringLiteral("--notes=rel.ini")}
                              << QStringLiteral("work/rel.ini");
    QTest::newRow(".name") << QStringList{QStringLiteral("--notes"), QStringLiteral(".q.ini")}
                           << QStringLiteral("work/.q.ini");
}

// A relative Notes file is the one in the folder the user typed the command in, never one
// beside the program.
void StartUpOptionsTest::relativeNotesFile()
{
    QFETCH(QStringList, notesArguments);
    QFETCH(QString, inFolder);
    QTemporaryDir parent;
    QVERIFY(QDir(parent.path()).mkdir(QStringLiteral("work")));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(parent.filePath(QStringLiteral("work"))));
    const StartUpOptions options =
        StartUpOptions::parse(QStringList{QStringLiteral("/opt/q/quillbox")} + notesArguments);
    QVERIFY(QDir::setCurrent(previous));
    QVERIFY(!options.endNow);
    QCOMPARE(options.notesFile, parent.filePath(inFolder));
}

void StartUpOptionsTest::endsAtOnce_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("toStandardError");
    QTest::addColumn<QStringList>("printed");
    const QString program = QStringLiteral("/opt/q/quillbox");
    const QStringList usage = {QStringLiteral("Usage: quillbox [--notes FILE] [--hide | /HIDE]")};
    QTest::newRow("--help") << QStringList{program, QStringLiteral("--help")} << 0 << false
                            << QStringList{usage.first(),
                                           QStringLiteral("--notes FILE"),
                                           QStringLiteral("--hide, /HIDE"),
                                           QStringLiteral("--version"),
                                           QStringLiteral("--toggle"),
                                           QStringLiteral("--show")};
    QTest::newRow("-h after other options")
        << QStringList{program, QStringLiteral("/hide"), QStringLiteral("-h")} << 0 << false
        << usage;
    QTest::newRow("--version") << QStringList{program, QStringLiteral("--version")} << 0 << false
                               << QStringList{QStringLiteral("Quillbox 1.0.0\n")};
    QTest::newRow("unknown long option")
        << QStringList{program, QStringLiteral("--hidden")} << 2 << true
        << QStringList{QStringLiteral("quillbox: unknown option '--hidden'"), usage.first()};
    QTest::newRow("unknown short option")
        << QStringList{program, QStringLiteral("-x")} << 2 << true
        << QStringList{QStringLiteral("unknown option '-x'"), usage.first()};
    QTest::newRow("--notes without a file")
        << QStringList{program, QStringLiteral("--notes")} << 2 << true
        << QStringList{QStringLiteral("'--notes' needs a file name"), usage.first()};
    QTest::newRow("--notes= without a file")
        << QStringList{program, QStringLiteral("--notes=")} << 2 << true
        << QStringList{QStringLiteral("'--notes' needs a file name")};
    QTest::newRow("--toggle and --show")
        << QStringList{program, QStringLiteral("--toggle"), QStringLiteral("--show")} << 2 << true
        << QStringList{QStringLiteral("'--toggle' and '--show' exclude each other"), usage.first()};
    QTest::newRow("--notes with an empty name")
        << QStringList{program, QStringLiteral("--notes"), QString(), QStringLiteral("/hide")} << 2
        << true << QStringList{QStringLiteral("'--notes' needs a file name"), usage.first()};
}

void StartUpOptionsTest::endsAtOnce()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(bool, toStandardError);
    QFETCH(QStringList, printed);
    const StartUpOptions options = StartUpOptions::parse(arguments);
    QVERIFY(options.endNow);
    QCOMPARE(options.exitCode, exitCode);
    QCOMPARE(options.outputIsError, toStandardError);
    for (const QString &text : printed)
        QVERIFY2(options.output.contains(text), qPrintable(options.output));
    QVERIFY(options.output.endsWith(u'\n'));
    if (toStandardError)
        QCOMPARE(options.output.count(u'\n'), 2);
}

void StartUpOptionsTest::unusableNotesFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // a folder when null
    QTest::addColumn<QString>("reason");
    QTest::newRow("shopping list") << QStringLiteral("todo.txt") << QByteArray("milk\neggs\n")
                                   << QStringLiteral("is not a Notes file");
    QTest::newRow("folder") << QStringLiteral("notes.ini") << QByteArray()
                            << QStringLiteral("is a folder");
    QTest::newRow("own lock file") << QStringLiteral("notesIni.lck") << QByteArray("[Notes]\n")
                                   << QStringLiteral("its own lock file");
    QTest::newRow("temporary file name")
        << QStringLiteral("$$$$$$$$.tmp") << QByteArray("") << QStringLiteral("temporary file");
}

// A file that cannot be the Notes file ends the program with the reason, before anything
// could write it.
void StartUpOptionsTest::unusableNotesFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (content.isNull()) {
        QVERIFY(QDir(dir.path()).mkdir(name));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const StartUpOptions options =
        StartUpOptions::parse({QStringLiteral("/opt/q/quillbox"), QStringLiteral("--notes"), path});
    QVERIFY(options.endNow);
    QCOMPARE(options.exitCode, 1);
    QVERIFY(options.outputIsError);
    QVERIFY2(options.output.startsWith(QStringLiteral("quillbox: The Notes file ") + path),
             qPrintable(options.output));
    QVERIFY2(options.output.contains(reason), qPrintable(options.output));
    QCOMPARE(options.output.count(u'\n'), 1);
    if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
}

void StartUpOptionsTest::linkedNotesFile()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sync")));
    const QString target = dir.filePath(QStringLiteral("sync/real.ini"));
    QVERIFY(QFile::link(QStringLiteral("sync/real.ini"), dir.filePath(QStringLiteral("Q.ini"))));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const StartUpOptions options = StartUpOptions::parse(
        {QStringLiteral("/opt/q/quillbox"), QStringLiteral("--notes"), QStringLiteral("Q.ini")});
    QVERIFY(QDir::setCurrent(previous));
    QVERIFY(!options.endNow);
    QCOMPARE(options.notesFile, target);
}

void StartUpOptionsTest::iconFromTheResources()
{
    for (const char *name :
         {":/icons/quillbox.svg", ":/icons/quillbox-32.png", ":/icons/quillbox-64.png"})
        QVERIFY2(QFile::exists(QLatin1String(name)), name);
    const QIcon icon = appIcon();
    QVERIFY(!icon.isNull());
    for (const int size : {16, 32, 48, 64})
        QCOMPARE(icon.pixmap(size, size).size(), QSize(size, size));
}

QTEST_MAIN(StartUpOptionsTest)
#include "tst_startupoptions.moc"
