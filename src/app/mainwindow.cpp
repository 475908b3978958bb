#include "mainwindow.h"

#include "about/aboutbox.h"
#include "about/weblinks.h"
#include "components/dialogseam.h"
#include "components/productname.h"
#include "editor/copyword.h"
#include "editor/noteeditor.h"
#include "focusreturn.h"
#include "keypreview.h"
#include "options/optionscommand.h"
#include "pages/pagesdialog.h"
#include "pagetabbar.h"
#include "security/passwordbar.h"
#include "security/passworddialog.h"
#include "statusline.h"
#include "topband.h"
#include "windowpages.h"
#include "windowtexts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {
constexpr int PlacementWaitMs = 1000;

QToolButton *toolButton(QAction *action, const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
} // namespace

MainWindow::MainWindow(const QString &notesFile, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_keyPreview(new KeyPreview(*this, m_commands)), m_tabs(new PageTabBar(this)),
      m_passwordBar(new PasswordBar(m_lock, this)), m_editor(new NoteEditor(this)),
      m_statusLine(new StatusLine(WebLinks::webSite().toString(), this))
{
    setObjectName(QStringLiteral("FmMain"));
    m_bounds.applyDesignedBounds();
    setMinimumSize(535, 100);
    m_store.setFileName(notesFile);

    m_editor->setObjectName(QStringLiteral("Memo"));
    applySettings();

    auto *pageArea = new QFrame(this);
    pageArea->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto *pageLayout = new QVBoxLayout(pageArea);
    pageLayout->setContentsMargins(2, 2, 2, 2);
    pageLayout->setSpacing(0);
    pageLayout->addWidget(m_passwordBar);
    pageLayout->addWidget(m_editor, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(createTopBand());
    layout->addSpacing(4);
    layout->addWidget(m_tabs);
    layout->addWidget(pageArea, 1);
    layout->addWidget(m_statusLine);

    m_hotKeyGrab = [this](int code) { return m_hotKey.registerHotKey(code); };
    connect(&m_hotKey, &GlobalHotKey::activated, this, &MainWindow::activateOrHide);
    TrayIcon &tray = m_tray.icon();
    tray.setToolTip(QStringLiteral("Activate ") + productName());
    connect(&tray, &TrayIcon::clicked, this, &MainWindow::activateOrHide);
    connect(&tray, &TrayIcon::activateRequested, this, &MainWindow::activateOrHide);
    connect(&tray, &TrayIcon::hideRequested, this, &QWidget::close);
    connect(&tray, &TrayIcon::exitRequested, this, &MainWindow::exitProgram);
    m_tray.setWanted(true);

    new FocusReturn(*this);

    connectCommands();
    updateCaption();
}

MainWindow::~MainWindow() = default;

QWidget *MainWindow::createTopBand()
{
    m_commands.hide->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    m_commands.protectButton->setIcon(style()->standardIcon(QStyle::SP_DialogNoButton));
    m_commands.save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    return new TopBand(m_commands.menuBar,
                       {toolButton(m_commands.hide, QStringLiteral("BtnHide"), this),
                        toolButton(m_commands.protectButton, QStringLiteral("BtnProtect"), this),
                        toolButton(m_commands.save, QStringLiteral("BtnSave"), this)},
                       this);
}

void MainWindow::connectCommands()
{
    const WindowCommands &c = m_commands;
    connect(c.exit, &QAction::triggered, this, &MainWindow::exitProgram);
    connect(c.hide, &QAction::triggered, this, &MainWindow::hideWindow);
    connect(c.save, &QAction::triggered, this, &MainWindow::saveCommand);
    connect(c.protect, &QAction::triggered, this, &MainWindow::protect);
    connect(c.protectButton, &QAction::triggered, this, &MainWindow::protect);
    connect(c.disablePassword, &QAction::triggered, this, &MainWindow::disablePassword);
    connect(c.setPassword, &QAction::triggered, this, &MainWindow::setPassword);
    connect(c.find, &QAction::triggered, this, [this] { m_finder.showFindDialog(); });
    connect(c.findAgain, &QAction::triggered, this, [this] { m_finder.searchPages(); });
    connect(c.help, &QAction::triggered, this, [this] { showHelp(HelpLauncher::Contents); });
    connect(c.about, &QAction::triggered, this,
            [this] { AboutBox::showAboutBox(AboutBox::Mode::About, this); });
    connect(c.licence, &QAction::triggered, this,
            [this] { AboutBox::showAboutBox(AboutBox::Mode::Licence, this); });
    const auto onEditor = [this](void (NoteEditor::*command)()) {
        return [this, command] {
            if (m_editor->isVisible() && !m_editor->isReadOnly())
                (m_editor->*command)();
        };
    };
    const auto editItem = [this](QAction *item, std::function<void()> command) {
        connectMenuItem(item, &MainWindow::updateEditMenu, std::move(command));
    };
    editItem(c.undo, [this] { m_editor->undo(); });
    editItem(c.redo, [this] { m_editor->redo(); });
    editItem(c.cut, onEditor(&NoteEditor::cut));
    editItem(c.copy, onEditor(&NoteEditor::copy));
    editItem(c.paste, onEditor(&NoteEditor::paste));
    editItem(c.deleteSelection, onEditor(&NoteEditor::deleteSelection));
    editItem(c.options, [this] { optionsExecute(); });
    const auto pagesItem = [this](QAction *item, std::function<void()> command) {
        connectMenuItem(item, &MainWindow::updatePagesMenu, std::move(command));
    };
    pagesItem(c.prev, [this] { previousPage(); });
    pagesItem(c.next, [this] { nextPage(); });
    pagesItem(c.configurePages, [this] { configurePages(); });
    connect(c.editMenu, &QMenu::aboutToShow, this, &MainWindow::updateEditMenu);
    connect(c.pagesMenu, &QMenu::aboutToShow, this, &MainWindow::updatePagesMenu);
    connect(c.editMenu, &QMenu::aboutToHide, this, &MainWindow::enableMenus);
    connect(c.pagesMenu, &QMenu::aboutToHide, this, &MainWindow::enableMenus);

    connect(m_keyPreview, &KeyPreview::nextPageWrapping, this, &MainWindow::nextPageWrapping);
    connect(m_keyPreview, &KeyPreview::previousPageWrapping, this,
            &MainWindow::previousPageWrapping);
    connect(&m_pages, &PageSession::entered, this, &MainWindow::updateStatus);
    connect(m_editor, &NoteEditor::changed, this, &MainWindow::updateStatus);
    connect(m_editor, &NoteEditor::statusChanged, this, &MainWindow::updateStatus);
    connect(m_editor, &NoteEditor::doubleClicked, this, &MainWindow::copyWord);
    connect(&m_clipboard, &ClipboardGuard::countdownChanged, this, &MainWindow::showCopyCountdown);
    connect(m_passwordBar, &PasswordBar::revealed, this, &MainWindow::pageEnter);
    connect(m_statusLine, &StatusLine::clicked, this, [this] { WebLinks::openWebSite(this); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    saveNotes();
            });
}

void MainWindow::setHotKeyStartUp(std::function<void()> step)
{
    m_hotKeyStartUp = std::move(step);
}

void MainWindow::hotKeyStartUp()
{
    if (HotKeyCode(m_settings.hotKeyCode).isNone() || !registerAppHotKey())
        optionsExecute();
}

bool MainWindow::registerAppHotKey()
{
    if (HotKeyCode(m_settings.hotKeyCode).isNone())
        return false;
    m_hotKeyRegistered = m_hotKeyGrab(m_settings.hotKeyCode);
    if (!m_hotKeyRegistered) {
        QApplication::beep();
        DialogSeam::ask(this, DialogSeam::Kind::Plain,
                        QStringLiteral("Hot Key combination is already in use please try another"));
    }
    return m_hotKeyRegistered;
}

void MainWindow::setHotKeyGrab(std::function<bool(int)> grab)
{
    m_hotKeyGrab = std::move(grab);
}

void MainWindow::optionsExecute()
{
    const OptionsWindow window{
        [this] { applySettings(); },
        [this] {
            m_changes.markSettings();
            saveNotes();
        },
        [this](bool visible) { m_tray.setWanted(visible); },
        [this] { updateCaption(); },
    };
    const OptionsServices services = OptionsServices::standard(
        [this] { return registerAppHotKey(); }, [this](int context) { showHelp(context); }, this);
    OptionsCommand::execute(m_settings, m_hotKeyRegistered, services, window, this);
}

void MainWindow::showHelp(int context)
{
    m_help.showHelp(context);
}

void MainWindow::setHelpLauncher(const HelpLauncher &launcher)
{
    m_help = launcher;
}

void MainWindow::startUp(bool hideAfterStart)
{
    const bool readable = readNotes();
    m_notesUnreadable = !readable;
    m_tray.setWanted(m_settings.showTrayIcon);
    show();
    raise();
    activateWindow();
    waitUntilPlaced();
    if (!readable)
        DialogSeam::error(this, QStringLiteral("The Notes file cannot be read.\n%1\n\nChanges "
                                               "will not be saved until %2 is started again "
                                               "with a readable Notes file.")
                                    .arg(m_store.lastError(), productName()));
    if (m_hotKeyStartUp)
        m_hotKeyStartUp();
    else
        hotKeyStartUp();
    m_savedBounds = normalGeometry();
    // What reading and showing marked is no change; what a save of the options dialog could
    // not write stays for the next save.
    m_changes.clearAllButUnsaved();
    pageEnter();
    if (m_settings.startHidden || hideAfterStart)
        hideWindow();
    updateCaption();
}

// A new window is placed by the window manager in its own time; what the start-up opens over
// the window (the options dialog, a message) is centred on it only once it stands in its place.
void MainWindow::waitUntilPlaced()
{
    const QWindow *window = windowHandle();
    if (!window || window->isExposed())
        return;
    const QDeadlineTimer deadline(PlacementWaitMs);
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (window->isExposed() || deadline.hasExpired())
            loop.quit();
    });
    poll.start(10);
    loop.exec();
}

