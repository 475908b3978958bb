#include "windowcommands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace {
QAction *command(QWidget *window, const QString &caption, const QString &hint = {},
                 const QKeySequence &shortcut = {})
{
    auto *action = new QAction(caption, window);
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

QMenu *menu(QMenuBar *bar, const QString &title, const QString &name, const QList<QAction *> &items)
{
    QMenu *dropDown = bar->addMenu(title);
    dropDown->setObjectName(name);
    for (QAction *item : items) {
        if (item)
            dropDown->addAction(item);
        else
            dropDown->addSeparator();
    }
    return dropDown;
}
} // namespace

WindowCommands::WindowCommands(QWidget *window)
    : exit(command(window, QStringLiteral("E&xit"), QStringLiteral("Stop program completely"),
                   QKeySequence(Qt::ALT | Qt::Key_X))),
      options(command(window, QStringLiteral("Options"), {}, QKeySequence(Qt::CTRL | Qt::Key_O))),
      find(command(window, QStringLiteral("&Find"), QStringLiteral("Search text"),
                   QKeySequence(Qt::CTRL | Qt::Key_F))),
      hide(command(window, QStringLiteral("&Hide"), QStringLiteral("Save and Hide"),
                   QKeySequence(Qt::Key_Escape))),
      next(command(window, QStringLiteral("Next Page"), {},
                   QKeySequence(Qt::CTRL | Qt::Key_PageDown))),
      prev(command(window, QStringLiteral("Previous Page"), {},
                   QKeySequence(Qt::CTRL | Qt::Key_PageUp))),
      save(command(window, QStringLiteral("&Save"), QStringLiteral("Save"),
                   QKeySequence(Qt::CTRL | Qt::Key_S))),
      findAgain(command(window, QStringLiteral("Find &Again"), QStringLiteral("Search Again"),
                        QKeySequence(Qt::Key_F3))),
      protect(command(window, QStringLiteral("Protect"), {}, QKeySequence(Qt::CTRL | Qt::Key_D))),
      undo(command(window, QStringLiteral("Undo"), {}, QKeySequence(Qt::CTRL | Qt::Key_Z))),
      redo(command(window, QStringLiteral("Redo"), {},
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z))),
      cut(command(window, QStringLiteral("Cu&t"), {}, QKeySequence(Qt::CTRL | Qt::Key_X))),
      copy(command(window, QStringLiteral("&Copy"), {}, QKeySequence(Qt::CTRL | Qt::Key_C))),
      paste(command(window, QStringLiteral("&Paste"), {}, QKeySequence(Qt::CTRL | Qt::Key_V))),
      deleteSelection(command(window, QStringLiteral("&Delete"))),
      setPassword(command(window, QStringLiteral("&Set Password"))),
      disablePassword(command(window, QStringLiteral("Disable Password"))),
      configurePages(command(window, QStringLiteral("Configure Pages"))),
      help(command(window, QStringLiteral("&Help"), {}, QKeySequence(Qt::Key_F1))),
      about(command(window, QStringLiteral("&About"))),
      licence(command(window, QStringLiteral("&Licence"))),
      protectButton(command(window, QStringLiteral("&Protect"),
                            QStringLiteral("Save notes, disable password and Hide"))),
      menuBar(new QMenuBar(window)),
      fileMenu(menu(menuBar, QStringLiteral("&File"), QStringLiteral("File1"),
                    {save, nullptr, hide, protect, exit})),
      editMenu(menu(menuBar, QStringLiteral("&Edit"), QStringLiteral("Edit1"),
                    {undo, redo, nullptr, cut, copy, paste, deleteSelection, nullptr, options})),
      searchMenu(
          menu(menuBar, QStringLiteral("&Search"), QStringLiteral("Search1"), {find, findAgain})),
      securityMenu(menu(menuBar, QStringLiteral("Sec&urity"), QStringLiteral("Security1"),
                        {setPassword, disablePassword})),
      pagesMenu(menu(menuBar, QStringLiteral("&Pages"), QStringLiteral("Pages1"),
                     {prev, next, nullptr, configurePages})),
      helpMenu(
          menu(menuBar, QStringLiteral("&Help"), QStringLiteral("Help1"), {help, about, licence}))
{
    menuBar->setObjectName(QStringLiteral("XMenuBar1"));
    menuBar->setNativeMenuBar(false);
    for (const QAction *action : {exit, options, find, hide, next, prev, save, findAgain, protect,
                                  undo, redo, cut, copy, paste, help})
        m_shortcuts.append(action->shortcut());
}

bool WindowCommands::isShortcut(const QKeySequence &key) const
{
    return m_shortcuts.contains(key);
}

void WindowCommands::setMenuState(std::function<MenuState()> state)
{
    m_menuState = std::move(state);
    for (const QMenu *menu : {editMenu, pagesMenu}) {
        QObject::connect(menu, &QMenu::aboutToShow, menuBar, [this, menu] { updateMenu(menu); });
        QObject::connect(menu, &QMenu::aboutToHide, menuBar, [this] { enableMenus(); });
    }
}

void WindowCommands::connectMenuItem(QAction *item, QObject *context, std::function<void()> command)
{
    const QMenu *menu = editMenu->actions().contains(item) ? editMenu : pagesMenu;
    QObject::connect(item, &QAction::triggered, context, [this, item, menu, command] {
        updateMenu(menu);
        const bool enabled = item->isEnabled();
        enableMenus();
        if (enabled)
            command();
    });
}

// Opening the Edit menu (Edit1Click): undo and redo as the editor can. Opening the Pages menu
// (Pages1Click): no stepping past the first or the last page.
void WindowCommands::updateMenu(const QMenu *menu)
{
    if (!m_menuState)
        return;
    const MenuState state = m_menuState();
    if (menu == editMenu) {
        undo->setEnabled(state.canUndo);
        redo->setEnabled(state.canRedo);
    } else {
        prev->setEnabled(state.hasPrevious);
        next->setEnabled(state.hasNext);
    }
}

void WindowCommands::enableMenus()
{
    for (QAction *item : {undo, redo, prev, next})
        item->setEnabled(true);
}
