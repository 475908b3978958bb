#include "app/mainwindow.h"
#include "editor/noteeditor.h"
#include "options/clickablepanel.h"
#include "options/customcolors.h"
#include "options/hotkeyedit.h"
#include "support/seamanswers.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

const int CtrlAltN = 1078;
const int CtrlShiftQ = 2081;

// The colour each of the six panels is given, in the dialog's order.
const QList<std::pair<const char *, QColor>> PanelColors = {
    {"textColor", QColor(0x10, 0x20, 0x30)},   {"backgroundColor", QColor(0xf0, 0xe0, 0xd0)},
    {"numberColor", QColor(0x11, 0x22, 0x33)}, {"numberBackground", QColor(0x44, 0x55, 0x66)},
    {"keyColor", QColor(0x77, 0x88, 0x99)},    {"keyBackground", QColor(0xaa, 0xbb, 0xcc)}};
const QColor FirstCustomColor(0x12, 0x34, 0x56);

template <typename T> T *child(QDialog &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

void setChecked(QDialog &dialog, const char *name, bool checked)
{
    child<QCheckBox>(dialog, name)->setChecked(checked);
}

// The user changes every option of the dialog away from the values of a first run and confirms.
class EveryOptionChanged
{
public:
    explicit EveryOptionChanged(const QString &backupFolder) : m_backupFolder(backupFolder) {}

    int operator()(QDialog &dialog)
    {
        if (auto *picker = qobject_cast<QColorDialog *>(&dialog)) {
            picker->setCurrentColor(m_nextColor);
            QColorDialog::setCustomColor(0, FirstCustomColor);
            return QDialog::Accepted;
        }
        child<QComboBox>(dialog, "specialKey")->setCurrentIndex(2);
        child<HotKeyEdit>(dialog, "standardKey")->setVirtualKey('Q');
        setChecked(dialog, "loadOnStartup", true);
        setChecked(dialog, "showTrayIcon", false);
        setChecked(dialog, "minimizeOnStartup", true);
        setChecked(dialog, "backupNotes", true);
        DialogSeam::setFolderHandler(
            [this](const QString &, const QString &) { return m_backupFolder; });
        child<QPushButton>(dialog, "browse")->click();
        DialogSeam::setFolderHandler({});
        setChecked(dialog, "wrapText", true);
        setChecked(dialog, "showLineNumbers", false);
        setChecked(dialog, "hideDisablesPassword", true);
        for (const auto &[panel, color] : PanelColors) {
            m_nextColor = color;
            QTest::mouseClick(child<ClickablePanel>(dialog, panel), Qt::LeftButton);
        }
        child<QPlainTextEdit>(dialog, "keywords")->setPlainText(QStringLiteral("zeta\nAlpha\n"));
        child<QPushButton>(dialog, "ok")->click();
        return dialog.result();
    }

private:
    QString m_backupFolder;
    QColor m_nextColor;
};

void compareWithTheChanges(const NotesSettings &settings, const QString &backupFolder)
{
    QCOMPARE(settings.hotKeyCode, CtrlShiftQ);
    QCOMPARE(settings.showTrayIcon, false);
    QCOMPARE(settings.startHidden, true);
    QCOMPARE(settings.backupNotes, true);
    QCOMPARE(settings.backupFolder, backupFolder);
    QCOMPARE(settings.wrapText, true);
    QCOMPARE(settings.gutterVisible, false);
    QCOMPARE(settings.hideDisablesPassword, true);
    QCOMPARE(settings.textColor, PanelColors.at(0).second);
    QCOMPARE(settings.backgroundColor, PanelColors.at(1).second);
    QCOMPARE(settings.numberColor, PanelColors.at(2).second);
    QCOMPARE(settings.numberBackground, PanelColors.at(3).second);
    QCOMPARE(settings.keyColor, PanelColors.at(4).second);
    QCOMPARE(settings.keyBackground, PanelColors.at(5).second);
    QCOMPARE(settings.keywords, (QStringList{"Alpha", "zeta"}));
    QCOMPARE(CustomColors::decode(settings.customColors)[0], FirstCustomColor);
}

// The colour the first line of a document is drawn in at a position; invalid for the editor's
// own.
QColor colourAt(const QTextDocument &document, int position)
{
    for (const QTextLayout::FormatRange &range : document.firstBlock().layout()->formats()) {
        if (position >= range.start && position < range.start + range.length)
            return range.format.foreground().color();
    }
    return {};
}

} // namespace

class OptionsCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyOptionSurvivesARestart();
    void cancelKeepsEverything();
    void takenHotKeyKeepsTheDialogOpen();
    void newColoursAndKeywordsRecolourThePages();

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

void OptionsCommandTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    NotesSettings settings;
    settings.hotKeyCode = CtrlAltN;
    m_fixture->writeNotes({{QStringLiteral("Page"), {QStringLiteral("text")}}}, settings);
}

void OptionsCommandTest::cleanup()
{
    m_fixture.reset();
}

