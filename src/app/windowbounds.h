#pragma once

#include "notesstore.h"

class QWidget;

// The notes window as the Notes file keeps it under its object name: its normal (restored)
// rectangle and whether it is maximized. A restored rectangle is put back on the work area of
// the screen it belongs to.
class WindowBounds : public BoundsWindow
{
public:
    explicit WindowBounds(QWidget &window) : m_window(window) {}

    QString objectName() const override;
    QString boundsValue() const override;
    void applyBoundsValue(const QString &value) override;

private:
    QWidget &m_window;
};
