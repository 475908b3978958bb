#include "globalhotkey.h"

#include <QCoreApplication>
#include <windows.h>

namespace {

// The id the hot key is registered under on the thread's message queue.
constexpr int hotKeyId = 100;

UINT modifierFlags(HotKeyCode::Modifier modifier)
{
    switch (modifier) {
    case HotKeyCode::Modifier::CtrlAlt:
        return MOD_CONTROL | MOD_ALT;
    case HotKeyCode::Modifier::CtrlShift:
        return MOD_CONTROL | MOD_SHIFT;
    case HotKeyCode::Modifier::Win:
        break;
    }
    return MOD_WIN;
}

} // namespace

struct GlobalHotKey::Native
{
};

GlobalHotKey::GlobalHotKey(QObject *parent) : QObject(parent), m_native(std::make_unique<Native>())
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

GlobalHotKey::~GlobalHotKey()
{
    releaseNative();
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool GlobalHotKey::grabNative(HotKeyCode code)
{
    return RegisterHotKey(nullptr, hotKeyId, modifierFlags(code.modifier()), code.virtualKey());
}

void GlobalHotKey::releaseNative()
{
    UnregisterHotKey(nullptr, hotKeyId);
}

// Every WM_HOTKEY is taken here, whatever its id; only ours shows the window.
bool GlobalHotKey::nativeEventFilter(const QByteArray &, void *message, qintptr *result)
{
    const auto *msg = static_cast<const MSG *>(message);
    if (msg->message != WM_HOTKEY)
        return false;
    if (msg->wParam == hotKeyId)
        emit activated();
    *result = 0;
    return true;
}
