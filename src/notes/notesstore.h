#pragma once

#include "notessettings.h"
#include "pagerecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// What the Notes file keeps of one page, in tab order.
struct StoredPage
{
    QString name;
    PageRecord record; // document is never set by the store
    // A stamp of the state of the page's text that no other state of any page's text carries
    // in this run, 0 for none: a write keeps the stored lines of a page whose stamp it wrote
    // last time at the same place, without looking at its text.
    std::uint64_t textStamp = 0;
    // For a page whose text lives outside its record (record.lines is then empty): its lines,
    // made when asked for.
    std::function<QStringList()> textLines = {};

    // The page's lines, wherever they live (made from record.storedLines when it holds them).
    QStringList lines() const;
    // The page with its lines in its record, known by them alone (no stamp).
    StoredPage withLines() const;
};

// How a read gives the pages' text: as lines in each record, or as the stored lines' bytes
// (record.storedLines) wherever they come back as the same text, for a reader that leaves most
// pages unshown.
enum class PageTextForm
{
    Lines,
    StoredLines
};

// The window whose normal bounds and maximized state are kept under its object name
// ("FmMain") as "left,top,width,height,maximized".
class BoundsWindow
{
public:
    virtual ~BoundsWindow() = default;
    virtual QString objectName() const = 0;
    virtual QString boundsValue() const = 0;            // the form value of the window now
    virtual void applyBoundsValue(const QString &) = 0; // decode, place in the work area, show
};

// The Notes file: its three store components (the file main, the window linker bound first,
// the variable linker), the read at start-up and saveNotes' write with the daily backup.
class NotesStore
{
public:
    // window may be null: the bounds are then neither read nor written.
    explicit NotesStore(BoundsWindow *window);
    ~NotesStore();

    void setFileName(const QString &fullPath);
    QString fileName() const;

    // Reads the file into settings and pages; the window's bounds are applied first. Settings
    // the file does not hold keep what the argument held. pages is replaced by the stored pages
    // (pages without a stored text start empty); with no page names stored it holds the four
    // default pages "Reminders", "ToDo", "General", "Passwords". Returns false when the file
    // exists but cannot be read: the defaults are used and every later write() fails.
    bool read(NotesSettings &settings, QList<StoredPage> &pages,
              PageTextForm form = PageTextForm::Lines);

    // saveNotes' write: everything is written (a save rewrites the whole content), enciphered,
    // merged into the file's present content under the lock, through a temporary file. The
    // file's folder is created (mode 0700) when missing. Makes the day's backup into
    // settings.backupFolder when settings.backupNotes, notesChanged and the last backup was not
    // made today; settings.lastBackup becomes now. Returns true only when the file really was
    // replaced; a failed write leaves settings.lastBackup as it was.
    bool write(NotesSettings &settings, const QList<StoredPage> &pages, bool notesChanged,
               const QDateTime &now = QDateTime::currentDateTime());

    // What a write that merged another copy's changes left in the file.
    struct OutsideChange
    {
        QList<StoredPage> pages; // as stored, in tab order
        // For each page, the index of the written page it continues, -1 for a page the other
        // copy's changes brought (its text, a page it added, a page keeping its text of a page
        // both copies changed).
        QList<int> writtenIndex;
        QStringList conflictPages; // names of the pages added for texts both copies changed
    };
    // Set by a write that found the file changed by another copy since this copy last read or
    // wrote it, and merged: the pages are merged (see PageMerge), the settings by key, and
    // write()'s settings then hold the merged values. Empty after any other read or write.
    const std::optional<OutsideChange> &lastOutsideChange() const;

    // For a copy without unsaved changes, when the file changed since this copy last read or
    // wrote it: settings take the values the file holds, and the pages it holds are given
    // with the pages of `shown` they continue. Empty when the file is unchanged or cannot be
    // read (or was not readable at start-up). A file whose size and modification time are still
    // those of this copy's last read or write counts as unchanged without being read (a save
    // compares the content under the lock in any case).
    std::optional<OutsideChange> takeOutsideChange(NotesSettings &settings,
                                                   const QList<StoredPage> &shown);

    // What page texts compare as when a write merges another copy's changes (PageMerge's
    // text rule); none: as they are stored.
    void setPageTextOf(std::function<QString(const QStringList &lines)> textOf);

    // Why the last read or write failed, one line for the user naming the Notes file ("" when
    // it did not fail).
    QString lastError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
