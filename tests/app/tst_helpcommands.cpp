#include "about/aboutbox.h"
#include "about/helplauncher.h"
#include "about/weblinks.h"
#include "app/mainwindow.h"
#include "app/statusline.h"
#include "app/windowcommands.h"
#include "support/seamanswers.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Where the help request comes from: the window's F1, or the help of one of its dialogs.
enum class Source
{
    MainWindow,
    OptionsDialog,
    PagesDialog,
    PasswordDialog,
    FindDialog
};

// The user asks for help in the dialog, then cancels it.
int askHelpAndCancel(QDialog &dialog, Source source)
{
    if (source == Source::FindDialog) {
        for (QAction *action : dialog.findChildren<QAction *>()) {
            if (action->shortcut() == QKeySequence(QKeySequence::HelpContents))
                action->trigger();
        }
    } else {
        const char *name = source == Source::OptionsDialog ? "help" : "btnHelp";
        dialog.findChild<QPushButton *>(QLatin1String(name))->click();
    }
    dialog.reject();
    return dialog.result();
}

} // namespace

Q_DECLARE_METATYPE(Source)

class HelpCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void helpWithoutTheManual();
    void helpOpensTheManual_data();
    void helpOpensTheManual();
    void aboutAndLicence_data();
    void aboutAndLicence();
    void statusLineOpensTheWebSite_data();
    void statusLineOpensTheWebSite();

private:
    QTemporaryDir m_programFolder;
    QTemporaryDir m_docFolder;
    std::unique_ptr<WindowFixture> m_fixture;
};

void HelpCommandsTest::init()
{
    QFile::remove(m_programFolder.filePath(QStringLiteral("Quillbox.html")));
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start().setHelpLauncher(
        HelpLauncher(m_programFolder.path(), m_docFolder.path(), &m_fixture->window()));
}

void HelpCommandsTest::cleanup()
{
    m_fixture.reset();
}

void HelpCommandsTest::helpWithoutTheManual()
{
    SeamAnswers answers;
    m_fixture->press(Qt::Key_F1);
    QCOMPARE(answers.texts(), QStringList{"Help Files Are missing\rReinstall Quillbox to correct "
                                          "the problem"});
    QCOMPARE(answers.messages.first().kind, DialogSeam::Kind::Error);
    QVERIFY(answers.opened.isEmpty());
}

void HelpCommandsTest::helpOpensTheManual_data()
{
    QTest::addColumn<Source>("source");
    QTest::addColumn<QString>("section");
    QTest::newRow("Help menu") << Source::MainWindow << QString();
    QTest::newRow("options dialog") << Source::OptionsDialog << QStringLiteral("options");
    QTest::newRow("pages dialog") << Source::PagesDialog << QStringLiteral("pages");
    QTest::newRow("password dialog") << Source::PasswordDialog << QStringLiteral("password");
    QTest::newRow("find dialog") << Source::FindDialog << QStringLiteral("find");
}

void HelpCommandsTest::helpOpensTheManual()
{
    QFETCH(Source, source);
    QFETCH(QString, section);
    const QString manual = m_programFolder.filePath(QStringLiteral("Quillbox.html"));
    QFile file(manual);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    SeamAnswers answers([source](QDialog &dialog) { return askHelpAndCancel(dialog, source); });
    const WindowCommands &commands = m_fixture->window().commands();
    switch (source) {
    case Source::MainWindow:
        m_fixture->press(Qt::Key_F1);
        break;
    case Source::OptionsDialog:
        commands.options->trigger();
        break;
    case Source::PagesDialog:
        commands.configurePages->trigger();
        break;
    case Source::PasswordDialog:
        commands.setPassword->trigger();
        break;
    case Source::FindDialog:
        commands.find->trigger();
        break;
    }
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(answers.opened.size(), 1);
    QCOMPARE(answers.opened.first().toLocalFile(), manual);
    QCOMPARE(answers.opened.first().fragment(), section);
}

void HelpCommandsTest::aboutAndLicence_data()
{
    QTest::addColumn<bool>("licence");
    QTest::addColumn<QString>("caption");
    QTest::newRow("About") << false << QStringLiteral("About Quillbox");
    QTest::newRow("Licence") << true << QStringLiteral("Quillbox Licence");
}

void HelpCommandsTest::aboutAndLicence()
{
    QFETCH(bool, licence);
    QFETCH(QString, caption);
    QString shownCaption;
    QWidget *shownParent = nullptr;
    SeamAnswers answers([&](QDialog &dialog) {
        shownCaption = dialog.windowTitle();
        shownParent = dialog.parentWidget();
        return int(QDialog::Accepted);
    });
    const WindowCommands &commands = m_fixture->window().commands();
    (licence ? commands.licence : commands.about)->trigger();
    QCOMPARE(answers.dialogs, QStringList{"AboutBox"});
    QCOMPARE(shownCaption, caption);
    QCOMPARE(shownParent, &m_fixture->window());
}

void HelpCommandsTest::statusLineOpensTheWebSite_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::newRow("OK") << QMessageBox::Ok;
    QTest::newRow("Cancel") << QMessageBox::Cancel;
}

void HelpCommandsTest::statusLineOpensTheWebSite()
{
    QFETCH(QMessageBox::StandardButton, answer);
    SeamAnswers answers;
    answers.answerWith(answer);
    StatusLine *status = m_fixture->window().statusLine();
    QTest::mouseClick(status, Qt::LeftButton, {}, QPoint(4, status->height() / 2));
    QCOMPARE(answers.texts(), QStringList{WebLinks::webSiteQuestion()});
    QCOMPARE(answers.messages.first().kind, DialogSeam::Kind::Confirm);
    QCOMPARE(answers.opened,
             answer == QMessageBox::Ok ? QList<QUrl>{WebLinks::webSite()} : QList<QUrl>());
}

QTEST_MAIN(HelpCommandsTest)
#include "tst_helpcommands.moc"
