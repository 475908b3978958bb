#pragma once

#include "contenthash.h"
#include "inibase.h"
#include "platformfile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The store on a real file: where the file is, a lock file for exclusive use, reading and
// writing its lines (plain or enciphered behind the marker line), a safe replace through a
// temporary file and a side copy, and numbered backup copies.
//
// File names, for a data file <folder>/Quillbox.ini:
//   lock file  <folder>/QuillIni.lck  (first five characters of the base name + "Ini.lck")
//   temporary  <folder>/$$$$$$$$.tmp  (or the next free "$"-padded counter)
//   side file  <folder>/Quillbox.tmp  (the old content while the new one is moved in)
//   backups    <backupDirectory>/Quillbox.000 .. Quillbox.999, at most five kept
class IniFileMain : public IniBase
{
public:
    static constexpr const char *encryptedMarker = "ENCRYPTED DATA DO NOT EDIT";

    explicit IniFileMain(std::string name = {});
    ~IniFileMain() override;

    bool allowBackups() const { return m_allowBackups; }
    void setAllowBackups(bool allow) { m_allowBackups = allow; }
    const std::string &filename() const { return m_filename; }
    void setFilename(std::string filename) { m_filename = std::move(filename); }
    // No backup is made while empty.
    const std::string &backupDirectory() const { return m_backupDirectory; }
    void setBackupDirectory(std::string folder) { m_backupDirectory = std::move(folder); }
    // saveLines writes the enciphered form; reading detects the form by itself.
    bool encrypt() const { return m_encrypt; }
    void setEncrypt(bool encrypt) { m_encrypt = encrypt; }

    // The filename trimmed and resolved: a drive letter ("C:...") or a network path
    // ("\\...") and, on POSIX, an absolute path are used as they stand; a name beginning
    // with "." names the rest in the program folder. Any other name lies in the Windows
    // directory on Windows; on POSIX it is resolved against the program folder.
    std::string fullFileName() const;
    // The file-name part of the data file without leading dots, cut before its first ".".
    std::string baseName() const;
    std::string lockFileName() const;
    // The data file name with its extension replaced by ".tmp".
    std::string sideFileName() const;
    // The first free name of "$$$$$$$$.tmp", "$$$$$$$1.tmp", "$$$$$$$2.tmp" … in the data
    // file's folder; empty when the counter would need more than eight digits.
    std::string tempFileName() const;

    // Up to ten attempts 100 ms apart (through DelayObject) to hold the lock file; none
    // after one that finds no folder for it (reading then goes on without the lock).
    bool lockFile() override;
    // Deletes and closes the lock file.
    void unlockFile() override;
    bool isLocked() const { return m_lockHandle >= 0; }
    // A missing data file with a side file present loads the side file (left by a save that
    // was interrupted between its two renames); a missing data file alone loads nothing.
    bool loadLines(LineBuffer &lines) override;
    bool loadLinesInPieces(const LinePieceTaker &take) override;
    // Writes the temporary file (synced), moves the data file to the side name, moves the
    // temporary file to the data name, deletes the side file, then, while the lock is held,
    // removes the temporary files of earlier saves that no one is writing (each a whole copy
    // left by a save that crashed), and makes the backup.
    // False when any of these steps fails (the file on disk is then the old content).
    bool saveLines(const LineSource &lines) override;

    // The folder that "." names resolve against; by default the running program's folder.
    static void setProgramFolder(std::string folder);
    static std::string programFolder();

    // Milliseconds since midnight (UTC), the clock the seed of a save comes from; an empty
    // clock restores the system clock.
    using Clock = std::function<std::uint32_t()>;
    static void setClock(Clock clock);
    static std::uint32_t millisecondsSinceMidnight();

protected:
    std::uint64_t contentMark() const override { return m_contentMark; }
    // Compares the data file with the fingerprint of the bytes last loaded from it or saved
    // to it (its size first).
    bool holdsContent(std::uint64_t mark) override;

    // The one place where files are renamed, so that tests can make a rename fail; error
    // takes the reason of a failure.
    virtual bool renameFile(const std::string &from, const std::string &to, std::string &error);

private:
    std::string folderOf(const std::string &path) const;
    // The file to load in source: the data file, else a side file, else nothing (empty).
    // False when it cannot be told.
    bool findFileToLoad(std::string &source);
    bool loadFrom(const std::string &source, const LinePieceTaker &take);
    // The file's bytes, piece by piece: every line followed by CR LF, enciphered behind the
    // marker and the seed when encrypt() is set. print takes their fingerprint as they pass.
    PlatformFile::Pieces contentToWrite(const LineSource &lines, ContentHash &print) const;
    bool replaceDataFile(const std::string &temp);
    // Only regular files of the names tempFileName() makes, in the data file's folder.
    void removeStaleTempFiles() const;
    // The data file holds the bytes of `print` (as loaded or just saved); a new mark names them.
    void rememberContent(const ContentHash::Value &print);
    void forgetContent();

    bool m_allowBackups = true;
    std::string m_filename;
    std::string m_backupDirectory;
    bool m_encrypt = false;
    // POSIX file descriptor; on Windows the HANDLE as an integer.
    std::intptr_t m_lockHandle = -1;
    // The fingerprint of the last loadLines or saveLines while it is what the data file holds,
    // and its mark (0: unknown).
    ContentHash::Value m_contentPrint;
    std::uint64_t m_contentMark = 0;
    std::uint64_t m_lastMark = 0;
};
