#include "mainwindow.h"

#include "about/aboutbox.h"
#include "about/weblinks.h"
#include "components/dialogseam.h"
#include "components/productname.h"
#include "editor/noteeditor.h"
#include "editor/textlines.h"
#include "focusreturn.h"
#include "keypreview.h"
#include "options/optionscommand.h"
#include "outsidechanges.h"
#include "pages/pagesdialog.h"
#include "pagetabbar.h"
#include "sealedtext.h"
#include "security/passwordbar.h"
#include "security/passworddialog.h"
#include "statusline.h"
#include "topband.h"
#include "windowpages.h"
#include "windowtexts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

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
    m_store.setPageTextOf([this](const QStringList &lines) {
        return SealedText::comparableText(lines, m_lock.pageKey().keyIfPresent());
    });

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
    layout->addWidget(TopBand::forCommands(m_commands, this));
    layout->addSpacing(4);
    layout->addWidget(m_tabs);
    layout->addWidget(pageArea, 1);
    layout->addWidget(m_statusLine);

    connect(&m_hotKey, &AppHotKey::activated, &m_presence, &WindowPresence::activateOrHide);
    TrayIcon &tray = m_tray.icon();
    tray.setToolTip(QStringLiteral("Activate ") + productName());
    connect(&tray, &TrayIcon::clicked, &m_presence, &WindowPresence::activateOrHide);
    connect(&tray, &TrayIcon::activateRequested, &m_presence, &WindowPresence::activateOrHide);
    connect(&tray, &TrayIcon::hideRequested, this, &QWidget::close);
    connect(&tray, &TrayIcon::exitRequested, this, &MainWindow::exitProgram);
    m_tray.setWanted(true);

    new FocusReturn(*this);

    connectCommands();
    updateCaption();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectCommands()
{
    WindowCommands &c = m_commands;
    connect(c.exit, &QAction::triggered, this, &MainWindow::exitProgram);
    connect(c.hide, &QAction::triggered, this, &MainWindow::hideWindow);
    connect(c.save, &QAction::triggered, &m_saving, &NotesSaving::saveCommand);
    connect(&m_saving, &NotesSaving::exitDue, this, &MainWindow::exitProgram);
    connect(&m_saving, &NotesSaving::saveEnded, &m_pages, &PageSession::writeEnded);
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
    c.setMenuState([this] {
        const int index = m_pages.currentIndex();
        return WindowCommands::MenuState{m_editor->canUndo(), m_editor->canRedo(), index > 0,
                                         index < pageCount() - 1};
    });
    c.connectMenuItem(c.undo, this, [this] { m_editor->undo(); });
    c.connectMenuItem(c.redo, this, [this] { m_editor->redo(); });
    c.connectMenuItem(c.cut, this, onEditor(&NoteEditor::cut));
    c.connectMenuItem(c.copy, this, onEditor(&NoteEditor::copy));
    c.connectMenuItem(c.paste, this, onEditor(&NoteEditor::paste));
    c.connectMenuItem(c.deleteSelection, this, onEditor(&NoteEditor::deleteSelection));
    c.connectMenuItem(c.options, this, [this] { optionsExecute(); });
    c.connectMenuItem(c.prev, this, [this] { previousPage(); });
    c.connectMenuItem(c.next, this, [this] { nextPage(); });
    c.connectMenuItem(c.configurePages, this, [this] { configurePages(); });

    connect(m_keyPreview, &KeyPreview::nextPageWrapping, this, &MainWindow::nextPageWrapping);
    connect(m_keyPreview, &KeyPreview::previousPageWrapping, this,
            &MainWindow::previousPageWrapping);
    connect(&m_pages, &PageSession::entered, this, &MainWindow::updateStatus);
    connect(m_editor, &NoteEditor::changed, this, &MainWindow::updateStatus);
    connect(m_editor, &NoteEditor::statusChanged, this, &MainWindow::updateStatus);
    connect(m_passwordBar, &PasswordBar::revealed, this, [this] {
        m_locking.opened();
        pageEnter();
    });
    connect(&m_presence, &WindowPresence::shownAgain, this, [this] {
        if (!m_changes.any())
            takeOutsideChange(m_store.takeOutsideChange(m_settings, m_pages.storedPages()));
        pageEnter();
    });
    connect(&m_saving, &NotesSaving::outsideChangeMerged, this,
            [this] { takeOutsideChange(m_store.lastOutsideChange()); });
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
    if (HotKeyCode(m_settings.hotKeyCode).isNone() || !m_hotKey.registerAppHotKey())
        optionsExecute();
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
    OptionsServices services =
        OptionsServices::standard([this] { return m_hotKey.registerAppHotKey(); },
                                  [this](int context) { showHelp(context); }, this);
    services.hotKeyRoute = [this] { return m_hotKey.routeText(); };
    services.setEncryption = [this](bool on) {
        pageLeave();
        const bool changed = m_locking.setEncryption(on);
        pageEnter();
        return changed;
    };
    OptionsCommand::execute(m_settings, m_hotKey.registered(), services, window, this);
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
    m_saving.setNotesUnreadable(!readable);
    m_tray.setWanted(m_settings.showTrayIcon);
    m_presence.showAtStart();
    if (!readable)
        DialogSeam::error(this, QStringLiteral("The Notes file cannot be read.\n%1\n\nChanges "
                                               "will not be saved until %2 is started again "
                                               "with a readable Notes file.")
                                    .arg(m_store.lastError(), productName()));
    if (m_hotKeyStartUp)
        m_hotKeyStartUp();
    else
        hotKeyStartUp();
    m_presence.rememberBounds();
    // What reading and showing marked is no change; what a save of the options dialog could
    // not write stays for the next save.
    m_changes.clearAllButUnsaved();
    pageEnter();
    if (m_settings.startHidden || hideAfterStart)
        hideWindow();
    updateCaption();
}

