#pragma once

#include "about/helplauncher.h"
#include "apphotkey.h"
#include "changeflags.h"
#include "notes/notessettings.h"
#include "notes/notesstore.h"
#include "notessaving.h"
#include "pagefinder.h"
#include "pagehighlighting.h"
#include "pagelocking.h"
#include "pagesession.h"
#include "security/lockstate.h"
#include "traypresence.h"
#include "windowbounds.h"
#include "windowcommands.h"
#include "windowpresence.h"
#include "wordcopier.h"

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

    AppHotKey &hotKey() { return m_hotKey; }
    TrayPresence &tray() { return m_tray; }
    // Show, bring to the front, hide: what the hot key and the tray icon do.
    WindowPresence &presence() { return m_presence; }
    // OptionsExecute: the options dialog, then its settings applied, saved and checked.
    void optionsExecute();
    // Opens the help at the section of a help context, or says that it is missing.
    void showHelp(int context);
    void setHelpLauncher(const HelpLauncher &launcher);

    // Pages, in tab order (see PageSession).
    PageSession &pages() { return m_pages; }
    int addPage(const QString &name, const PageRecord &record)
    {
        return m_pages.addPage(name, record);
    }
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

    // Writes the Notes file when a change flag is set (NotesSaving).
    bool saveNotes() { return m_saving.saveNotes(); }
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
    ClipboardGuard &clipboardGuard() { return m_wordCopier.clipboard(); }
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
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void connectCommands();
    bool readNotes();
    // Pages and settings to what the Notes file holds after another copy changed it.
    void takeOutsideChange(const std::optional<NotesStore::OutsideChange> &change);
    bool showsProtectedText() const;

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
    AppHotKey m_hotKey{m_settings, this};
    TrayPresence m_tray;
    WindowPresence m_presence{*this,
                              [this] { return m_tray.isActive() || m_hotKey.isRegistered(); }};
    HelpLauncher m_help{this};
    PageFinder m_finder{*this};
    WordCopier m_wordCopier{*m_editor, *m_statusLine, m_settings,
                            [this] { return showsProtectedText(); }};

    ChangeFlags m_changes;
    NotesSaving m_saving{m_store, m_settings, m_changes, [this] { return m_pages.pagesToWrite(); },
                         this};
    bool m_exitRequested = false;
    PageSession m_pages{{*m_tabs, *m_editor, *m_passwordBar, m_lock, m_highlighting, m_changes}};
    PageLocking m_locking{m_lock, m_settings, m_pages, this,
                          [this](int, int context) { showHelp(context); }};
};
