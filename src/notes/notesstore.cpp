#include "notesstore.h"

#include "boundscomponent.h"
#include "inistore/inifilemain.h"
#include "inistore/inilinker.h"
#include "inistore/inivarlinker.h"
#include "notesdatetime.h"
#include "noteslayout.h"
#include "notespaths.h"
#include "notessnapshot.h"
#include "notestext.h"
#include "pagemerge.h"

#include <QDir>
#include <filesystem>
#include <optional>

namespace {

// The store takes UTF-8 names on every system (on Windows it hands them to the wide file
// calls); QFile::encodeName would give the ANSI code page there.
std::string localPath(const QString &path)
{
    return path.toStdString();
}

// What the file system tells of a file's content without reading it: a content another copy
// wrote has (nearly always) another size or another modification time.
struct FileStamp
{
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified;

    static std::optional<FileStamp> of(const QString &path)
    {
        const std::filesystem::path file(path.toStdU16String());
        std::error_code error;
        FileStamp stamp;
        stamp.size = std::filesystem::file_size(file, error);
        if (error)
            return std::nullopt;
        stamp.modified = std::filesystem::last_write_time(file, error);
        if (error)
            return std::nullopt;
        return stamp;
    }

    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

} // namespace

struct NotesStore::Impl
{
    explicit Impl(BoundsWindow *boundsWindow)
    {
        file.setDefaultSection("Notes");
        file.setAllowBackups(false);
        if (boundsWindow) {
            window.emplace(*boundsWindow);
            windowLinker.setComponent(&*window);
        }
        windowLinker.setIniMain(&file);
        varLinker.setOnIniReadWrite([this](IniVarLinker &linker, IniVarLinker::VarLinkMode mode) {
            iniVarLinkerReadWrite(linker, mode);
        });
        varLinker.setIniMain(&file);
        file.setOnOutsideChange(
            [this](const LineBuffer &base, const LineBuffer &theirs) {
                mergeOutsideChange(base, theirs);
            });
    }

    // Under the lock of a write that finds the file changed by another copy: the pages are
    // merged with theirs and written again, and stand as written; the settings are left to
    // the store's merge by key.
    void mergeOutsideChange(const LineBuffer &base, const LineBuffer &theirs)
    {
        if (!settings || !pagesWritten)
            return;
        NotesSettings unused;
        QList<StoredPage> basePages;
        QList<StoredPage> theirsPages;
        NotesSnapshot::read(base, unused, basePages);
        NotesSnapshot::read(theirs, unused, theirsPages);
        pageMerge = PageMerge::merge(basePages, *pagesWritten, theirsPages, textOf);
        pagesWritten = &pageMerge->pages;
        varLinker.iniWrite();
        file.resolveAgainstTheirs("Notes TabNames");
        file.resolveAgainstTheirs("Positions");
        file.resolveAgainstTheirs("Topline");
        for (int i = 0; i < pageMerge->pages.size(); ++i) {
            file.resolveAgainstTheirs("Notes Page" + std::to_string(i));
            file.resolveAgainstTheirs("Notes", "Seld" + std::to_string(i));
        }
    }

    // After a write that merged: the settings and pages as the file now holds them.
    void takeMergedContent(NotesSettings &values)
    {
        NotesStore::OutsideChange change;
        {
            const HandlerValues read(*this, values, &change.pages, nullptr);
            varLinker.iniRead();
        }
        if (pageMerge && pageMerge->pages.size() == change.pages.size()) {
            change.writtenIndex = pageMerge->mineIndex;
            change.conflictPages = pageMerge->conflictPages;
        } else {
            change.writtenIndex = QList<int>(change.pages.size(), -1);
        }
        outsideChange = std::move(change);
    }

    // The handler of the variable linker: the settings and pages of the read or write that is
    // running.
    void iniVarLinkerReadWrite(IniVarLinker &linker, IniVarLinker::VarLinkMode mode)
    {
        if (!settings)
            return;
        NotesLayout layout(linker, *settings, &writtenPages);
        if (mode == IniVarLinker::vlRead && pagesRead)
            layout.read(*pagesRead, pageTextForm);
        else if (mode == IniVarLinker::vlWrite && pagesWritten)
            layout.write(*pagesWritten);
    }

    // The reason for the user, naming the Notes file when the reason does not.
    QString describe(const std::string &reason) const
    {
        const QString path = QDir::toNativeSeparators(fileName);
        const QString text = NotesText::fromBytes(reason);
        return text.contains(path) ? text : QStringLiteral("%1: %2").arg(path, text);
    }

    // Hands the values of one read or write to the handler for its duration.
    class HandlerValues
    {
    public:
        HandlerValues(Impl &store, NotesSettings &values, QList<StoredPage> *read,
                      const QList<StoredPage> *written, PageTextForm form = PageTextForm::Lines)
            : m_store(store)
        {
            m_store.settings = &values;
            m_store.pagesRead = read;
            m_store.pagesWritten = written;
            m_store.pageTextForm = form;
        }
        ~HandlerValues()
        {
            m_store.settings = nullptr;
            m_store.pagesRead = nullptr;
            m_store.pagesWritten = nullptr;
            m_store.pageTextForm = PageTextForm::Lines;
        }
        HandlerValues(const HandlerValues &) = delete;
        HandlerValues &operator=(const HandlerValues &) = delete;

