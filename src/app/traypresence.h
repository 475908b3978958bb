#pragma once

#include "components/trayicon.h"

#include <QObject>
#include <QTimer>

// The notes window's icon in the notification area, shown while it is wanted. A desktop may
// have no notification area yet when the program starts, or lose it and get it back (its panel
// restarts): while the icon is wanted but not shown, it is tried again every few seconds.
class TrayPresence : public QObject
{
    Q_OBJECT

public:
    static constexpr int RetryIntervalMs = 2000;

    explicit TrayPresence(QObject *parent = nullptr);

    TrayIcon &icon() { return m_icon; }
    bool isActive() const { return m_icon.isActive(); }
    bool isWanted() const { return m_wanted; }
    void setWanted(bool wanted);

private:
    void retry();

    TrayIcon m_icon;
    QTimer m_retry;
    bool m_wanted = false;
};