void OptionsCommandTest::everyOptionSurvivesARestart()
{
    const QString backupFolder = m_fixture->filePath(QStringLiteral("backups"));
    const QString notesPath = m_fixture->filePath(QStringLiteral("notes/elsewhere.ini"));
    MainWindow &window = m_fixture->start(notesPath);
    QCOMPARE(window.settings().hotKeyCode, CtrlAltN);
    SeamAnswers answers(EveryOptionChanged{backupFolder});

    m_fixture->press(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(answers.dialogs.first(), QStringLiteral("OptionsDialog"));
    QCOMPARE(answers.dialogs.count(QStringLiteral("QColorDialog")), 6);
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.texts().join(u'|')));
    QCOMPARE(m_fixture->grabbedHotKeys().last(), CtrlShiftQ);
    QVERIFY(window.hotKey().isRegistered());
    QVERIFY(!window.settingsChanged());
    QVERIFY(QFile::exists(m_fixture->configHome() + QStringLiteral("/autostart/Quillbox.desktop")));
    // In force at once.
    QVERIFY(m_fixture->editor().wordWrap());
    QVERIFY(!m_fixture->editor().isGutterVisible());
    QVERIFY(!window.tray().isWanted());
    QVERIFY(window.windowTitle().contains(QStringLiteral("Ctrl+Shift+Q = Activate")));
    // Written by OK.
    compareWithTheChanges(WindowFixture::settingsIn(notesPath), backupFolder);

    window.exitProgram();
    m_fixture->discard();
    MainWindow &again = m_fixture->start(notesPath);
    compareWithTheChanges(again.settings(), backupFolder);
    QCOMPARE(m_fixture->grabbedHotKeys().last(), CtrlShiftQ);
    QVERIFY(!again.isVisible()); // Minimize on Startup
    QVERIFY(m_fixture->editor().wordWrap());
    QVERIFY(!m_fixture->editor().isGutterVisible());
    QVERIFY(!again.tray().isWanted());
    QVERIFY(again.windowTitle().contains(QStringLiteral("Ctrl+Shift+Q = Activate")));
}

void OptionsCommandTest::cancelKeepsEverything()
{
    MainWindow &window = m_fixture->start();
    const QByteArray before = m_fixture->fileBytes();
    SeamAnswers answers([](QDialog &dialog) {
        setChecked(dialog, "wrapText", true);
        child<QComboBox>(dialog, "specialKey")->setCurrentIndex(2);
        dialog.reject();
        return dialog.result();
    });

    window.commands().options->trigger();
    QCOMPARE(answers.dialogs, QStringList{"OptionsDialog"});
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(window.settings().hotKeyCode, CtrlAltN);
    QVERIFY(window.hotKey().isRegistered());
    QVERIFY(!m_fixture->editor().wordWrap());
    QVERIFY(!window.settingsChanged());
    QCOMPARE(m_fixture->fileBytes(), before);
}

void OptionsCommandTest::takenHotKeyKeepsTheDialogOpen()
{
    MainWindow &window = m_fixture->start();
    bool stayedOpen = false;
    SeamAnswers answers([&](QDialog &dialog) {
        child<QComboBox>(dialog, "specialKey")->setCurrentIndex(2);
        m_fixture->setHotKeyGrabWorks(false);
        child<QPushButton>(dialog, "ok")->click();
        stayedOpen = dialog.result() != QDialog::Accepted;
        m_fixture->setHotKeyGrabWorks(true);
        dialog.reject();
        return dialog.result();
    });

    window.commands().options->trigger();
    QVERIFY(stayedOpen);
    QCOMPARE(answers.texts(),
             QStringList{"Hot Key combination is already in use please try another"});
    // Cancel put the old key back and the command registered it again.
    QCOMPARE(window.settings().hotKeyCode, CtrlAltN);
    QCOMPARE(m_fixture->grabbedHotKeys().last(), CtrlAltN);
    QVERIFY(window.hotKey().isRegistered());
}

void OptionsCommandTest::newColoursAndKeywordsRecolourThePages()
{
    const QColor keyColor(0x77, 0x88, 0x99);
    m_fixture->writeNotes({{QStringLiteral("A"), {QStringLiteral("zeta 12 pw")}},
                           {QStringLiteral("B"), {QStringLiteral("pw zeta")}}});
    MainWindow &window = m_fixture->start();
    NoteEditor &editor = m_fixture->editor();
    // Both pages were shown, and coloured, with the settings of the start.
    m_fixture->clickTab(1);
    const QTextDocument &pageB = *editor.document();
    QCOMPARE(colourAt(pageB, 0), QColor(Qt::cyan));
    m_fixture->clickTab(0);
    const QTextDocument &pageA = *editor.document();
    QCOMPARE(colourAt(pageA, 8), QColor(Qt::cyan));
    SeamAnswers answers([&keyColor](QDialog &dialog) {
        if (auto *picker = qobject_cast<QColorDialog *>(&dialog)) {
            picker->setCurrentColor(keyColor);
            return int(QDialog::Accepted);
        }
        QTest::mouseClick(child<ClickablePanel>(dialog, "keyColor"), Qt::LeftButton);
        child<QPlainTextEdit>(dialog, "keywords")->setPlainText(QStringLiteral("Zeta"));
        child<QPushButton>(dialog, "ok")->click();
        return dialog.result();
    });

    m_fixture->press(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(window.settings().keywords, QStringList{"Zeta"});
    // The shown page at once.
    QCOMPARE(colourAt(pageA, 0), keyColor);
    QCOMPARE(colourAt(pageA, 5), QColor(Qt::yellow));
    QCOMPARE(colourAt(pageA, 8), QColor());
    // The other page when it is shown.
    m_fixture->clickTab(1);
    QCOMPARE(colourAt(pageB, 0), QColor());
    QCOMPARE(colourAt(pageB, 3), keyColor);
    QVERIFY(!window.notesChanged());
    QVERIFY(!pageA.isUndoAvailable());
    QVERIFY(!pageB.isUndoAvailable());
}

QTEST_MAIN(OptionsCommandTest)
#include "tst_optionscommand.moc"
