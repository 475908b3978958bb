#include "components/globalshortcutsportal.h"
#include "components/hotkeycode.h"
#include "support/fakeglobalshortcutsportal.h"
#include "support/privatebus.h"

#include <QSignalSpy>
#include <QtTest>

using State = GlobalShortcutsPortal::State;

namespace {

constexpr int ctrlAltQ = 1000 + 'Q';
constexpr int winF5 = 0 * 1000 + 0x74;
constexpr int ctrlShiftKeypadAdd = 2000 + 0x6B;

QVariantMap shortcutProperties(const QString &trigger)
{
    return {{QStringLiteral("description"), QStringLiteral("Show or hide Quillbox")},
            {QStringLiteral("preferred_trigger"), trigger}};
}

} // namespace

// The hot key through the desktop's GlobalShortcuts portal, against a fake portal on a bus of
// the test's own: the session, the shortcut and its trigger, presses, a changed hot key, a
// refusal, and no portal at all.
class GlobalShortcutsPortalTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void bindsTheShortcutInASession_data();
    void bindsTheShortcutInASession();
    void pressesActivateWithTheirToken();
    void pressesOfOtherShortcutsOrSessionsAreIgnored();
    void changedHotKeyRebindsInANewSession();
    void quickChangesBindOnlyTheLastHotKey();
    void changeWhileThePortalWorksBindsOnlyTheLastHotKey();
    void noneClosesTheSession();
    void refusalIsReported();
    void noPortalIsUnavailable();

private:
    // Binds code and waits until the portal holds it.
    void bindAndWait(GlobalShortcutsPortal &portal, int code);

    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeGlobalShortcutsPortal> m_fake;
    QDBusConnection m_client{QString()};
};

void GlobalShortcutsPortalTest::init()
{
    m_bus = std::make_unique<PrivateBus>();
    QVERIFY2(m_bus->start(), qPrintable(m_bus->error()));
    const QString tag = QString::fromLatin1(QTest::currentTestFunction());
    m_client = m_bus->connect(QStringLiteral("client-") + tag);
    QVERIFY(m_client.isConnected());
    m_fake = std::make_unique<FakeGlobalShortcutsPortal>();
    if (tag != QLatin1String("noPortalIsUnavailable"))
        QVERIFY(m_fake->publish(m_bus->connect(QStringLiteral("portal-") + tag)));
}

void GlobalShortcutsPortalTest::cleanup()
{
    m_fake.reset();
    m_client = QDBusConnection(QString());
    m_bus.reset();
}

void GlobalShortcutsPortalTest::bindAndWait(GlobalShortcutsPortal &portal, int code)
{
    portal.bind(code);
    QCOMPARE(portal.state(), State::Binding);
    QTRY_COMPARE(portal.state(), State::Bound);
}

void GlobalShortcutsPortalTest::bindsTheShortcutInASession_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<bool>("answerBeforeReply");
    QTest::newRow("Ctrl+Alt+Q") << ctrlAltQ << QStringLiteral("CTRL+ALT+Q") << false;
    QTest::newRow("Win+F5") << winF5 << QStringLiteral("LOGO+F5") << false;
    QTest::newRow("Ctrl+Shift+keypad +")
        << ctrlShiftKeypadAdd << QStringLiteral("CTRL+SHIFT+KP_Add") << false;
    QTest::newRow("answers before the replies") << ctrlAltQ << QStringLiteral("CTRL+ALT+Q") << true;
}

void GlobalShortcutsPortalTest::bindsTheShortcutInASession()
{
    QFETCH(int, code);
    QFETCH(QString, trigger);
    QFETCH(bool, answerBeforeReply);
    m_fake->setAnswerBeforeReply(answerBeforeReply);
    GlobalShortcutsPortal portal(m_client);
    QSignalSpy states(&portal, &GlobalShortcutsPortal::stateChanged);

    bindAndWait(portal, code);
    QCOMPARE(m_fake->sessionRequests().size(), 1);
    const QVariantMap sessionOptions = m_fake->sessionRequests().first();
    QVERIFY(!sessionOptions.value(QStringLiteral("handle_token")).toString().isEmpty());
    QVERIFY(!sessionOptions.value(QStringLiteral("session_handle_token")).toString().isEmpty());
    QCOMPARE(m_fake->bindings().size(), 1);
    const FakeGlobalShortcutsPortal::Binding binding = m_fake->bindings().first();
    QCOMPARE(binding.session, m_fake->sessions().first());
    QCOMPARE(binding.shortcuts.size(), 1);
    QCOMPARE(binding.shortcuts.first().id, QStringLiteral("activate"));
    QCOMPARE(binding.shortcuts.first().properties, shortcutProperties(trigger));
    QVERIFY(!binding.options.value(QStringLiteral("handle_token")).toString().isEmpty());
    QCOMPARE(states.size(), 2); // Binding, then Bound
    QCOMPARE(states.at(1).at(0).value<State>(), State::Bound);
}

void GlobalShortcutsPortalTest::pressesActivateWithTheirToken()
{
    GlobalShortcutsPortal portal(m_client);
    bindAndWait(portal, ctrlAltQ);
    QSignalSpy activated(&portal, &GlobalShortcutsPortal::activated);

    const QString session = m_fake->sessions().first();
    m_fake->press(session, QStringLiteral("activate"), QStringLiteral("token-1"));
    QTRY_COMPARE(activated.size(), 1);
    QCOMPARE(activated.at(0).at(0).toString(), QStringLiteral("token-1"));
    m_fake->press(session, QStringLiteral("activate"), QString());
    QTRY_COMPARE(activated.size(), 2);
    QCOMPARE(activated.at(1).at(0).toString(), QString());
}

