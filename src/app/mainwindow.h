#pragma once

#include "about/helplauncher.h"
#include "changeflags.h"
#include "components/clipboardguard.h"
#include "components/globalhotkey.h"
#include "notes/notessettings.h"
#include "notes/notesstore.h"
#include "pagefinder.h"
#include "pagehighlighting.h"
#include "pagesession.h"
#include "security/lockstate.h"
#include "traypresence.h"
#include "windowbounds.h"
#include "windowcommands.h"

#include <QRect>
#include <QWidget>
#include <functional>

class KeyPreview;
class QAction;
class NoteEditor;
class PageTabBar;
class PasswordBar;
class StatusLine;

// The notes window (FmMain): the pages as tabs over one shared editor, the password bar, the
// menus and tool buttons, the status line, and how the window starts, shows, hides, saves and
// ends. Its page session owns the pages and binds the editor to the selected one.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(const QString &notesFile, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The start-up proper, run once by the one-shot timer: reads the Notes file, shows the
    // window, runs the hot-key step, clears the change flags, shows the current page, hides
    // again when "Minimize on Startup" is set or hideAfterStart, and sets the caption.
    void startUp(bool hideAfterStart);
    // The start-up's hot-key step: register the hot key, or run the Options command when there
    // is none or it is taken. The start-up goes on afterwards either way, so the window is
    // always usable. Tests put another step in its place.
    void hotKeyStartUp();
    void setHotKeyStartUp(std::function<void()> step);

    // RegisterAppHotKey: registers the hot key of the settings in place of the one registered
    // before. With none set it returns false and changes nothing; when the system refuses the
    // key the user is told, with the exclamation sound. Keeps and returns the outcome.
    bool registerAppHotKey();
    bool hotKeyRegistered() const { return m_hotKeyRegistered; }
    // What registers a hot key code with the system (the global hot key); tests put a stand-in
    // here.
    void setHotKeyGrab(std::function<bool(int code)> grab);

    TrayPresence &tray() { return m_tray; }
    // OptionsExecute: the options dialog, then its settings applied, saved and checked.
    void optionsExecute();
    // Opens the help at the section of a help context, or says that it is missing.
    void showHelp(int context);
    void setHelpLauncher(const HelpLauncher &launcher);

    // Pages, in tab order (see PageSession).
    PageSession &pages() { return m_pages; }
    int addPage(const QString &name, const PageRecord &record) { return m_pages.addPage(name, record); }
    void deletePage(int index) { m_pages.removePage(index); }
    int pageCount() const { return m_pages.count(); }
    PageRecord *pageRecord(int index) const { return m_pages.record(index); }
    PageRecord *currentPage() const { return m_pages.currentPage(); }
    PageTabBar *tabBar() const { return m_tabs; }

    // Page-leave and page-enter (see PageSession); every change of the selected tab runs both.
    void pageLeave() { m_pages.pageLeave(); }
    void pageEnter() { m_pages.pageEnter(); }
    void nextPage() { m_pages.next(); }
    void previousPage() { m_pages.previous(); }
    void nextPageWrapping() { m_pages.nextWrapping(); }
    void previousPageWrapping() { m_pages.previousWrapping(); }

    // Writes the Notes file when a change flag is set. The flags stay set until the file really
    // was written; a failed save keeps them, so the next save retries. False when the file was
    // not written, also when another save is still running (inside its wait for the lock).
    bool saveNotes();
    // Save (Ctrl+S): saveNotes, and a save that fails is reported to the user with its reason.
    void saveCommand();
    bool settingsChanged() const { return m_changes.settings(); }
    bool notesChanged() const { return m_changes.notes(); }
    bool positionsChanged() const { return m_changes.positions(); }
    // The selected page changed since it was last written.
    bool pageDirty() const { return m_pages.isModified(m_pages.currentIndex()); }
    void setSettingsChanged() { m_changes.markSettings(); }

    NotesSettings &settings() { return m_settings; }
    LockState &lockState() { return m_lock; }
    NotesStore &store() { return m_store; }
    NoteEditor *editor() const { return m_editor; }
    PasswordBar *passwordBar() const { return m_passwordBar; }
    StatusLine *statusLine() const { return m_statusLine; }
    // Copied words go through it; tests give it a clock of their own.
    ClipboardGuard &clipboardGuard() { return m_clipboard; }
    const WindowCommands &commands() const { return m_commands; }

    // Colours, highlighter colours and keywords, word wrap and the gutter from the settings.
    void applySettings();
    void updateCaption();
    void updateStatus();

    // Hide: save and hide, the process runs on; while neither the tray icon nor a hot key
    // could bring the window back, the window is minimized instead. Exit: save and end; when
    // the save fails the user chooses between Retry and exiting anyway. An exit asked for
    // while a save waits for the lock (the log-off and signals included) hides the window at
    // once and ends only after that save, retrying what it could not write.
    void hideWindow();
    void exitProgram();
    bool exitRequested() const { return m_exitRequested; }
    // The hot key and the tray icon: show a hidden window, bring a covered one to the front,
    // hide one that is in front (this window or one of its dialogs is the active window). While
    // a modal dialog of the window is open it is only brought to the front.
    void activateOrHide();
    // Protect: with security on, lock and hide; otherwise Set Password.
    void protect();
    // Disable Password: lock again and show the current page locked when it is protected.
    void disablePassword();
    // Set Password: the password dialog; the settings count as changed whatever the user did.
    void setPassword();
    // Configure Pages: the pages dialog over the tabs; after "Ok" the current page is shown
    // again and the Notes file is written.
    void configurePages();

signals:
    // The window closed for an exit: the application ends.
    void exited();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *createTopBand();
    void connectCommands();
    void waitUntilPlaced();
    bool readNotes();
    bool isInFront() const;
    void bringToFront();
    bool canComeBack() const;
    void saveBeforeExit();
    void exitAfterSave();
    void copyWord();
    bool copiesSecretly() const;
    void showCopyCountdown(int secondsLeft);
    void connectMenuItem(QAction *item, void (MainWindow::*menuHandler)(),
                         std::function<void()> command);
    void updateEditMenu();
    void updatePagesMenu();
    void enableMenus();

    NotesSettings m_settings;
    LockState m_lock{m_settings};
    WindowBounds m_bounds{*this};
    NotesStore m_store{&m_bounds};
    WindowCommands m_commands{this};
    KeyPreview *m_keyPreview;
    PageTabBar *m_tabs;
    PasswordBar *m_passwordBar;
    NoteEditor *m_editor;
    StatusLine *m_statusLine;
    PageHighlighting m_highlighting{*m_editor};
    std::function<void()> m_hotKeyStartUp;
    GlobalHotKey m_hotKey;
    std::function<bool(int)> m_hotKeyGrab;
    TrayPresence m_tray;
    HelpLauncher m_help{this};
    PageFinder m_finder{*this};
    ClipboardGuard m_clipboard;

    QRect m_savedBounds;
    ChangeFlags m_changes;
    bool m_exitRequested = false;
    bool m_hotKeyRegistered = false;
    bool m_minimizedAsHide = false; // hidden as far as it can be: minimized
    bool m_saving = false;
    bool m_exitPending = false;          // an exit waits for the save that is running
    bool m_notesUnreadable = false; // the user was told at start-up that nothing is saved
    PageSession m_pages{{*m_tabs, *m_editor, *m_passwordBar, m_lock, m_highlighting, m_changes}};
};