    private:
        Impl &m_store;
    };

    IniFileMain file{"IniFileMain1"};
    std::optional<BoundsComponent> window;
    IniLinker windowLinker;
    IniVarLinker varLinker;
    QString fileName;
    QString lastError;
    NotesSettings *settings = nullptr;
    QList<StoredPage> *pagesRead = nullptr;
    const QList<StoredPage> *pagesWritten = nullptr;
    PageTextForm pageTextForm = PageTextForm::Lines;
    std::optional<PageMerge::Result> pageMerge;
    std::optional<NotesStore::OutsideChange> outsideChange;
    PageMerge::TextOf textOf;
    WrittenPageLines writtenPages;
    // The file as this copy last read or wrote it.
    std::optional<FileStamp> stamp;
};

QStringList StoredPage::lines() const
{
    if (textLines)
        return textLines();
    return record.storedLines ? record.storedLines->lines() : record.lines;
}

StoredPage StoredPage::withLines() const
{
    StoredPage page{name, record};
    if (textLines || record.storedLines)
        page.record.lines = lines();
    page.record.storedLines.reset();
    return page;
}

NotesStore::NotesStore(BoundsWindow *window) : d(std::make_unique<Impl>(window)) {}

NotesStore::~NotesStore() = default;

void NotesStore::setFileName(const QString &fullPath)
{
    d->fileName = fullPath;
}

QString NotesStore::fileName() const
{
    return d->fileName;
}

bool NotesStore::read(NotesSettings &settings, QList<StoredPage> &pages, PageTextForm form)
{
    d->outsideChange.reset();
    d->file.setFilename(localPath(d->fileName));
    {
        const Impl::HandlerValues values(*d, settings, &pages, nullptr, form);
        d->file.read();
    }
    if (d->file.readFailed()) {
        d->stamp.reset();
        d->lastError = d->describe(d->file.lastError());
        return false;
    }
    d->stamp = FileStamp::of(d->fileName);
    d->lastError.clear();
    return true;
}

bool NotesStore::write(NotesSettings &settings, const QList<StoredPage> &pages, bool notesChanged,
                       const QDateTime &now)
{
    d->outsideChange.reset();
    d->pageMerge.reset();
    if (d->file.readFailed()) {
        d->lastError = d->describe("The file could not be read at start-up, so it is not "
                                   "written until the program is started again with a "
                                   "readable file.");
        return false;
    }
    if (!makeNotesFolder(d->fileName)) {
        d->lastError = d->describe("The folder of the file cannot be created.");
        return false;
    }
    d->file.setFilename(localPath(d->fileName));
    d->file.setEncrypt(true);
    const double nowValue = NotesDateTime::toValue(now);
    d->file.setAllowBackups(settings.backupNotes && notesChanged &&
                            NotesDateTime::dayOf(settings.lastBackup) !=
                                NotesDateTime::dayOf(nowValue));
    d->file.setBackupDirectory(localPath(settings.backupFolder));
    // A save that fails keeps the date of the last backup, so that the save that retries it
    // still makes the day's backup.
    const double previousBackup = settings.lastBackup;
    settings.lastBackup = nowValue;
    bool written = false;
    {
        const Impl::HandlerValues values(*d, settings, nullptr, &pages);
        written = d->file.write();
    }
    if (!written) {
        d->pageMerge.reset();
        settings.lastBackup = previousBackup;
        d->lastError = d->describe(d->file.lastError());
        return false;
    }
    d->stamp = FileStamp::of(d->fileName);
    if (d->file.mergedOutsideChange())
        d->takeMergedContent(settings);
    d->pageMerge.reset();
    d->lastError.clear();
    return true;
}

const std::optional<NotesStore::OutsideChange> &NotesStore::lastOutsideChange() const
{
    return d->outsideChange;
}

std::optional<NotesStore::OutsideChange>
NotesStore::takeOutsideChange(NotesSettings &settings, const QList<StoredPage> &shown)
{
    if (d->file.readFailed())
        return std::nullopt;
    // Only a file whose size or time moved is compared with what this copy knows of it.
    if (d->stamp && d->stamp == FileStamp::of(d->fileName))
        return std::nullopt;
    if (!d->file.fileChanged())
        return std::nullopt;
    IniFileMain reader;
    reader.setFilename(localPath(d->fileName));
    LineBuffer lines;
    const bool locked = reader.lockFile();
    const bool loaded = reader.loadLines(lines);
    if (locked)
        reader.unlockFile();
    if (!loaded)
        return std::nullopt;
    QList<StoredPage> pages;
    NotesSnapshot::read(lines, settings, pages);
    PageMerge::Result merged = PageMerge::merge(shown, shown, pages, d->textOf);
    return OutsideChange{std::move(merged.pages), std::move(merged.mineIndex), {}};
}

void NotesStore::setPageTextOf(std::function<QString(const QStringList &lines)> textOf)
{
    d->textOf = std::move(textOf);
}

QString NotesStore::lastError() const
{
    return d->lastError;
}
