#pragma once

#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <memory>

class QIcon;
class QMenu;

// The program's icon in the notification area with its pop-up menu: the product name (greyed),
// a separator, "Activate", "Hide" and "Exit". A left click and the menu items become signals;
// the main window decides what they do.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    static constexpr int maxToolTipLength = 62;

    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    // Whether the icon is in the notification area. Switching it on where the desktop has no
    // notification area leaves it off.
    bool isActive() const { return m_active; }
    void setActive(bool active);

    QString toolTip() const { return m_toolTip; }
    void setToolTip(const QString &text); // cut to its first 62 characters
    // Without an icon of its own the tray shows the application's window icon.
    void setIcon(const QIcon &icon);

    QMenu *menu() const { return m_menu.get(); }

    // The first maxToolTipLength characters of text, never half a surrogate pair.
    static QString cutToolTip(const QString &text);

signals:
    void clicked(); // left button on the icon, only while active
    void activateRequested();
    void hideRequested();
    void exitRequested();

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon m_icon;
    QString m_toolTip;
    bool m_active = false;
};
