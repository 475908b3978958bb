#pragma once

#include <QLineEdit>

// The hot-key entry box: the key pressed in it becomes its key, shown by name and yielded as a
// Windows virtual-key code. Ctrl, Alt, Shift and the Windows key are never part of it: pressed
// alone they change nothing, held with another key they are dropped. Esc, Enter and Tab keep
// their dialog meaning.
class HotKeyEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit HotKeyEdit(QWidget *parent = nullptr);

    int virtualKey() const { return m_virtualKey; }
    void setVirtualKey(int virtualKey);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    static bool keepsDialogMeaning(int qtKey);
    static int virtualKeyOf(const QKeyEvent &event);

    int m_virtualKey = 0;
};
