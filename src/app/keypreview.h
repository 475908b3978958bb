#pragma once

#include <QObject>

class WindowCommands;
class QWidget;

// The window's first look at every key pressed in it, before the focused control: a command's
// shortcut always runs the command (the editor and the password box cannot claim it, so Esc
// hides from the password box and Ctrl+V never pastes into it), and Ctrl+Tab and
// Ctrl+Shift+Tab step through the pages instead of reaching the editor.
class KeyPreview : public QObject
{
    Q_OBJECT

public:
    KeyPreview(QWidget &window, const WindowCommands &commands);
    ~KeyPreview() override;

signals:
    void nextPageWrapping();
    void previousPageWrapping();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
    const WindowCommands &m_commands;
};
