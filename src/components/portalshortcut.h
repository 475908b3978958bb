#pragma once

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One shortcut as the GlobalShortcuts portal passes it over D-Bus, "(sa{sv})": its id and its
// properties ("description", "preferred_trigger", "trigger_description").
struct PortalShortcut
{
    QString id;
    QVariantMap properties;

    // Makes the type and its list known to QtDBus; call before the first use on a bus.
    static void registerDBusTypes();
};

inline QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

inline const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

Q_DECLARE_METATYPE(PortalShortcut)

inline void PortalShortcut::registerDBusTypes()
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}
