#pragma once

#include <QKeySequence>
#include <QList>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QObject;
class QWidget;

// Every command of the notes window as an action with its caption, hint and shortcut, and the
// six drop-down menus of its flat menu bar. The shortcuts belong to the window, so they work
// from every control in it.
class WindowCommands
{
public:
    explicit WindowCommands(QWidget *window);

    // The action list, in its order.
    QAction *const exit;
    QAction *const options;
    QAction *const find;
    QAction *const hide;
    QAction *const next;
    QAction *const prev;
    QAction *const save;
    QAction *const findAgain;

    // Menu items with handlers of their own.
    QAction *const protect;
    QAction *const undo;
    QAction *const redo;
    QAction *const cut;
    QAction *const copy;
    QAction *const paste;
    QAction *const deleteSelection;
    QAction *const setPassword;
    QAction *const disablePassword;
    QAction *const configurePages;
    QAction *const help;
    QAction *const about;
    QAction *const licence;

    // The tool button "&Protect" (the menu's Protect has its own caption and shortcut).
    QAction *const protectButton;

    QMenuBar *const menuBar;
    QMenu *const fileMenu;
    QMenu *const editMenu;
    QMenu *const searchMenu;
    QMenu *const securityMenu;
    QMenu *const pagesMenu;
    QMenu *const helpMenu;

    // Whether a key press is one of the commands' shortcuts: such a key runs the command
    // before any control of the window sees it.
    bool isShortcut(const QKeySequence &key) const;

    // What the items of the Edit and Pages menus may do now.
    struct MenuState
    {
        bool canUndo = true;
        bool canRedo = true;
        bool hasPrevious = true;
        bool hasNext = true;
    };
    // Opening the Edit menu brings undo and redo up to date from state, opening the Pages menu
    // the page steps; closed, the menus keep every item enabled.
    void setMenuState(std::function<MenuState()> state);
    // An item of the Edit or Pages menu runs as the menu runs it, also through its shortcut:
    // the menu's items are brought up to date first and command runs only when the item is
    // enabled then. Closed menus keep every item enabled, so that each shortcut reaches this
    // point and is taken by the window whatever the item's state.
    void connectMenuItem(QAction *item, QObject *context, std::function<void()> command);

private:
    void updateMenu(const QMenu *menu);
    void enableMenus();

    QList<QKeySequence> m_shortcuts;
    std::function<MenuState()> m_menuState;
};
