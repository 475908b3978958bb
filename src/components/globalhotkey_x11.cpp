#include "globalhotkey.h"
#include "virtualkeys.h"
#include "x11keygrab.h"

#include <QGuiApplication>

struct GlobalHotKey::Native
{
    std::unique_ptr<X11KeyGrab> grab;
};

GlobalHotKey::GlobalHotKey(QObject *parent) : QObject(parent), m_native(std::make_unique<Native>())
{
    // Other platforms (offscreen among them) may answer the interface without a connection.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t *connection = x11 ? x11->connection() : nullptr) {
        m_native->grab =
            std::make_unique<X11KeyGrab>(connection, X11KeyGrab::defaultRoot(connection));
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
}

GlobalHotKey::~GlobalHotKey()
{
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool GlobalHotKey::grabNative(HotKeyCode code)
{
    if (!m_native->grab)
        return false;
    const quint32 keysym = VirtualKeys::keysymFromVk(code.virtualKey());
    return m_native->grab->grab(keysym, code.modifier()) == X11KeyGrab::Result::Grabbed;
}

void GlobalHotKey::releaseNative()
{
    if (m_native->grab)
        m_native->grab->release();
}

bool GlobalHotKey::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (!m_native->grab || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    if (!m_native->grab->matches(*reinterpret_cast<const xcb_key_press_event_t *>(event)))
        return false;
    emit activated();
    return true;
}
