#pragma once

// The notes window's three change flags: what the next save must write. A save notes when it
// starts; the flags stay set while it runs, so that anything that asks meanwhile (an exit, the
// log-off, a hide inside the save's wait for the lock) still sees the changes as unsaved. Once
// the file really was written, only what was marked again since the save started stays set;
// a save that fails leaves every flag set and remembers them as unsaved.
class ChangeFlags
{
public:
    bool settings() const { return (m_set & Settings) != 0; }
    bool notes() const { return (m_set & Notes) != 0; }
    bool positions() const { return (m_set & Positions) != 0; }
    bool any() const { return m_set != 0; }

    void markSettings() { mark(Settings); }
    void markNotes() { mark(Notes); }
    void markPositions() { mark(Positions); }

    void saveStarted();
    // written: whether the file really was replaced.
    void saveEnded(bool written);

    // Clears every flag.
    void clear();
    // Clears what was marked but keeps what a failed save could not write.
    void clearAllButUnsaved();

private:
    enum Flag : unsigned
    {
        Settings = 1,
        Notes = 2,
        Positions = 4
    };

    void mark(Flag flag);

    unsigned m_set = 0;
    unsigned m_markedDuringSave = 0;
    unsigned m_unsaved = 0; // what the last failed save could not write
    bool m_saving = false;
};
