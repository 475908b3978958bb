#include "app/apphotkey.h"
#include "app/mainwindow.h"
#include "support/fakeglobalshortcutsportal.h"
#include "support/privatebus.h"
#include "support/seamanswers.h"
#include "support/windowfixture.h"

#include <QtTest>

namespace {
const QString InUse = QStringLiteral("Hot Key combination is already in use please try another");
const QString ThroughPortal = QStringLiteral("Registered through the desktop portal");
const QString NotRegistered =
    QStringLiteral("Not registered: bind `quillbox --toggle` in your desktop's keyboard settings");
const int CtrlShiftQ = 2081;
const int CtrlAltF5 = 1000 + 0x74;

QVariantMap triggerOf(const FakeGlobalShortcutsPortal::Binding &binding)
{
    return binding.shortcuts.value(0).properties;
}
} // namespace

// The notes window's hot key through the desktop portal: first on Wayland, after a refused
// grab elsewhere, and what the user is told when no portal answers.
class AppHotKeyTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void grabbedKeySaysSo();
    void portalFirstBindsThroughThePortal();
    void portalPressesShowAndHideTheWindow();
    void changedHotKeyRebinds();
    void refusedGrabGoesToThePortal();
    void refusedGrabWithoutPortalSaysInUse();
    void noPortalSaysOnceWhichCommandToBind();

private:
    void publishPortal();

    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeGlobalShortcutsPortal> m_fake;
    std::unique_ptr<WindowFixture> m_fixture;
    QDBusConnection m_client{QString()};
};

void AppHotKeyTest::init()
{
    m_bus = std::make_unique<PrivateBus>();
    QVERIFY2(m_bus->start(), qPrintable(m_bus->error()));
    m_client = m_bus->connect(QStringLiteral("client-") +
                              QString::fromLatin1(QTest::currentTestFunction()));
    m_fixture = std::make_unique<WindowFixture>();
    m_fixture->start();
}

void AppHotKeyTest::cleanup()
{
    m_fixture.reset();
    m_fake.reset();
    m_client = QDBusConnection(QString());
    m_bus.reset();
}

void AppHotKeyTest::publishPortal()
{
    m_fake = std::make_unique<FakeGlobalShortcutsPortal>();
    QVERIFY(m_fake->publish(m_bus->connect(QStringLiteral("portal-") +
                                           QString::fromLatin1(QTest::currentTestFunction()))));
}

void AppHotKeyTest::grabbedKeySaysSo()
{
    const AppHotKey &hotKey = m_fixture->window().hotKey();
    QCOMPARE(hotKey.route(), AppHotKey::Route::System);
    QCOMPARE(hotKey.routeText(), QStringLiteral("Registered with the X server"));
}

void AppHotKeyTest::portalFirstBindsThroughThePortal()
{
    publishPortal();
    MainWindow &window = m_fixture->window();
    window.hotKey().setPortal(m_client, true);
    window.settings().hotKeyCode = CtrlShiftQ;
    SeamAnswers answers;

    QVERIFY(window.hotKey().registerAppHotKey());
    QCOMPARE(m_fixture->grabbedHotKeys().size(), 1); // only the start-up's grab
    QCOMPARE(window.hotKey().route(), AppHotKey::Route::Portal);
    QCOMPARE(window.hotKey().routeText(), ThroughPortal);
    QTRY_COMPARE(m_fake->bindings().size(), 1);
    QCOMPARE(triggerOf(m_fake->bindings().first()).value(QStringLiteral("preferred_trigger")),
             QStringLiteral("CTRL+SHIFT+Q"));
    QTest::qWait(0);
    QVERIFY(answers.texts().isEmpty());
    QVERIFY(window.hotKey().isRegistered());
}

