#include "about/helplauncher.h"
#include "about/helpwindow.h"
#include "support/seamanswers.h"

#include <QLineEdit>
#include <QTextBlock>
#include <QTextBrowser>
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
    void helpWindowStandsInForTheDesktop_data();
    void helpWindowStandsInForTheDesktop();
    void helpWindowFindsAndGoesBack();

private:
    void putHelpFile(const QString &folder) const;
    void putManual() const;
    static HelpWindow *shownHelpWindow();
    HelpLauncher launcher() const { return HelpLauncher(m_program->path(), m_doc->path()); }

    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_doc;
    std::unique_ptr<SeamAnswers> m_seams;
};

void HelpLauncherTest::init()
{
    m_program = std::make_unique<QTemporaryDir>();
    m_doc = std::make_unique<QTemporaryDir>();
    m_seams = std::make_unique<SeamAnswers>();
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

void HelpLauncherTest::putManual() const
{
    QVERIFY(QFile::copy(QStringLiteral(QUILLBOX_HELP_HTML),
                        m_program->filePath(QStringLiteral("Quillbox.html"))));
}

HelpWindow *HelpLauncherTest::shownHelpWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *help = qobject_cast<HelpWindow *>(window); help && help->isVisible())
            return help;
    }
    return nullptr;
}

void HelpLauncherTest::helpWindowStandsInForTheDesktop_data()
{
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("heading");
    QTest::newRow("Help menu") << 40 << QStringLiteral("Quillbox Help");
    QTest::newRow("options") << 70 << QStringLiteral("Options");
    QTest::newRow("find") << 80 << QStringLiteral("Finding text");
    QTest::newRow("pages") << 110 << QStringLiteral("Configuring pages");
    QTest::newRow("password") << 120 << QStringLiteral("Password and protected pages");
}

// When the desktop cannot open the manual, the program's own help window shows it, scrolled
// to the context's section.
void HelpLauncherTest::helpWindowStandsInForTheDesktop()
{
#ifdef Q_OS_WIN
    QSKIP("Windows opens Quillbox.chm");
#endif
    QFETCH(int, context);
    QFETCH(QString, heading);
    putManual();
    m_seams->launcherWorks = false;

    QVERIFY(launcher().showHelp(context));
    QVERIFY(m_seams->messages.isEmpty());
    HelpWindow *window = shownHelpWindow();
    QVERIFY(window);
    const auto closeWindow = qScopeGuard([window] { window->close(); });
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QTextBrowser *browser = window->browser();
    QCOMPARE(browser->source().toLocalFile(), m_program->filePath(QStringLiteral("Quillbox.html")));
    QCOMPARE(browser->source().fragment(), HelpLauncher::anchorFor(context));

    QTextBlock block = browser->document()->firstBlock();
    while (block.isValid() &&
           (block.blockFormat().headingLevel() == 0 || block.text().trimmed() != heading))
        block = block.next();
    QVERIFY2(block.isValid(), qPrintable(heading));
    const QTextCursor section(block);
    const QRect shown = browser->viewport()->rect();
    QTRY_VERIFY2(shown.contains(browser->cursorRect(section)),
                 qPrintable(QStringLiteral("heading at %1, view %2 high")
                                .arg(browser->cursorRect(section).top())
                                .arg(shown.height())));
}

void HelpLauncherTest::helpWindowFindsAndGoesBack()
{
    putManual();
    m_seams->launcherWorks = false;
    QVERIFY(launcher().showHelp(HelpLauncher::Find));
    HelpWindow *window = shownHelpWindow();
    QVERIFY(window);
    const auto closeWindow = qScopeGuard([window] { window->close(); });
    QTextBrowser *browser = window->browser();

    auto *find = window->findChild<QLineEdit *>(QStringLiteral("helpFind"));
    find->setText(QStringLiteral("Notes file"));
    QVERIFY(window->findNext());
    QCOMPARE(browser->textCursor().selectedText().toLower(), QStringLiteral("notes file"));
    find->setText(QStringLiteral("no such words anywhere"));
    QVERIFY(!window->findNext());

    emit browser->anchorClicked(QUrl(QStringLiteral("#options")));
    QCOMPARE(browser->source().fragment(), QStringLiteral("options"));
    QVERIFY(browser->isBackwardAvailable());
    browser->backward();
    QCOMPARE(browser->source().fragment(), QStringLiteral("find"));
}

QTEST_MAIN(HelpLauncherTest)
#include "tst_helplauncher.moc"
