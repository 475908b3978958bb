#pragma once

#include <QObject>

// A session object of the fake GlobalShortcuts portal: it only notes that it was closed.
class FakePortalSession : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Session")

public:
    explicit FakePortalSession(QObject *parent) : QObject(parent) {}
    bool isClosed() const { return m_closed; }

public slots:
    void Close() { m_closed = true; }

private:
    bool m_closed = false;
};
