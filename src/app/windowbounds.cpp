#include "windowbounds.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
FormValue::Rect toFormRect(const QRect &rect)
{
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

QRect workAreaAt(const QPoint &point)
{
    const QScreen *screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}
} // namespace

QString WindowBounds::objectName() const
{
    return m_window.objectName();
}

QString WindowBounds::boundsValue() const
{
    const FormValue::Bounds bounds{toFormRect(m_window.normalGeometry()), m_window.isMaximized()};
    return QString::fromStdString(FormValue::encode(bounds));
}

void WindowBounds::applyBoundsValue(const QString &value)
{
    const std::optional<FormValue::Bounds> bounds = FormValue::decode(value.toStdString());
    if (bounds)
        place(*bounds);
}

void WindowBounds::applyDesignedBounds()
{
    place({{249, 109, 666, 577}, false});
}

void WindowBounds::place(const FormValue::Bounds &bounds)
{
    const FormValue::Rect &stored = bounds.normal;
    const QRect workArea = workAreaAt({stored.left, stored.top});
    const FormValue::Rect placed = FormValue::placeOnWorkArea(stored, toFormRect(workArea), true,
                                                              m_window.width(), m_window.height());
    m_window.setGeometry(placed.left, placed.top, placed.width, placed.height);
    const Qt::WindowStates state = m_window.windowState();
    m_window.setWindowState(bounds.maximized ? state | Qt::WindowMaximized
                                              : state & ~Qt::WindowMaximized);
}
