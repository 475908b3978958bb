#pragma once

#include <QObject>

class QWidget;

// Gives the keyboard back to the window a modal dialog belonged to once the dialog closes, as
// the owner of a closed modal dialog gets it on Windows. A window manager normally does this,
// but not when two dialogs close at once (a notice over the password dialog, then the dialog
// itself): it hands the focus to the closing one and no window is left active.
class FocusReturn : public QObject
{
    Q_OBJECT

public:
    // Watches the modal dialogs of window and of its dialogs.
    explicit FocusReturn(QWidget &window);
    ~FocusReturn() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
};
