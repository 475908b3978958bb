#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

class QDBusObjectPath;

// The system-wide hot key where no program may grab keys (Wayland), and on X11 where the grab
// is refused: the desktop's org.freedesktop.portal.GlobalShortcuts portal holds one shortcut,
// "activate", for this program and signals each press. Every call to the portal is
// asynchronous: bind() starts the work and the outcome arrives as stateChanged(); nothing waits
// for the desktop, which may ask the user first.
class GlobalShortcutsPortal : public QObject
{
    Q_OBJECT

public:
    enum class State
    {
        Unbound,     // nothing asked yet, or the hot key is none
        Binding,     // the portal is working on it
        Bound,       // the portal holds the shortcut
        Unavailable, // no portal answered on the bus
        Refused      // the portal or the user turned the shortcut down
    };
    Q_ENUM(State)

    explicit GlobalShortcutsPortal(const QDBusConnection &bus = QDBusConnection::sessionBus(),
                                   QObject *parent = nullptr);
    ~GlobalShortcutsPortal() override;

    // Asks the portal, in a new session that replaces the one before, for the shortcut with
    // the trigger of code (a HotKeyCode value) as the one preferred. A code of none only closes
    // the session. Answers of an older bind() are ignored.
    void bind(int code);
    State state() const { return m_state; }

    static QString shortcutId() { return QStringLiteral("activate"); }
    static QString shortcutDescription();

signals:
    void stateChanged(GlobalShortcutsPortal::State state);
    // The shortcut was pressed; the token (empty when the portal gave none) lets the window
    // take the focus.
    void activated(const QString &activationToken);

private slots:
    void onActivated(const QDBusObjectPath &session, const QString &shortcutId,
                     qulonglong timestamp, const QVariantMap &options);

private:
    void askForPortal(int generation, const QString &trigger);
    void createSession(int generation, const QString &trigger);
    void bindShortcut(int generation, const QString &trigger);
    void closeSession();
    QString nextToken();
    void setState(State state);

    QDBusConnection m_bus;
    QString m_session;
    State m_state = State::Unbound;
    int m_generation = 0;
    int m_tokens = 0;
};
