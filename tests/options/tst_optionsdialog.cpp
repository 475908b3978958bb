#include "components/dialogseam.h"
#include "notes/notessettings.h"
#include "options/clickablepanel.h"
#include "options/customcolors.h"
#include "options/hotkeyedit.h"
#include "options/optionscommand.h"
#include "options/optionsdialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

// The main window and the components as the dialog sees them, recording what it asks.
struct Fakes
{
    NotesSettings settings;
    bool hotKeyRegistered = false;
    bool registrationWorks = true;
    bool shortcutPresent = false;
    QString shortcutProblem; // why the start-up entry cannot be written; empty when it can
    QStringList calls;
    QList<int> registeredCodes;
    QString browseStart;
    QString browseAnswer;
    int helpContext = 0;

    OptionsServices services()
    {
        OptionsServices s;
        s.registerHotKey = [this] {
            calls << QStringLiteral("register");
            registeredCodes << settings.hotKeyCode;
            hotKeyRegistered = registrationWorks;
            return registrationWorks;
        };
        s.startupShortcutPresent = [this] { return shortcutPresent; };
        s.setStartupShortcutPresent = [this](bool present) {
            calls << QStringLiteral("shortcut %1").arg(present);
            if (shortcutProblem.isEmpty())
                shortcutPresent = present;
            return shortcutProblem;
        };
        s.browseForFolder = [this](const QString &start) {
            browseStart = start;
            return browseAnswer;
        };
        s.showHelp = [this](int context) { helpContext = context; };
        return s;
    }
};

template <typename T> T *child(QWidget &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

void click(QWidget &dialog, const char *name)
{
    QTest::mouseClick(child<QWidget>(dialog, name), Qt::LeftButton);
}

struct PanelColors
{
    QColor fill;
    QColor caption;
};

PanelColors panel(QWidget &dialog, const char *name)
{
    const auto *p = child<ClickablePanel>(dialog, name);
    return {p->fillColor(), p->captionColor()};
}

} // namespace

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void controls();
    void hotKeyRouteLine_data();
    void hotKeyRouteLine();
    void noRouteNoLine();
    void proposal_data();
    void proposal();
    void okStoresAfterTheShortcutAndTheRegistration();
    void clipboardClearing_data();
    void clipboardClearing();
    void failedRegistrationKeepsTheDialogOpen();
    void encryptionChangesOnlyThroughItsService_data();
    void encryptionChangesOnlyThroughItsService();
    void unwritableShortcutKeepsTheDialogOpen_data();
    void unwritableShortcutKeepsTheDialogOpen();
    void colorPanelsShowTheirPartners();
    void defaultColorsThenCancel();
    void defaultColorsThenOk();
    void colorPicker_data();
    void colorPicker();
    void keywordsLoseCaseDuplicates();
    void browseFollowsBackupNotes();
    void browse_data();
    void browse();
    void helpButton();
    void command_data();
    void command();
};

void TestOptionsDialog::cleanup()
{
    DialogSeam::setDialogHandler({});
    DialogSeam::setMessageHandler({});
}

void TestOptionsDialog::controls()
{
    Fakes fakes;
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Quillbox Options"));
    auto *special = child<QComboBox>(dialog, "specialKey");
    QVERIFY(!special->isEditable());
    QCOMPARE(special->count(), 3);
    QCOMPARE(special->itemText(0), QStringLiteral("Win"));
    QCOMPARE(special->itemText(1), QStringLiteral("Ctrl - Alt"));
    QCOMPARE(special->itemText(2), QStringLiteral("Ctrl - Shift"));
    QCOMPARE(child<QCheckBox>(dialog, "hideDisablesPassword")->text(),
             QStringLiteral("&Hide disables Password   (Esc, Hot key or Hide Button)"));
    QStringList labels;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        labels << label->text();
    QCOMPARE(child<QCheckBox>(dialog, "clipClearAll")->text(),
             QStringLiteral("also for words from &unprotected pages"));
    QCOMPARE(child<QSpinBox>(dialog, "clipClearSecs")->minimum(), 0);
    for (const char *caption :
         {"&Special Key", "Standard &Key", "Backup Folder", "NotePad Color", "Number Color",
          "Keyword Color", "Keywords", "&Clear copied words after", "seconds"})
        QVERIFY2(labels.contains(QLatin1String(caption)), caption);
    QCOMPARE(child<ClickablePanel>(dialog, "keyBackground")->caption(), QStringLiteral("..."));
    QCOMPARE(child<ClickablePanel>(dialog, "defaultColors")->caption(),
             QStringLiteral("Default Colors"));
    QVERIFY(child<QPushButton>(dialog, "ok")->isDefault());
}