bool MainWindow::readNotes()
{
    QList<StoredPage> pages;
    const bool readable = m_store.read(m_settings, pages);
    applySettings();
    for (const StoredPage &page : pages)
        m_pages.addPage(page.name, page.record);
    return readable;
}

void MainWindow::applySettings()
{
    m_highlighting.apply(m_settings);
    m_settings.keywords = m_highlighting.keywords();
    m_editor->setWordWrap(m_settings.wrapText);
    m_editor->setGutterVisible(m_settings.gutterVisible);
}

bool MainWindow::saveNotes()
{
    if (!m_changes.any())
        return true;
    if (m_saving)
        return false;
    bool written = false;
    {
        const QScopedValueRollback saving(m_saving, true);
        pageLeave();
        // The store waits for the lock handling events: what is marked meanwhile stays set for
        // the next save.
        m_changes.saveStarted();
        m_pages.writeStarted();
        written = m_store.write(m_settings, m_pages.storedPages(), m_changes.notes());
        m_pages.writeEnded(written);
        m_changes.saveEnded(written);
    }
    if (m_exitPending)
        QTimer::singleShot(0, this, &MainWindow::exitAfterSave);
    return written;
}

void MainWindow::saveCommand()
{
    if (saveNotes() || m_saving || m_exitPending || m_notesUnreadable)
        return;
    DialogSeam::error(
        this, QStringLiteral("The Notes file could not be saved.\n%1").arg(m_store.lastError()));
}