void GlobalShortcutsPortalTest::pressesOfOtherShortcutsOrSessionsAreIgnored()
{
    GlobalShortcutsPortal portal(m_client);
    bindAndWait(portal, ctrlAltQ);
    QSignalSpy activated(&portal, &GlobalShortcutsPortal::activated);

    const QString session = m_fake->sessions().first();
    m_fake->press(session, QStringLiteral("other"), QString());
    m_fake->press(QStringLiteral("/org/freedesktop/portal/desktop/session/1_1/someone"),
                  QStringLiteral("activate"), QString());
    // Signals arrive in the order they were sent: once the last one is in, the others were
    // seen and ignored.
    m_fake->press(session, QStringLiteral("activate"), QStringLiteral("last"));
    QTRY_COMPARE(activated.size(), 1);
    QCOMPARE(activated.at(0).at(0).toString(), QStringLiteral("last"));
}

void GlobalShortcutsPortalTest::changedHotKeyRebindsInANewSession()
{
    GlobalShortcutsPortal portal(m_client);
    bindAndWait(portal, ctrlAltQ);
    const QString first = m_fake->sessions().first();

    bindAndWait(portal, winF5);
    QCOMPARE(m_fake->sessions().size(), 2);
    const QString second = m_fake->sessions().last();
    QTRY_VERIFY(m_fake->isClosed(first));
    QVERIFY(!m_fake->isClosed(second));
    QCOMPARE(m_fake->bindings().size(), 2);
    QCOMPARE(m_fake->bindings().last().session, second);
    QCOMPARE(m_fake->bindings().last().shortcuts.first().properties,
             shortcutProperties(QStringLiteral("LOGO+F5")));

    QSignalSpy activated(&portal, &GlobalShortcutsPortal::activated);
    m_fake->press(first, QStringLiteral("activate"), QStringLiteral("old"));
    m_fake->press(second, QStringLiteral("activate"), QStringLiteral("new"));
    QTRY_COMPARE(activated.size(), 1);
    QCOMPARE(activated.at(0).at(0).toString(), QStringLiteral("new"));
}

void GlobalShortcutsPortalTest::quickChangesBindOnlyTheLastHotKey()
{
    GlobalShortcutsPortal portal(m_client);
    portal.bind(ctrlAltQ);
    portal.bind(winF5);
    QTRY_COMPARE(portal.state(), State::Bound);
    QTRY_COMPARE(m_fake->bindings().size(), 1);
    QCOMPARE(m_fake->bindings().first().shortcuts.first().properties,
             shortcutProperties(QStringLiteral("LOGO+F5")));
    const QString current = m_fake->bindings().first().session;
    for (const QString &session : m_fake->sessions()) {
        if (session != current)
            QTRY_VERIFY(m_fake->isClosed(session));
    }
    QVERIFY(!m_fake->isClosed(current));
}

// The user changes the hot key while the portal still works on the session for the one before:
// that session, when it comes, is closed unused.
void GlobalShortcutsPortalTest::changeWhileThePortalWorksBindsOnlyTheLastHotKey()
{
    m_fake->holdAnswers();
    GlobalShortcutsPortal portal(m_client);
    portal.bind(ctrlAltQ);
    QTRY_COMPARE(m_fake->sessionRequests().size(), 1);
    portal.bind(winF5);
    QTRY_COMPARE(m_fake->sessionRequests().size(), 2);
    m_fake->releaseAnswers();

    QTRY_COMPARE(portal.state(), State::Bound);
    QTRY_VERIFY(m_fake->isClosed(m_fake->sessions().first()));
    QCOMPARE(m_fake->bindings().size(), 1);
    QCOMPARE(m_fake->bindings().first().session, m_fake->sessions().last());
    QCOMPARE(m_fake->bindings().first().shortcuts.first().properties,
             shortcutProperties(QStringLiteral("LOGO+F5")));
}

void GlobalShortcutsPortalTest::noneClosesTheSession()
{
    GlobalShortcutsPortal portal(m_client);
    bindAndWait(portal, ctrlAltQ);
    QSignalSpy activated(&portal, &GlobalShortcutsPortal::activated);

    portal.bind(HotKeyCode::None);
    QCOMPARE(portal.state(), State::Unbound);
    QTRY_VERIFY(m_fake->isClosed(m_fake->sessions().first()));
    m_fake->press(m_fake->sessions().first(), QStringLiteral("activate"), QString());
    QTest::qWait(0);
    QCOMPARE(m_fake->bindings().size(), 1);
    QVERIFY(activated.isEmpty());
}

void GlobalShortcutsPortalTest::refusalIsReported()
{
    m_fake->setBindResponse(1); // the user cancelled the portal's dialog
    GlobalShortcutsPortal portal(m_client);
    portal.bind(ctrlAltQ);
    QTRY_COMPARE(portal.state(), State::Refused);
    QCOMPARE(m_fake->bindings().size(), 1);
}

void GlobalShortcutsPortalTest::noPortalIsUnavailable()
{
    GlobalShortcutsPortal portal(m_client);
    QSignalSpy states(&portal, &GlobalShortcutsPortal::stateChanged);
    portal.bind(ctrlAltQ);
    QTRY_COMPARE(portal.state(), State::Unavailable);
    QCOMPARE(states.size(), 2);
    QCOMPARE(m_fake->sessionRequests().size(), 0);
}

QTEST_GUILESS_MAIN(GlobalShortcutsPortalTest)
#include "tst_globalshortcutsportal.moc"