void TestOptionsDialog::hotKeyRouteLine_data()
{
    QTest::addColumn<QString>("route");
    QTest::newRow("X server") << QStringLiteral("Registered with the X server");
    QTest::newRow("portal") << QStringLiteral("Registered through the desktop portal");
    QTest::newRow("none") << QStringLiteral(
        "Not registered: bind `quillbox --toggle` in your desktop's keyboard settings");
}

// One line right under the hot key tells how it works.
void TestOptionsDialog::hotKeyRouteLine()
{
    QFETCH(QString, route);
    Fakes fakes;
    OptionsServices services = fakes.services();
    services.hotKeyRoute = [route] { return route; };
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, services);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const auto *line = child<QLabel>(dialog, "hotKeyRoute");
    QCOMPARE(line->text(), route);
    QVERIFY(line->isVisible());
    QGroupBox *hotKeyBox = nullptr;
    for (QGroupBox *box : dialog.findChildren<QGroupBox *>()) {
        if (box->title() == QLatin1String("Activation Hot Key"))
            hotKeyBox = box;
    }
    QVERIFY(hotKeyBox);
    QVERIFY(line->geometry().top() >= hotKeyBox->geometry().bottom());
    QVERIFY(line->geometry().top() - hotKeyBox->geometry().bottom() < 3 * line->height());
    QVERIFY(line->geometry().bottom() <
            child<QCheckBox>(dialog, "loadOnStartup")->geometry().top());
}

void TestOptionsDialog::noRouteNoLine()
{
    Fakes fakes;
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!child<QLabel>(dialog, "hotKeyRoute")->isVisible());
}

void TestOptionsDialog::proposal_data()
{
    QTest::addColumn<int>("hotKeyCode");
    QTest::addColumn<bool>("shortcutPresent");
    QTest::addColumn<int>("specialKey");
    QTest::addColumn<int>("standardKey");
    QTest::addColumn<bool>("loadOnStartup");

    QTest::newRow("first use proposes Win A and start-up loading")
        << -1 << false << 0 << int('A') << true;
    QTest::newRow("stored hot key") << 2078 << false << 2 << int('N') << false;
    QTest::newRow("shortcut present") << 1065 << true << 1 << int('A') << true;
    QTest::newRow("modifier index the box does not offer")
        << 7070 << false << 0 << int('F') << false;
}

void TestOptionsDialog::proposal()
{
    QFETCH(int, hotKeyCode);
    Fakes fakes;
    fakes.settings.hotKeyCode = hotKeyCode;
    QFETCH(bool, shortcutPresent);
    fakes.shortcutPresent = shortcutPresent;
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());

    QTEST(child<QComboBox>(dialog, "specialKey")->currentIndex(), "specialKey");
    QTEST(child<HotKeyEdit>(dialog, "standardKey")->virtualKey(), "standardKey");
    QTEST(child<QCheckBox>(dialog, "loadOnStartup")->isChecked(), "loadOnStartup");
}