bool MainWindow::readNotes()
{
    QList<StoredPage> pages;
    // Pages not shown yet keep their text as the stored bytes until they are.
    const bool readable = m_store.read(m_settings, pages, PageTextForm::StoredLines);
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

void MainWindow::takeOutsideChange(const std::optional<NotesStore::OutsideChange> &change)
{
    if (!change)
        return;
    // Text typed on the shown page while the save waited for the lock stays.
    const int current = m_pages.currentIndex();
    WindowPages pages(m_pages);
    OutsideChanges::apply(
        *change, pages, current, m_pages.isModified(current) ? current : -1,
        [this](int index, const QStringList &lines) { m_pages.replaceLines(index, lines); });
    applySettings();
    updateCaption();
    switch (m_locking.otherCopysSettingsTaken()) {
    case PageLocking::AfterOtherCopy::Nothing:
        break;
    case PageLocking::AfterOtherCopy::WriteAgain:
        // Not from inside the save that merged the other copy's changes.
        m_changes.markNotes();
        QTimer::singleShot(0, this, [this] { saveNotes(); });
        break;
    case PageLocking::AfterOtherCopy::Lock:
        disablePassword();
        break;
    }
    const QString notice = OutsideChanges::conflictNotice(change->conflictPages);
    if (!notice.isEmpty())
        m_statusLine->setHint(notice);
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
    m_wordCopier.clipboard().clearNow();
    m_exitRequested = true;
    close();
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
    m_locking.lock();
    pageEnter();
}

void MainWindow::setPassword()
{
    m_locking.passwordSet(
        showPasswordDialog(m_lock, this, [this](int, int context) { showHelp(context); }));
    m_changes.markSettings();
}

void MainWindow::configurePages()
{
    pageLeave();
    QHash<const PageRecord *, bool> protectedBefore;
    for (int i = 0; i < m_pages.count(); ++i)
        protectedBefore.insert(m_pages.record(i), m_pages.record(i)->isProtected);
    WindowPages pages(m_pages);
    if (!showPagesDialog(pages, m_lock.securityEnabled(), this,
                         [this](int, int context) { showHelp(context); }))
        return;
    m_locking.protectionChanged(protectedBefore);
    pageEnter();
    m_changes.markSettings();
    saveNotes();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (isVisible()) {
        pageLeave();
        if (m_presence.boundsChanged())
            m_changes.markPositions();
        m_presence.hideOrMinimize(m_exitRequested);
    }
    if (m_exitRequested) {
        if (m_saving.isSaving()) {
            // Inside a save's wait for the lock: the exit runs once that save is over.
            m_saving.exitAfterSave();
            event->ignore();
            return;
        }
        m_saving.saveBeforeExit();
        m_locking.lock();
        event->accept();
        emit exited();
        return;
    }
    event->ignore();
    saveNotes();
    if (m_lock.hideDisablesPassword()) {
        m_lock.setRevealed(false);
        m_pages.unbind();
        m_wordCopier.clipboard().clearNow();
    }
    m_locking.lockUnlessRevealed();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (isVisible())
        m_changes.markPositions();
}

// The editor shows a protected page's own text, not the placeholder of a locked page.
bool MainWindow::showsProtectedText() const
{
    const PageRecord *page = currentPage();
    return page && page->isProtected;
}
