#include "appicon.h"
#include "startupoptions.h"

#include <QFile>
#include <QTest>

class StartUpOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void endsAtOnce_data();
    void endsAtOnce();
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
        << QStringLiteral("--hide") << false;
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

void StartUpOptionsTest::endsAtOnce_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("toStandardError");
    QTest::addColumn<QStringList>("printed");
    const QString program = QStringLiteral("/opt/q/quillbox");
    const QStringList usage = {QStringLiteral("Usage: quillbox [--notes FILE] [--hide | /HIDE]")};
    QTest::newRow("--help") << QStringList{program, QStringLiteral("--help")} << 0 << false
                            << QStringList{usage.first(), QStringLiteral("--notes FILE"),
                                           QStringLiteral("--hide, /HIDE"),
                                           QStringLiteral("--version")};
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