void TestOptionsDialog::okStoresAfterTheShortcutAndTheRegistration()
{
    Fakes fakes;
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());
    dialog.show();
    child<QComboBox>(dialog, "specialKey")->setCurrentIndex(2);
    QTest::keyClick(child<HotKeyEdit>(dialog, "standardKey"), Qt::Key_Q, Qt::ControlModifier);
    for (const char *name : {"showTrayIcon", "minimizeOnStartup", "backupNotes", "wrapText",
                             "showLineNumbers", "hideDisablesPassword"})
        child<QCheckBox>(dialog, name)->toggle();
    child<QLineEdit>(dialog, "backupFolder")->setText(QStringLiteral("/backups"));

    click(dialog, "ok");

    QVERIFY(dialog.okPressed());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(fakes.calls, (QStringList{"shortcut 1", "register"}));
    QCOMPARE(fakes.registeredCodes, QList<int>{2081});
    QCOMPARE(fakes.settings.hotKeyCode, 2081);
    QVERIFY(fakes.hotKeyRegistered);
    QVERIFY(!fakes.settings.showTrayIcon);
    QVERIFY(fakes.settings.startHidden);
    QVERIFY(fakes.settings.backupNotes);
    QVERIFY(fakes.settings.wrapText);
    QVERIFY(!fakes.settings.gutterVisible);
    QVERIFY(fakes.settings.hideDisablesPassword);
    QCOMPARE(fakes.settings.backupFolder, QStringLiteral("/backups"));
}

void TestOptionsDialog::clipboardClearing_data()
{
    QTest::addColumn<int>("storedSecs");
    QTest::addColumn<bool>("storedAll");
    QTest::addColumn<int>("chosenSecs");
    QTest::addColumn<bool>("chosenAll");
    QTest::addColumn<QString>("button");

    QTest::newRow("defaults kept by OK") << 30 << false << 30 << false << "ok";
    QTest::newRow("a shorter delay and every page") << 30 << false << 2 << true << "ok";
    QTest::newRow("0 for never") << 45 << true << 0 << false << "ok";
    QTest::newRow("Cancel keeps the settings") << 30 << false << 0 << true << "cancel";
}

void TestOptionsDialog::clipboardClearing()
{
    QFETCH(int, storedSecs);
    QFETCH(bool, storedAll);
    QFETCH(int, chosenSecs);
    QFETCH(bool, chosenAll);
    QFETCH(QString, button);
    Fakes fakes;
    fakes.settings.hotKeyCode = 1078;
    fakes.settings.clipClearSecs = storedSecs;
    fakes.settings.clipClearAll = storedAll;
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());
    dialog.show();
    auto *secs = child<QSpinBox>(dialog, "clipClearSecs");
    auto *all = child<QCheckBox>(dialog, "clipClearAll");
    QCOMPARE(secs->value(), storedSecs);
    QCOMPARE(all->isChecked(), storedAll);

    secs->selectAll();
    QTest::keyClicks(secs, QString::number(chosenSecs));
    if (all->isChecked() != chosenAll)
        QTest::mouseClick(all, Qt::LeftButton, {}, QPoint(4, all->height() / 2));
    QCOMPARE(secs->value(), chosenSecs);
    QCOMPARE(all->isChecked(), chosenAll);
    click(dialog, qPrintable(button));

    const bool ok = button == QStringLiteral("ok");
    QCOMPARE(dialog.okPressed(), ok);
    QCOMPARE(fakes.settings.clipClearSecs, ok ? chosenSecs : storedSecs);
    QCOMPARE(fakes.settings.clipClearAll, ok ? chosenAll : storedAll);
}

void TestOptionsDialog::encryptionChangesOnlyThroughItsService_data()
{
    QTest::addColumn<bool>("encrypted");
    QTest::addColumn<bool>("toggled");
    QTest::addColumn<bool>("serviceAgrees");
    QTest::newRow("turned on") << false << true << true;
    QTest::newRow("turned off") << true << true << true;
    QTest::newRow("turning on cancelled") << false << true << false;
    QTest::newRow("turning off cancelled") << true << true << false;
    QTest::newRow("left on") << true << false << true;
    QTest::newRow("left off") << false << false << true;
}

