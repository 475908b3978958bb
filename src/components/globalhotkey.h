#pragma once

#include "hotkeycode.h"

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <memory>

// The program's one system-wide hot key. Windows: RegisterHotKey with id 100 and WM_HOTKEY.
// X11: a grab of the key on the root window (X11KeyGrab). Either way the key press arrives
// through the application's native event filter and becomes activated().
class GlobalHotKey : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit GlobalHotKey(QObject *parent = nullptr);
    ~GlobalHotKey() override;

    // Registers code (a HotKeyCode value). A code of none returns false and leaves everything
    // as it was; otherwise the key registered before is released first. False when the system
    // refuses the key, above all when another program holds it.
    bool registerHotKey(int code);
    void unregisterHotKey();
    bool isRegistered() const { return m_registered; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void activated();

private:
    struct Native;

    bool grabNative(HotKeyCode code);
    void releaseNative();

    std::unique_ptr<Native> m_native;
    bool m_registered = false;
};
