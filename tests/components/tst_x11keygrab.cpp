#include "components/x11keygrab.h"

#include <QtTest>
#include <memory>

// The X11 grab of the hot key: the modifier masks it is grabbed with, and, when an X server is
// at hand, that a combination another client holds is refused cleanly.
class X11KeyGrabTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void masksIncludeTheLockVariants_data();
    void masksIncludeTheLockVariants();
    void keyHeldByAnotherClientIsRefused();
    void refusedGrabLeavesNothingBehind();
    void keyNotOnTheKeyboardIsRefused();

private:
    using Connection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>;
    static Connection connect();
    bool haveServer() const { return m_first && m_second; }

    // Two clients of the same X server, for the whole run (an X server may turn away a client
    // that connects right after another left).
    Connection m_first{nullptr, &xcb_disconnect};
    Connection m_second{nullptr, &xcb_disconnect};
};

using Modifier = HotKeyCode::Modifier;
Q_DECLARE_METATYPE(HotKeyCode::Modifier)

namespace {

constexpr quint16 shift = XCB_MOD_MASK_SHIFT;
constexpr quint16 lock = XCB_MOD_MASK_LOCK;
constexpr quint16 control = XCB_MOD_MASK_CONTROL;
constexpr quint16 alt = XCB_MOD_MASK_1;
constexpr quint16 numLock = XCB_MOD_MASK_2;
constexpr quint16 super = XCB_MOD_MASK_4;

constexpr quint32 keysymF12 = 0xffc9;

xcb_key_press_event_t keyPress(xcb_window_t root, xcb_keycode_t keycode, quint16 state)
{
    xcb_key_press_event_t event = {};
    event.response_type = XCB_KEY_PRESS;
    event.event = root;
    event.root = root;
    event.detail = keycode;
    event.state = state;
    return event;
}

} // namespace

void X11KeyGrabTest::masksIncludeTheLockVariants_data()
{
    QTest::addColumn<Modifier>("modifier");
    QTest::addColumn<quint16>("mask");

    QTest::newRow("Win") << Modifier::Win << super;
    QTest::newRow("Ctrl+Alt") << Modifier::CtrlAlt << quint16(control | alt);
    QTest::newRow("Ctrl+Shift") << Modifier::CtrlShift << quint16(control | shift);
    QTest::newRow("index above 2") << HotKeyCode(3065).modifier() << super;
}

void X11KeyGrabTest::masksIncludeTheLockVariants()
{
    QFETCH(Modifier, modifier);
    QFETCH(quint16, mask);

    QCOMPARE(X11KeyGrab::modifierMask(modifier), mask);
    const QList<quint16> expected = {mask, quint16(mask | numLock), quint16(mask | lock),
                                     quint16(mask | numLock | lock)};
    QCOMPARE(X11KeyGrab::modifierVariants(modifier), expected);
}

X11KeyGrabTest::Connection X11KeyGrabTest::connect()
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        Connection connection(xcb_connect(nullptr, nullptr), &xcb_disconnect);
        if (!xcb_connection_has_error(connection.get()))
            return connection;
        QThread::msleep(100);
    }
    return Connection(nullptr, &xcb_disconnect);
}

void X11KeyGrabTest::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    m_first = connect();
    m_second = connect();
    QVERIFY2(haveServer(), "DISPLAY is set but names no X server that answers");
}

void X11KeyGrabTest::cleanup()
{
    for (const Connection *connection : {&m_first, &m_second}) {
        if (xcb_connection_t *c = connection->get()) {
            xcb_window_t root = X11KeyGrab::defaultRoot(c);
            std::free(xcb_request_check(
                c, xcb_ungrab_key_checked(c, XCB_GRAB_ANY, root, XCB_MOD_MASK_ANY)));
        }
    }
}