// OK with the box changed asks the service (which asks for the password) after the hot key is
// registered and before anything else is stored; a cancelled step keeps the dialog open with
// nothing stored. The service is not asked when the box is as the settings say.
void TestOptionsDialog::encryptionChangesOnlyThroughItsService()
{
    QFETCH(bool, encrypted);
    QFETCH(bool, toggled);
    QFETCH(bool, serviceAgrees);
    Fakes fakes;
    fakes.settings.encryptProtected = encrypted;
    OptionsServices services = fakes.services();
    services.setEncryption = [&](bool on) {
        fakes.calls << QStringLiteral("encryption %1").arg(on);
        if (serviceAgrees)
            fakes.settings.encryptProtected = on;
        return serviceAgrees;
    };
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, services);
    dialog.show();
    auto *box = child<QCheckBox>(dialog, "encryptProtected");
    QCOMPARE(box->text(), QStringLiteral("&Encrypt protected pages with the password"));
    QCOMPARE(box->isChecked(), encrypted);
    if (toggled)
        box->toggle();
    child<QCheckBox>(dialog, "wrapText")->toggle();

    click(dialog, "ok");
    QStringList expected{QStringLiteral("shortcut 1"), QStringLiteral("register")};
    if (toggled)
        expected << QStringLiteral("encryption %1").arg(!encrypted);
    QCOMPARE(fakes.calls, expected);
    const bool closed = !toggled || serviceAgrees;
    QCOMPARE(dialog.okPressed(), closed);
    QCOMPARE(dialog.isVisible(), !closed);
    QCOMPARE(fakes.settings.wrapText, closed);
    QCOMPARE(fakes.settings.encryptProtected, closed && toggled ? !encrypted : encrypted);
}

void TestOptionsDialog::failedRegistrationKeepsTheDialogOpen()
{
    Fakes fakes;
    fakes.settings.hotKeyCode = 1078;
    fakes.hotKeyRegistered = true;
    fakes.registrationWorks = false;
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());
    dialog.show();
    QTest::keyClick(child<HotKeyEdit>(dialog, "standardKey"), Qt::Key_B);
    child<QCheckBox>(dialog, "wrapText")->setChecked(true);
    child<QCheckBox>(dialog, "loadOnStartup")->setChecked(true);

    click(dialog, "ok");

    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.okPressed());
    QCOMPARE(fakes.settings.hotKeyCode, 1066);
    QVERIFY(!fakes.hotKeyRegistered);
    QVERIFY(fakes.shortcutPresent);
    QVERIFY(!fakes.settings.wrapText);

    click(dialog, "cancel");

    QVERIFY(!dialog.isVisible());
    QCOMPARE(fakes.settings.hotKeyCode, 1078);
    QVERIFY(fakes.hotKeyRegistered);
    QVERIFY(fakes.shortcutPresent);
    QVERIFY(!fakes.settings.wrapText);
}

void TestOptionsDialog::unwritableShortcutKeepsTheDialogOpen_data()
{
    QTest::addColumn<QString>("problem");
    QTest::newRow("no start-up folder") << QStringLiteral("Unable to create directory");
    QTest::newRow("folder cannot be made")
        << QStringLiteral("Unable to create directory\r/home/user/.config/autostart/");
    QTest::newRow("entry cannot be written")
        << QStringLiteral("Unable to write the start-up entry\r/autostart/Quillbox.desktop\r"
                          "No space left on device");
}