void MainWindow::updateCaption()
{
    setWindowTitle(WindowTexts::caption(m_settings.hotKeyCode));
}

void MainWindow::updateStatus()
{
    m_statusLine->setCaretText(WindowTexts::caretPosition(m_editor->caretY(), m_editor->caretX()));
}

void MainWindow::hideWindow()
{
    m_exitRequested = false;
    close();
}

void MainWindow::exitProgram()
{
    // A secret word does not outlive the program on the clipboard; it goes before the exit
    // saves, which may wait for the Notes file or ask the user.
    m_clipboard.clearNow();
    m_exitRequested = true;
    close();
}

void MainWindow::activateOrHide()
{
    const bool wasVisible = isVisible();
    if (wasVisible && !isMinimized() && isInFront() && !QApplication::activeModalWidget()) {
        close();
        return;
    }
    bringToFront();
    if (!wasVisible) {
        QCoreApplication::processEvents();
        m_savedBounds = normalGeometry();
        if (isVisible())
            pageEnter();
    }
}

// This window or one of its dialogs has the keyboard.
bool MainWindow::isInFront() const
{
    for (const QWidget *window = QApplication::activeWindow(); window;
         window = window->parentWidget()) {
        if (window == this)
            return true;
    }
    return false;
}

void MainWindow::bringToFront()
{
    show();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    if (QWidget *dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
    }
}

// A hidden window comes back through the tray icon or the hot key; without both it must stay
// within reach on the task bar.
bool MainWindow::canComeBack() const
{
    return m_tray.isActive() || m_hotKeyRegistered;
}

void MainWindow::protect()
{
    if (!m_lock.securityEnabled()) {
        setPassword();
        return;
    }
    m_lock.setRevealed(false);
    hideWindow();
}

void MainWindow::disablePassword()
{
    pageLeave();
    m_lock.setRevealed(false);
    pageEnter();
}

void MainWindow::setPassword()
{
    showPasswordDialog(m_lock, this, [this](int, int context) { showHelp(context); });
    m_changes.markSettings();
}

