#pragma once

#include "notes/notessettings.h"
#include "notes/notesstore.h"

#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class MainWindow;
class NoteEditor;

struct TestPage
{
    QString name;
    QStringList lines;
    bool isProtected = false;
};

// A Notes file in a temporary folder and a notes window started on it, shown and active, as
// the program's start-up timer leaves it. The window's hot key is a stand-in that registers
// whatever it is given (unless told to refuse), and when the Notes file names no hot key the
// start-up gives it Ctrl+Alt+N as a user would in the options dialog, so that a hide really
// hides. Tests of the options step itself use the window's own start-up step. While the
// fixture lives, XDG_CONFIG_HOME names a temporary folder of its own, so the start-up entry
// the options dialog reads and writes is never the user's.
class WindowFixture
{
public:
    WindowFixture();
    ~WindowFixture();

    QString notesPath() const;
    // Writes the Notes file the next window starts from, through the program's own store.
    void writeNotes(const QList<TestPage> &pages, const NotesSettings &settings = {});

    enum class HotKeyStep
    {
        Given,   // a hot key is registered without asking
        Program, // the window's own step: the options dialog when there is no working hot key
    };

    // Makes a window on the Notes file (notesPath() unless another is given) with the stand-in
    // hot key registration, and does not start it: the test runs startUp() itself.
    MainWindow &create(const QString &path = {});
    // Makes a window on the Notes file (notesPath() unless another is given) and starts it.
    MainWindow &start(const QString &path = {}, HotKeyStep step = HotKeyStep::Given);
    // Whether the stand-in hot key registration succeeds (it does unless told otherwise).
    void setHotKeyGrabWorks(bool works) { m_hotKeyGrabWorks = works; }
    QList<int> grabbedHotKeys() const { return m_grabbedHotKeys; }
    // Ends the window without saving, as a crash would: what the file holds stays.
    void discard();
    MainWindow &window() const { return *m_window; }
    NoteEditor &editor() const;

    // Keys as the user types them, to the focused control.
    void type(const QString &text) const;
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    // A click on the page's tab.
    void clickTab(int index) const;

    QByteArray fileBytes() const;
    // What a Notes file holds, read through the program's own store.
    static QList<StoredPage> pagesIn(const QString &path);
    static NotesSettings settingsIn(const QString &path);
    // Another copy of the program on the same Notes file: reads it, changes its pages, saves.
    static void saveAsOtherCopy(const QString &path,
                                const std::function<void(QList<StoredPage> &)> &change);
    // The same, changing its settings too.
    static void saveAsOtherCopy(
        const QString &path,
        const std::function<void(NotesSettings &, QList<StoredPage> &)> &change);
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // The folder XDG_CONFIG_HOME names while the fixture lives.
    QString configHome() const { return m_configHome.path(); }

private:
    QTemporaryDir m_configHome;
    QByteArray m_userConfigHome;
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    bool m_hotKeyGrabWorks = true;
    QList<int> m_grabbedHotKeys;
};