void TestOptionsDialog::unwritableShortcutKeepsTheDialogOpen()
{
    QFETCH(QString, problem);
    Fakes fakes;
    fakes.settings.hotKeyCode = 1078;
    fakes.hotKeyRegistered = true;
    fakes.shortcutProblem = problem;
    QList<DialogSeam::Message> messages;
    DialogSeam::setMessageHandler([&](const DialogSeam::Message &message) {
        messages << message;
        return QMessageBox::Ok;
    });
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());
    dialog.show();
    QTest::keyClick(child<HotKeyEdit>(dialog, "standardKey"), Qt::Key_B);
    child<QCheckBox>(dialog, "wrapText")->setChecked(true);
    child<QCheckBox>(dialog, "loadOnStartup")->setChecked(true);

    click(dialog, "ok");

    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().kind, DialogSeam::Kind::Error);
    QCOMPARE(messages.first().caption, QStringLiteral("Error"));
    QCOMPARE(messages.first().text, problem);
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.okPressed());
    QCOMPARE(fakes.calls, QStringList{"shortcut 1"});
    QCOMPARE(fakes.settings.hotKeyCode, 1066);
    QVERIFY(!fakes.shortcutPresent);
    QVERIFY(!fakes.settings.wrapText);

    // Unchecked, OK goes through.
    fakes.shortcutProblem.clear();
    child<QCheckBox>(dialog, "loadOnStartup")->setChecked(false);
    click(dialog, "ok");

    QVERIFY(dialog.okPressed());
    QCOMPARE(messages.size(), 1);
    QCOMPARE(fakes.registeredCodes, QList<int>{1066});
    QVERIFY(fakes.settings.wrapText);
}

void TestOptionsDialog::colorPanelsShowTheirPartners()
{
    Fakes fakes;
    fakes.settings.textColor = QColor(Qt::green);
    fakes.settings.backgroundColor = QColor(Qt::darkBlue);
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());

    QCOMPARE(panel(dialog, "textColor").fill, QColor(Qt::green));
    QCOMPARE(panel(dialog, "textColor").caption, QColor(Qt::darkBlue));
    QCOMPARE(panel(dialog, "backgroundColor").fill, QColor(Qt::darkBlue));
    QCOMPARE(panel(dialog, "backgroundColor").caption, QColor(Qt::green));
    QCOMPARE(panel(dialog, "numberColor").fill, QColor(Qt::yellow));
    // "None" is drawn as the editor's own background.
    QCOMPARE(panel(dialog, "numberColor").caption, QColor(Qt::darkBlue));
    QCOMPARE(panel(dialog, "keyBackground").fill, QColor(Qt::darkBlue));
    QCOMPARE(panel(dialog, "keyBackground").caption, QColor(Qt::cyan));
}

void TestOptionsDialog::defaultColorsThenCancel()
{
    Fakes fakes;
    fakes.settings.textColor = QColor(Qt::red);
    fakes.settings.numberColor = QColor(Qt::blue);
    const NotesSettings before = fakes.settings;
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());
    dialog.show();

    click(dialog, "defaultColors");
    QCOMPARE(panel(dialog, "textColor").fill, QColor(Qt::white));
    QCOMPARE(panel(dialog, "numberColor").fill, QColor(Qt::yellow));
    click(dialog, "cancel");

    QCOMPARE(fakes.settings.textColor, before.textColor);
    QCOMPARE(fakes.settings.numberColor, before.numberColor);
    QCOMPARE(fakes.settings.numberBackground, before.numberBackground);
}

void TestOptionsDialog::defaultColorsThenOk()
{
    Fakes fakes;
    fakes.settings.textColor = QColor(Qt::red);
    fakes.settings.keyBackground = QColor(Qt::gray);
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());
    dialog.show();

    click(dialog, "defaultColors");
    click(dialog, "ok");

    const NotesSettings &s = fakes.settings;
    QCOMPARE(s.textColor, QColor(255, 255, 255));
    QCOMPARE(s.backgroundColor, QColor(0, 0, 0));
    QCOMPARE(s.numberColor, QColor(255, 255, 0));
    QCOMPARE(s.numberBackground, QColor(0, 0, 0));
    QCOMPARE(s.keyColor, QColor(0, 255, 255));
    QCOMPARE(s.keyBackground, QColor(0, 0, 0));
}

