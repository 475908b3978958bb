#pragma once

#include <QWidget>

class QMenuBar;
class QToolButton;
class WindowCommands;

// The band at the top of the notes window (CoolBar1): the menu bar and, beside it, the tool
// buttons, on one menu-bar background that runs the whole width of the window, line below
// included. The buttons stand on the same line as the menu titles, as high as they are.
class TopBand : public QWidget
{
    Q_OBJECT

public:
    TopBand(QMenuBar *menuBar, const QList<QToolButton *> &tools, QWidget *parent = nullptr);
    // The notes window's band: its commands' menu bar, and the tool buttons Hide, Protect and
    // Save with their icons.
    static TopBand *forCommands(const WindowCommands &commands, QWidget *parent);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void alignTools();

    QMenuBar *m_menuBar;
    QWidget *m_tools;
    QList<QToolButton *> m_toolButtons;
};