void MainWindow::configurePages()
{
    pageLeave();
    WindowPages pages(m_pages);
    if (!showPagesDialog(pages, m_lock.securityEnabled(), this,
                         [this](int, int context) { showHelp(context); }))
        return;
    pageEnter();
    m_changes.markSettings();
    saveNotes();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (isVisible()) {
        pageLeave();
        if (normalGeometry() != m_savedBounds)
            m_changes.markPositions();
        if (m_exitRequested || canComeBack()) {
            hide();
        } else if (!m_minimizedAsHide) {
            m_minimizedAsHide = true;
            setWindowState(windowState() | Qt::WindowMinimized);
        }
    }
    if (m_exitRequested) {
        if (m_saving) {
            // Inside a save's wait for the lock: the exit runs once that save is over.
            m_exitPending = true;
            event->ignore();
            return;
        }
        saveBeforeExit();
        m_exitPending = false;
        event->accept();
        emit exited();
        return;
    }
    event->ignore();
    saveNotes();
    if (m_lock.hideDisablesPassword()) {
        m_lock.setRevealed(false);
        m_pages.unbind();
        m_clipboard.clearNow();
    }
}

void MainWindow::saveBeforeExit()
{
    while (!saveNotes()) {
        const QMessageBox::StandardButton answer = DialogSeam::ask(
            this, DialogSeam::Kind::Error,
            QStringLiteral("The Notes file could not be saved.\n%1\n\nRetry, or Ignore to exit "
                           "anyway and lose the changes made since the last save.")
                .arg(m_store.lastError()),
            QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Retry, QMessageBox::Critical);
        if (answer != QMessageBox::Retry)
            return;
    }
}

void MainWindow::exitAfterSave()
{
    if (std::exchange(m_exitPending, false))
        exitProgram();
}

// A window minimized in place of a hide that comes back shows its page afresh, as a hidden
// window does when it is shown again.
void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !m_minimizedAsHide || isMinimized())
        return;
    m_minimizedAsHide = false;
    m_savedBounds = normalGeometry();
    pageEnter();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (isVisible())
        m_changes.markPositions();
}

void MainWindow::copyWord()
{
    const QString text = m_editor->text();
    const WordRange word = copyWordRange(text, m_editor->selStart());
    m_editor->setSelStart(word.start);
    m_editor->setSelLength(word.length);
    if (word.length == 0)
        return;
    const QString copied = text.mid(word.start, word.length);
    if (copiesSecretly())
        m_clipboard.copySecret(copied, m_settings.clipClearSecs);
    else
        m_clipboard.copyPlain(copied);
}

// A word of a protected page's own text is a secret, and so is every word when the user asks
// for it; the placeholder of a locked page is not.
bool MainWindow::copiesSecretly() const
{
    if (m_settings.clipClearAll)
        return true;
    const PageRecord *page = currentPage();
    return page && page->isProtected;
}

void MainWindow::showCopyCountdown(int secondsLeft)
{
    if (secondsLeft < 0)
        m_statusLine->resetHint();
    else
        m_statusLine->setHint(WindowTexts::copiedHint(secondsLeft));
}

// An item of the Edit or Pages menu runs as the menu runs it, also through its shortcut: the
// menu's handler first brings the items' enabled states up to date, and the item runs only when
// it is enabled then. Closed, the menus keep every item enabled, so that each shortcut reaches
// this point and is taken by the window whatever the item's state.
void MainWindow::connectMenuItem(QAction *item, void (MainWindow::*menuHandler)(),
                                 std::function<void()> command)
{
    connect(item, &QAction::triggered, this, [this, item, menuHandler, command] {
        (this->*menuHandler)();
        const bool enabled = item->isEnabled();
        enableMenus();
        if (enabled)
            command();
    });
}

// Opening the Edit menu (Edit1Click): undo and redo as the editor can.
void MainWindow::updateEditMenu()
{
    m_commands.undo->setEnabled(m_editor->canUndo());
    m_commands.redo->setEnabled(m_editor->canRedo());
}

// Opening the Pages menu (Pages1Click): no stepping past the first or the last page.
void MainWindow::updatePagesMenu()
{
    m_commands.prev->setEnabled(m_pages.currentIndex() > 0);
    m_commands.next->setEnabled(m_pages.currentIndex() < pageCount() - 1);
}

void MainWindow::enableMenus()
{
    for (QAction *item : {m_commands.undo, m_commands.redo, m_commands.prev, m_commands.next})
        item->setEnabled(true);
}
