#pragma once

#include "notessettings.h"
#include "pagerecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <memory>

// What the Notes file keeps of one page, in tab order.
struct StoredPage
{
    QString name;
    PageRecord record; // document is never set by the store
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
    explicit NotesStore(BoundsWindow *window);
    ~NotesStore();

    void setFileName(const QString &fullPath);
    QString fileName() const;

    // Reads the file into settings and pages. Values the file does not hold keep what the
    // arguments held. With no page names stored, pages holds the four default pages.
    // Returns false when a file exists but cannot be read: writes stay blocked from then on.
    bool read(NotesSettings &settings, QList<StoredPage> &pages);

    // Writes everything (a save rewrites the whole content), merging under the lock. Makes the
    // daily backup when backups are on, notesChanged is set and the last backup was not today;
    // settings.lastBackup becomes now. Returns true only when the file really was replaced.
    bool write(NotesSettings &settings, const QList<StoredPage> &pages, bool notesChanged,
               const QDateTime &now = QDateTime::currentDateTime());

    // Why the last read or write failed, for the user ("" when it did not).
    QString lastError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