void AppHotKeyTest::portalPressesShowAndHideTheWindow()
{
    publishPortal();
    MainWindow &window = m_fixture->window();
    window.hotKey().setPortal(m_client, true);
    window.settings().hotKeyCode = CtrlShiftQ;
    QVERIFY(window.hotKey().registerAppHotKey());
    QTRY_COMPARE(m_fake->bindings().size(), 1);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QString session = m_fake->bindings().first().session;

    m_fake->press(session, QStringLiteral("activate"), QString());
    QTRY_VERIFY(!window.isVisible());
    m_fake->press(session, QStringLiteral("activate"), QStringLiteral("token-7"));
    QTRY_VERIFY(window.isVisible());
    QCOMPARE(qgetenv("XDG_ACTIVATION_TOKEN"), QByteArray("token-7"));
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

void AppHotKeyTest::changedHotKeyRebinds()
{
    publishPortal();
    MainWindow &window = m_fixture->window();
    window.hotKey().setPortal(m_client, true);
    window.settings().hotKeyCode = CtrlShiftQ;
    QVERIFY(window.hotKey().registerAppHotKey());
    QTRY_COMPARE(m_fake->bindings().size(), 1);

    window.settings().hotKeyCode = CtrlAltF5;
    QVERIFY(window.hotKey().registerAppHotKey());
    QTRY_COMPARE(m_fake->bindings().size(), 2);
    QCOMPARE(triggerOf(m_fake->bindings().last()).value(QStringLiteral("preferred_trigger")),
             QStringLiteral("CTRL+ALT+F5"));
    QTRY_VERIFY(m_fake->isClosed(m_fake->bindings().first().session));
}

void AppHotKeyTest::refusedGrabGoesToThePortal()
{
    publishPortal();
    MainWindow &window = m_fixture->window();
    window.hotKey().setPortal(m_client, false);
    m_fixture->setHotKeyGrabWorks(false);
    window.settings().hotKeyCode = CtrlShiftQ;
    SeamAnswers answers;

    QVERIFY(window.hotKey().registerAppHotKey());
    QCOMPARE(m_fixture->grabbedHotKeys().size(), 2);
    QCOMPARE(window.hotKey().route(), AppHotKey::Route::Portal);
    QTRY_COMPARE(m_fake->bindings().size(), 1);
    QVERIFY(answers.texts().isEmpty());
}

void AppHotKeyTest::refusedGrabWithoutPortalSaysInUse()
{
    MainWindow &window = m_fixture->window();
    window.hotKey().setPortal(m_client, false);
    m_fixture->setHotKeyGrabWorks(false);
    window.settings().hotKeyCode = CtrlShiftQ;
    SeamAnswers answers;

    QVERIFY(!window.hotKey().registerAppHotKey());
    QCOMPARE(answers.texts(), QStringList{InUse});
    QCOMPARE(window.hotKey().route(), AppHotKey::Route::None);
    QCOMPARE(window.hotKey().routeText(), NotRegistered);
}

void AppHotKeyTest::noPortalSaysOnceWhichCommandToBind()
{
    MainWindow &window = m_fixture->window();
    window.hotKey().setPortal(m_client, true);
    window.settings().hotKeyCode = CtrlShiftQ;
    SeamAnswers answers;

    window.hotKey().registerAppHotKey();
    QTRY_COMPARE(window.hotKey().route(), AppHotKey::Route::None);
    QVERIFY(!window.hotKey().isRegistered());
    QCOMPARE(window.hotKey().routeText(), NotRegistered);
    QCOMPARE(answers.messages.size(), 1);
    const QString text = answers.messages.first().text;
    QVERIFY2(text.contains(u'\n' + AppHotKey::toggleCommand()), qPrintable(text));
    QVERIFY2(!text.contains(InUse), qPrintable(text));
    QVERIFY(AppHotKey::toggleCommand().endsWith(QLatin1String(" --toggle")));

    window.settings().hotKeyCode = CtrlAltF5;
    window.hotKey().registerAppHotKey();
    QTRY_COMPARE(window.hotKey().route(), AppHotKey::Route::None);
    QCOMPARE(answers.messages.size(), 1);
}

QTEST_MAIN(AppHotKeyTest)
#include "tst_apphotkey.moc"
