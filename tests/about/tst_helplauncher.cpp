#include "helplauncher.h"
#include "seamrecorder.h"

#include <QtTest>

// Where the help file is looked for, in which order, what is opened, and what the user is told
// when there is none.
class HelpLauncherTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstPlaceThatHoldsTheFileWins_data();
    void firstPlaceThatHoldsTheFileWins();
    void missingFileIsReported();
    void fileIsLookedForAtEveryRequest();
    void contextOpensItsSection_data();
    void contextOpensItsSection();
    void manualHoldsEverySection();

private:
    void putHelpFile(const QString &folder) const;
    HelpLauncher launcher() const { return HelpLauncher(m_program->path(), m_doc->path()); }

    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_doc;
    std::unique_ptr<SeamRecorder> m_seams;
};

void HelpLauncherTest::init()
{
    m_program = std::make_unique<QTemporaryDir>();
    m_doc = std::make_unique<QTemporaryDir>();
    m_seams = std::make_unique<SeamRecorder>();
}

void HelpLauncherTest::cleanup()
{
    m_seams.reset();
}

void HelpLauncherTest::putHelpFile(const QString &folder) const
{
    QVERIFY(QDir().mkpath(folder));
    QFile file(folder + QStringLiteral("/Quillbox.html"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html></html>");
}

void HelpLauncherTest::firstPlaceThatHoldsTheFileWins_data()
{
    QTest::addColumn<bool>("besideProgram");
    QTest::addColumn<bool>("inFallbackFolder");
    QTest::addColumn<bool>("inDocFolder");
    QTest::addColumn<QString>("opened"); // program, fallback or doc

    QTest::newRow("everywhere") << true << true << true << QStringLiteral("program");
    QTest::newRow("beside and in _tmphhp") << true << true << false << QStringLiteral("program");
    QTest::newRow("only in _tmphhp") << false << true << false << QStringLiteral("fallback");
    QTest::newRow("_tmphhp before doc") << false << true << true << QStringLiteral("fallback");
    QTest::newRow("only installed") << false << false << true << QStringLiteral("doc");
}

void HelpLauncherTest::firstPlaceThatHoldsTheFileWins()
{
#ifdef Q_OS_WIN
    QSKIP("Windows opens Quillbox.chm");
#endif
    QFETCH(bool, besideProgram);
    QFETCH(bool, inFallbackFolder);
    QFETCH(bool, inDocFolder);
    QFETCH(QString, opened);

    const QString fallback = m_program->filePath(QStringLiteral("_tmphhp"));
    if (besideProgram)
        putHelpFile(m_program->path());
    if (inFallbackFolder)
        putHelpFile(fallback);
    if (inDocFolder)
        putHelpFile(m_doc->path());
    const QString folder = opened == QLatin1String("program")    ? m_program->path()
                           : opened == QLatin1String("fallback") ? fallback
                                                                 : m_doc->path();

    QVERIFY(launcher().showHelp());
    QCOMPARE(m_seams->opened,
             QList<QUrl>{QUrl::fromLocalFile(folder + QStringLiteral("/Quillbox.html"))});
    QVERIFY(m_seams->messages.isEmpty());
}

void HelpLauncherTest::missingFileIsReported()
{
    QVERIFY(!launcher().showHelp(HelpLauncher::Options));
    QVERIFY(m_seams->opened.isEmpty());
    QCOMPARE(m_seams->messages.size(), 1);
    const DialogSeam::Message &message = m_seams->messages.first();
    QCOMPARE(message.text,
             QStringLiteral("Help Files Are missing\rReinstall Quillbox to correct the problem"));
    QCOMPARE(message.kind, DialogSeam::Kind::Error);
    QCOMPARE(message.caption, QStringLiteral("Error"));
    QCOMPARE(message.icon, QMessageBox::Critical);
    QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void HelpLauncherTest::fileIsLookedForAtEveryRequest()
{
    const HelpLauncher help = launcher();
    QVERIFY(!help.showHelp());
    putHelpFile(m_program->filePath(QStringLiteral("_tmphhp")));
    QVERIFY(help.showHelp());
    QCOMPARE(m_seams->opened.size(), 1);
}

void HelpLauncherTest::contextOpensItsSection_data()
{
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("anchor");

    QTest::newRow("Help menu") << 40 << QString();
    QTest::newRow("no context") << 0 << QString();
    QTest::newRow("options") << 70 << QStringLiteral("options");
    QTest::newRow("find") << 80 << QStringLiteral("find");
    QTest::newRow("pages") << 110 << QStringLiteral("pages");
    QTest::newRow("password") << 120 << QStringLiteral("password");
    QTest::newRow("unknown") << 999 << QString();
}

void HelpLauncherTest::contextOpensItsSection()
{
    QFETCH(int, context);
    QFETCH(QString, anchor);
    putHelpFile(m_program->path());

    QCOMPARE(HelpLauncher::anchorFor(context), anchor);
    QVERIFY(launcher().showHelp(context));
    QCOMPARE(m_seams->opened.size(), 1);
    QCOMPARE(m_seams->opened.first().fragment(), anchor);
    QVERIFY(m_seams->opened.first().isLocalFile());
}

void HelpLauncherTest::manualHoldsEverySection()
{
    QFile manual(QStringLiteral(QUILLBOX_HELP_HTML));
    QVERIFY(manual.open(QIODevice::ReadOnly));
    const QByteArray html = manual.readAll();
    for (int context :
         {HelpLauncher::Options, HelpLauncher::Find, HelpLauncher::Pages, HelpLauncher::Password}) {
        const QByteArray id = "id=\"" + HelpLauncher::anchorFor(context).toUtf8() + '"';
        QVERIFY2(html.contains(id), id.constData());
    }
}

QTEST_MAIN(HelpLauncherTest)
#include "tst_helplauncher.moc"