void TestOptionsDialog::colorPicker_data()
{
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("confirmed") << true;
    QTest::newRow("cancelled") << false;
}

void TestOptionsDialog::colorPicker()
{
    QFETCH(bool, confirmed);
    Fakes fakes;
    fakes.settings.numberBackground = QColor(Qt::blue);
    fakes.settings.customColors = QStringLiteral("ColorA=563412\r\nColorC=0000FF");
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());
    dialog.show();

    QColor offered;
    QList<QColor> customOffered;
    DialogSeam::setDialogHandler([&](QDialog &shown) {
        auto *picker = qobject_cast<QColorDialog *>(&shown);
        if (!picker)
            qFatal("not the colour picker");
        offered = picker->currentColor();
        for (int i = 0; i < 3; ++i)
            customOffered << QColorDialog::customColor(i);
        QColorDialog::setCustomColor(1, QColor(0xAB, 0xCD, 0xEF));
        picker->setCurrentColor(QColor(0x10, 0x20, 0x30));
        return confirmed ? int(QDialog::Accepted) : int(QDialog::Rejected);
    });
    click(dialog, "numberBackground");

    QCOMPARE(offered, QColor(Qt::blue));
    QCOMPARE(customOffered,
             (QList<QColor>{QColor(0x12, 0x34, 0x56), QColor(Qt::white), QColor(0xFF, 0, 0)}));
    const QColor expected = confirmed ? QColor(0x10, 0x20, 0x30) : QColor(Qt::blue);
    QCOMPARE(panel(dialog, "numberBackground").fill, expected);
    QCOMPARE(panel(dialog, "numberColor").caption, expected);
    const CustomColors::Colors kept = CustomColors::decode(fakes.settings.customColors);
    QCOMPARE(kept[0], QColor(0x12, 0x34, 0x56));
    QCOMPARE(kept[1], QColor(0xAB, 0xCD, 0xEF));
    QCOMPARE(kept[2], QColor(0xFF, 0, 0));

    click(dialog, "ok");
    QCOMPARE(fakes.settings.numberBackground, expected);
}

void TestOptionsDialog::keywordsLoseCaseDuplicates()
{
    Fakes fakes;
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());
    dialog.show();
    QCOMPARE(child<QPlainTextEdit>(dialog, "keywords")->toPlainText(),
             QStringLiteral("HTTP\nPASSWORD\nPW\nPWD\nUN\nUSER\nUSERNAME\nWWW"));

    child<QPlainTextEdit>(dialog, "keywords")
        ->setPlainText(QStringLiteral("pwd\nPWD\nUser\n\nuser\nWWW\n"));
    click(dialog, "ok");

    QCOMPARE(fakes.settings.keywords, (QStringList{"pwd", "User", "WWW"}));
}

void TestOptionsDialog::browseFollowsBackupNotes()
{
    for (const bool backup : {false, true}) {
        Fakes fakes;
        fakes.settings.backupNotes = backup;
        OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());
        auto *backupNotes = child<QCheckBox>(dialog, "backupNotes");
        for (int step = 0; step < 2; ++step) {
            const bool on = backupNotes->isChecked();
            QCOMPARE(on, step == 0 ? backup : !backup);
            QCOMPARE(child<QPushButton>(dialog, "browse")->isEnabled(), on);
            QCOMPARE(child<QLineEdit>(dialog, "backupFolder")->isEnabled(), on);
            const auto labels = dialog.findChildren<QLabel *>();
            for (const QLabel *label : labels) {
                if (label->text() == QLatin1String("Backup Folder"))
                    QCOMPARE(label->isEnabled(), on);
            }
            backupNotes->toggle();
        }
    }
}