void X11KeyGrabTest::keyHeldByAnotherClientIsRefused()
{
    if (!haveServer())
        QSKIP("needs an X server (DISPLAY)");
    xcb_connection_t *first = m_first.get();
    xcb_connection_t *second = m_second.get();
    const xcb_window_t root = X11KeyGrab::defaultRoot(first);

    X11KeyGrab holder(first, root);
    X11KeyGrab other(second, X11KeyGrab::defaultRoot(second));
    QCOMPARE(holder.grab(keysymF12, Modifier::CtrlShift), X11KeyGrab::Result::Grabbed);
    QVERIFY(holder.isGrabbed());

    QCOMPARE(other.grab(keysymF12, Modifier::CtrlShift), X11KeyGrab::Result::Taken);
    QVERIFY(!other.isGrabbed());

    // The grab matches a press of its key whatever the lock keys, and nothing else.
    const xcb_keycode_t key = holder.keycode();
    QVERIFY(holder.matches(keyPress(root, key, control | shift)));
    QVERIFY(holder.matches(keyPress(root, key, control | shift | numLock | lock)));
    QVERIFY(!holder.matches(keyPress(root, key, control)));
    QVERIFY(!holder.matches(keyPress(root, key, control | shift | alt)));
    QVERIFY(!holder.matches(keyPress(root, key + 1, control | shift)));
    QVERIFY(!holder.matches(keyPress(root + 1, key, control | shift)));

    // Once released by its holder the combination is free for the other client.
    holder.release();
    QVERIFY(!holder.matches(keyPress(root, key, control | shift)));
    QCOMPARE(other.grab(keysymF12, Modifier::CtrlShift), X11KeyGrab::Result::Grabbed);
    other.release();
    QCOMPARE(holder.grab(keysymF12, Modifier::CtrlShift), X11KeyGrab::Result::Grabbed);
}

void X11KeyGrabTest::refusedGrabLeavesNothingBehind()
{
    if (!haveServer())
        QSKIP("needs an X server (DISPLAY)");
    xcb_connection_t *first = m_first.get();
    xcb_connection_t *second = m_second.get();
    const xcb_window_t root = X11KeyGrab::defaultRoot(first);

    // Another client holds only the last variant (NumLock and CapsLock both on).
    X11KeyGrab probe(first, root);
    QCOMPARE(probe.grab(keysymF12, Modifier::CtrlAlt), X11KeyGrab::Result::Grabbed);
    const xcb_keycode_t key = probe.keycode();
    probe.release();
    const quint16 mask = control | alt;
    auto rawGrab = [&](quint16 modifiers) {
        xcb_generic_error_t *error = xcb_request_check(
            first, xcb_grab_key_checked(first, 0, root, modifiers, key, XCB_GRAB_MODE_ASYNC,
                                        XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    };
    QVERIFY(rawGrab(mask | numLock | lock));

    X11KeyGrab other(second, root);
    QCOMPARE(other.grab(keysymF12, Modifier::CtrlAlt), X11KeyGrab::Result::Taken);
    QVERIFY(!other.isGrabbed());

    // The variants the refused grab had taken were given back.
    QVERIFY(rawGrab(mask));
    QVERIFY(rawGrab(mask | numLock));
    QVERIFY(rawGrab(mask | lock));
}

void X11KeyGrabTest::keyNotOnTheKeyboardIsRefused()
{
    if (!haveServer())
        QSKIP("needs an X server (DISPLAY)");
    X11KeyGrab grab(m_first.get(), X11KeyGrab::defaultRoot(m_first.get()));
    QCOMPARE(grab.grab(0, Modifier::Win), X11KeyGrab::Result::NoSuchKey);
    QCOMPARE(grab.grab(0x0101f600, Modifier::Win), X11KeyGrab::Result::NoSuchKey); // U+1F600
    QVERIFY(!grab.isGrabbed());
}

QTEST_APPLESS_MAIN(X11KeyGrabTest)
#include "tst_x11keygrab.moc"
