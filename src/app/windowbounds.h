#pragma once

#include "inistore/formvalue.h"
#include "notes/notesstore.h"

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
    // The bounds the window has while the Notes file keeps none: left 249, top 109, 666 × 577,
    // not maximized, put on the work area like stored bounds.
    void applyDesignedBounds();

private:
    void place(const FormValue::Bounds &bounds);

    QWidget &m_window;
};
