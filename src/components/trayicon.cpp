#include "trayicon.h"

#include "productname.h"

#include <QAction>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>

TrayIcon::TrayIcon(QObject *parent)
    : QObject(parent), m_menu(std::make_unique<QMenu>()), m_icon(this)
{
    m_menu->addAction(productName())->setEnabled(false);
    m_menu->addSeparator();
    connect(m_menu->addAction(QStringLiteral("Activate")), &QAction::triggered, this,
            &TrayIcon::activateRequested);
    connect(m_menu->addAction(QStringLiteral("Hide")), &QAction::triggered, this,
            &TrayIcon::hideRequested);
    connect(m_menu->addAction(QStringLiteral("Exit")), &QAction::triggered, this,
            &TrayIcon::exitRequested);
    m_icon.setContextMenu(m_menu.get());
    connect(&m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
}

TrayIcon::~TrayIcon()
{
    m_icon.hide();
}

void TrayIcon::setActive(bool active)
{
    if (active == m_active)
        return;
    if (active && !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_active = active;
    if (m_icon.icon().isNull())
        m_icon.setIcon(QGuiApplication::windowIcon());
    m_icon.setVisible(active);
}

QString TrayIcon::cutToolTip(const QString &text)
{
    if (text.size() <= maxToolTipLength)
        return text;
    const bool splitsPair = text.at(maxToolTipLength - 1).isHighSurrogate();
    return text.left(splitsPair ? maxToolTipLength - 1 : maxToolTipLength);
}

void TrayIcon::setToolTip(const QString &text)
{
    m_toolTip = cutToolTip(text);
    m_icon.setToolTip(m_toolTip);
}

void TrayIcon::setIcon(const QIcon &icon)
{
    m_icon.setIcon(icon);
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger && m_active)
        emit clicked();
}
