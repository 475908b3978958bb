#include "windowfixture.h"

#include "app/mainwindow.h"
#include "app/pagetabbar.h"
#include "components/hotkeycode.h"
#include "editor/noteeditor.h"
#include "notes/notesstore.h"

#include <QApplication>
#include <QFile>
#include <QTest>

namespace {
const int CtrlAltN = HotKeyCode::compose(1, 'N').value();
const char *const ConfigHome = "XDG_CONFIG_HOME";
} // namespace

WindowFixture::WindowFixture() : m_userConfigHome(qgetenv(ConfigHome))
{
    qputenv(ConfigHome, QFile::encodeName(m_configHome.path()));
}

WindowFixture::~WindowFixture()
{
    m_window.reset();
    if (m_userConfigHome.isNull())
        qunsetenv(ConfigHome);
    else
        qputenv(ConfigHome, m_userConfigHome);
}

QString WindowFixture::notesPath() const
{
    return m_dir.filePath(QStringLiteral("Quillbox.ini"));
}

void WindowFixture::writeNotes(const QList<TestPage> &pages, const NotesSettings &settings)
{
    QList<StoredPage> stored;
    for (const TestPage &page : pages) {
        StoredPage entry{page.name, {}};
        entry.record.lines = page.lines;
        entry.record.isProtected = page.isProtected;
        entry.record.caretX = 1;
        entry.record.caretY = 1;
        entry.record.topLine = 1;
        stored.append(entry);
    }
    NotesStore store(nullptr);
    store.setFileName(notesPath());
    NotesSettings values = settings;
    QVERIFY(store.write(values, stored, false));
}

MainWindow &WindowFixture::create(const QString &path)
{
    m_window = std::make_unique<MainWindow>(path.isEmpty() ? notesPath() : path);
    m_window->hotKey().setGrab([this](int code) {
        m_grabbedHotKeys.append(code);
        return m_hotKeyGrabWorks;
    });
    return *m_window;
}

MainWindow &WindowFixture::start(const QString &path, HotKeyStep step)
{
    create(path);
    if (step == HotKeyStep::Given) {
        MainWindow *window = m_window.get();
        m_window->setHotKeyStartUp([window] {
            if (HotKeyCode(window->settings().hotKeyCode).isNone())
                window->settings().hotKeyCode = CtrlAltN;
            window->hotKey().registerAppHotKey();
        });
    }
    m_window->startUp(false);
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qWarning("the notes window did not become active");
    return *m_window;
}

void WindowFixture::discard()
{
    m_window.reset();
}

NoteEditor &WindowFixture::editor() const
{
    return *m_window->editor();
}

namespace {
QWidget *keyTarget(const MainWindow &window)
{
    QWidget *focus = QApplication::focusWidget();
    return focus && focus->window() == &window ? focus : window.editor();
}
} // namespace

void WindowFixture::type(const QString &text) const
{
    QWidget *target = keyTarget(*m_window);
    for (const QChar character : text) {
        if (character.unicode() < 128)
            QTest::keyClick(target, char(character.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
    }
}

void WindowFixture::press(Qt::Key key, Qt::KeyboardModifiers modifiers) const
{
    QTest::keyClick(keyTarget(*m_window), key, modifiers);
}

void WindowFixture::clickTab(int index) const
{
    PageTabBar *tabs = m_window->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

namespace {
QList<StoredPage> readNotes(const QString &path, NotesSettings &settings)
{
    NotesStore store(nullptr);
    store.setFileName(path);
    QList<StoredPage> pages;
    if (!store.read(settings, pages))
        qWarning("cannot read %s", qPrintable(path));
    return pages;
}
} // namespace

QList<StoredPage> WindowFixture::pagesIn(const QString &path)
{
    NotesSettings settings;
    return readNotes(path, settings);
}

NotesSettings WindowFixture::settingsIn(const QString &path)
{
    NotesSettings settings;
    readNotes(path, settings);
    return settings;
}

void WindowFixture::saveAsOtherCopy(const QString &path,
                                    const std::function<void(QList<StoredPage> &)> &change)
{
    saveAsOtherCopy(path, [&](NotesSettings &, QList<StoredPage> &pages) { change(pages); });
}

void WindowFixture::saveAsOtherCopy(
    const QString &path, const std::function<void(NotesSettings &, QList<StoredPage> &)> &change)
{
    NotesStore store(nullptr);
    store.setFileName(path);
    NotesSettings settings;
    QList<StoredPage> pages;
    QVERIFY(store.read(settings, pages));
    change(settings, pages);
    QVERIFY(store.write(settings, pages, true));
}

QByteArray WindowFixture::fileBytes() const
{
    QFile file(notesPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