void TestOptionsDialog::browse_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("folder");
    QTest::newRow("folder picked") << "/home/me/backups"
                                   << "/home/me/backups";
    QTest::newRow("cancelled") << ""
                               << "/old";
}

void TestOptionsDialog::browse()
{
    QFETCH(QString, answer);
    Fakes fakes;
    fakes.settings.backupNotes = true;
    fakes.settings.backupFolder = QStringLiteral("/old");
    fakes.browseAnswer = answer;
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());
    dialog.show();

    click(dialog, "browse");

    QCOMPARE(fakes.browseStart, QStringLiteral("/old"));
    QTEST(child<QLineEdit>(dialog, "backupFolder")->text(), "folder");
}

void TestOptionsDialog::helpButton()
{
    Fakes fakes;
    OptionsDialog dialog(fakes.settings, fakes.hotKeyRegistered, fakes.services());
    dialog.show();
    click(dialog, "help");
    QCOMPARE(fakes.helpContext, 70);
}

void TestOptionsDialog::command_data()
{
    QTest::addColumn<bool>("registeredBefore");
    QTest::addColumn<bool>("registrationWorks");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("okPressed");
    QTest::addColumn<QStringList>("window");
    QTest::addColumn<bool>("notSetUp");
    QTest::addColumn<bool>("trayIcon");

    const QStringList okAfter{"apply", "save", "tray 0", "caption"};
    QTest::newRow("OK with a working hot key")
        << false << true << "ok" << true << okAfter << false << false;
    QTest::newRow("Cancel keeps the working hot key and the tray setting")
        << true << true << "cancel" << false << QStringList{"tray 1", "caption"} << false << true;
    QTest::newRow("Cancel without a hot key forces the tray icon")
        << false << true << "cancel" << false << QStringList{"tray 1", "caption"} << true << true;
    QTest::newRow("hot key taken, then Cancel") << false << false << "ok+cancel" << false
                                                << QStringList{"tray 1", "caption"} << true << true;
}

void TestOptionsDialog::command()
{
    QFETCH(QString, button);
    Fakes fakes;
    QFETCH(bool, registeredBefore);
    QFETCH(bool, registrationWorks);
    fakes.settings.hotKeyCode = 65;
    fakes.hotKeyRegistered = registeredBefore;
    fakes.registrationWorks = registrationWorks;

    QStringList window;
    OptionsWindow hooks;
    hooks.applySettings = [&] { window << QStringLiteral("apply"); };
    hooks.saveSettings = [&] { window << QStringLiteral("save"); };
    hooks.setTrayIconVisible = [&](bool on) { window << QStringLiteral("tray %1").arg(on); };
    hooks.updateCaption = [&] { window << QStringLiteral("caption"); };

    DialogSeam::setDialogHandler([&](QDialog &shown) {
        shown.show();
        child<QCheckBox>(shown, "showTrayIcon")->setChecked(false);
        for (const QString &name : button.split(QLatin1Char('+')))
            click(shown, qPrintable(name));
        return shown.result();
    });
    QList<DialogSeam::Message> messages;
    DialogSeam::setMessageHandler([&](const DialogSeam::Message &message) {
        messages << message;
        return QMessageBox::Ok;
    });

    const bool ok = OptionsCommand::execute(fakes.settings, fakes.hotKeyRegistered,
                                            fakes.services(), hooks, nullptr);

    QTEST(ok, "okPressed");
    QTEST(window, "window");
    QFETCH(bool, notSetUp);
    QTEST(fakes.settings.showTrayIcon, "trayIcon");
    QCOMPARE(messages.size(), notSetUp ? 1 : 0);
    if (notSetUp) {
        QCOMPARE(messages.first().kind, DialogSeam::Kind::Plain);
        QCOMPARE(messages.first().text,
                 QStringLiteral("Hot Key is not set up\rYou will need to use the Tray Icon to "
                                "Activate Quillbox"));
    }
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
