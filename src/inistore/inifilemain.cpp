#include "inifilemain.h"

#include "backuprotation.h"
#include "delayobject.h"
#include "initext.h"
#include "linecipher.h"
#include "lineloader.h"
#include "linepieces.h"
#include "platformfile.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>

namespace {

constexpr int lockAttempts = 10;
constexpr int lockWaitMs = 100;

std::string &programFolderSetting()
{
    static std::string folder;
    return folder;
}

IniFileMain::Clock &clockSetting()
{
    static IniFileMain::Clock clock;
    return clock;
}

// A name tempFileName() makes: "$$$$$$$$.tmp", or a counter from 1 without leading zeros
// padded on the left with at least one "$" to eight characters ("$$$$$$$1.tmp", "$$$$$$12.tmp").
bool isTempFileName(std::string_view name)
{
    constexpr std::size_t stemSize = 8;
    if (name.size() != stemSize + 4 || name.substr(stemSize) != ".tmp")
        return false;
    const std::string_view stem = name.substr(0, stemSize);
    const std::size_t digits = stem.find_first_not_of('$');
    if (digits == 0)
        return false;
    if (digits == std::string_view::npos)
        return true;
    const std::string_view counter = stem.substr(digits);
    return counter.front() != '0' &&
           std::all_of(counter.begin(), counter.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

IniFileMain::IniFileMain(std::string name) : IniBase(std::move(name))
{
    setIniMode(IniMode::imGlobal);
}

IniFileMain::~IniFileMain()
{
    if (isLocked())
        unlockFile();
}

std::string IniFileMain::fullFileName() const
{
    const std::string name(IniText::trim(m_filename));
    const bool driveLetter = name.find(':') == 1;
    const bool networkPath = name.rfind("\\\\", 0) == 0;
#ifdef _WIN32
    const bool absolute = driveLetter || networkPath;
#else
    const bool absolute = driveLetter || networkPath || name.rfind('/', 0) == 0;
#endif
    if (absolute)
        return name;
    if (name.rfind('.', 0) == 0)
        return programFolder() + name.substr(1);
#ifdef _WIN32
    return PlatformFile::windowsFolder() + name;
#else
    // No system folder takes data files here: a bare name lies in the program folder.
    return programFolder() + name;
#endif
}

std::string IniFileMain::baseName() const
{
    const std::string full = fullFileName();
    std::string base = full.substr(folderOf(full).size());
    base.erase(0, base.find_first_not_of('.'));
    return base.substr(0, base.find('.'));
}

std::string IniFileMain::lockFileName() const
{
    return folderOf(fullFileName()) + baseName().substr(0, 5) + "Ini.lck";
}

std::string IniFileMain::sideFileName() const
{
    const std::string full = fullFileName();
    const std::size_t nameStart = folderOf(full).size();
    const std::size_t dot = full.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= nameStart;
    const std::string extension = hasExtension ? full.substr(dot) : std::string();
    // A data file that already ends in ".tmp" keeps it and gets another, so that its side
    // file is never the data file itself.
    if (IniText::sameText(extension, ".tmp"))
        return full + ".tmp";
    return (hasExtension ? full.substr(0, dot) : full) + ".tmp";
}

std::string IniFileMain::tempFileName() const
{
    const std::string folder = folderOf(fullFileName());
    std::string candidate = "$$$$$$$$";
    for (long counter = 1;; ++counter) {
        std::string error;
        const std::string path = folder + candidate + ".tmp";
        if (PlatformFile::existence(path, error) == PlatformFile::Existence::Missing)
            return path;
        const std::string digits = std::to_string(counter);
        if (digits.size() > 8)
            return {};
        candidate = std::string(8 - digits.size(), '$') + digits;
    }
}

bool IniFileMain::lockFile()
{
    if (isLocked())
        return false;
    const std::string path = lockFileName();
    std::string error;
    bool folderMissing = false;
    for (int attempt = 0; attempt < lockAttempts && !folderMissing; ++attempt) {
        m_lockHandle = PlatformFile::tryLock(path, error, folderMissing);
        if (isLocked())
            return true;
        if (!folderMissing)
            DelayObject::delay(lockWaitMs);
    }
    setLastError("The lock file " + path + " cannot be held: " + error);
    return false;
}

void IniFileMain::unlockFile()
{
    if (!isLocked())
        return;
    PlatformFile::unlock(m_lockHandle, lockFileName());
    m_lockHandle = -1;
}

bool IniFileMain::loadLines(LineBuffer &lines)
{
    forgetContent();
    std::string source;
    if (!findFileToLoad(source))
        return false;
    if (source.empty())
        return true;
    lines.clear();
    return loadFrom(source, [&lines](const LineBuffer &piece) { lines.append(piece); });
}

bool IniFileMain::loadLinesInPieces(const LinePieceTaker &take)
{
    forgetContent();
    std::string source;
    return findFileToLoad(source) && (source.empty() || loadFrom(source, take));
}

bool IniFileMain::findFileToLoad(std::string &source)
{
    const std::string full = fullFileName();
    std::string error;
    switch (PlatformFile::existence(full, error)) {
    case PlatformFile::Existence::Unknown:
        setLastError("The file " + full + " cannot be read: " + error);
        return false;
    case PlatformFile::Existence::Missing:
        source = sideFileName();
        if (PlatformFile::existence(source, error) != PlatformFile::Existence::Present)
            source.clear();
        return true;
    case PlatformFile::Existence::Present:
        break;
    }
    source = full;
    return true;
}

bool IniFileMain::loadFrom(const std::string &source, const LinePieceTaker &take)
{
    ContentHash print;
    std::string error;
    if (!LineLoader(encryptedMarker).load(source, take, print, error)) {
        setLastError("The file " + source + " cannot be read: " + error);
        return false;
    }
    if (source == fullFileName())
        rememberContent(print.value());
    return true;
}

bool IniFileMain::saveLines(const LineSource &lines)
{
    forgetContent();
    if (IniText::trim(m_filename).empty()) {
        setLastError("No file name is set.");
        return false;
    }
    const std::string temp = tempFileName();
    if (temp.empty()) {
        setLastError("No free temporary file name in " + folderOf(fullFileName()) + '.');
        return false;
    }
    ContentHash print;
    std::string error;
    if (!PlatformFile::writeNewFile(temp, contentToWrite(lines, print), true, error)) {
        PlatformFile::removeFile(temp);
        setLastError("The file " + temp + " cannot be written: " + error);
        return false;
    }
    if (!replaceDataFile(temp))
        return false;
    if (isLocked())
        removeStaleTempFiles();
    if (m_allowBackups && !m_backupDirectory.empty()) {
        std::string folder = m_backupDirectory;
        if (!PlatformFile::isPathSeparator(folder.back()))
            folder += PlatformFile::separator();
        // The copy is made from the file just written, not from its bytes kept in memory.
        const std::string full = fullFileName();
        BackupRotation::run(folder, baseName(), print.value().size,
                            [&full](const PlatformFile::WritePiece &write) {
                                bool writing = true;
                                PlatformFile::readInPieces(full, [&](std::string_view piece) {
                                    writing = writing && write(piece);
                                });
                            },
                            {full, sideFileName()});
    }
    rememberContent(print.value());
    return true;
}

bool IniFileMain::holdsContent(std::uint64_t mark)
{
    if (mark == 0 || mark != m_contentMark)
        return false;
    const std::string full = fullFileName();
    if (PlatformFile::fileSize(full) != m_contentPrint.size)
        return false;
    ContentHash held;
    return PlatformFile::readInPieces(full, [&](std::string_view piece) { held.add(piece); }) &&
           held.value() == m_contentPrint;
}

void IniFileMain::setProgramFolder(std::string folder)
{
    if (!folder.empty() && !PlatformFile::isPathSeparator(folder.back()))
        folder += PlatformFile::separator();
    programFolderSetting() = std::move(folder);
}

std::string IniFileMain::programFolder()
{
    if (programFolderSetting().empty())
        programFolderSetting() = PlatformFile::programFolder();
    return programFolderSetting();
}

void IniFileMain::setClock(Clock clock)
{
    clockSetting() = std::move(clock);
}

std::uint32_t IniFileMain::millisecondsSinceMidnight()
{
    if (clockSetting())
        return clockSetting()();
    using namespace std::chrono;
    const auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(now.count() % (24LL * 60 * 60 * 1000));
}

bool IniFileMain::renameFile(const std::string &from, const std::string &to, std::string &error)
{
    return PlatformFile::renameFile(from, to, error);
}

std::string IniFileMain::folderOf(const std::string &path) const
{
    std::size_t end = path.size();
    while (end > 0 && !PlatformFile::isPathSeparator(path[end - 1]))
        --end;
    return path.substr(0, end);
}

PlatformFile::Pieces IniFileMain::contentToWrite(const LineSource &lines, ContentHash &print) const
{
    std::string header;
    std::optional<std::uint32_t> key;
    if (m_encrypt) {
        const int seed = LineCipher::seedFor(millisecondsSinceMidnight());
        header = std::string(encryptedMarker) + "\r\n" + std::to_string(seed) + "\r\n";
        // The first line of the store is the file's third line.
        key = static_cast<std::uint32_t>(seed) + 2;
    }
    return [&lines, &print, header, key](const PlatformFile::WritePiece &write) {
        print = ContentHash();
        print.add(header);
        bool writing = write(header);
        LinePieces(lines, key).forEach([&](std::string_view piece) {
            print.add(piece);
            writing = writing && write(piece);
        });
    };
}

void IniFileMain::rememberContent(const ContentHash::Value &print)
{
    m_contentPrint = print;
    m_contentMark = ++m_lastMark;
}

void IniFileMain::forgetContent()
{
    m_contentPrint = {};
    m_contentMark = 0;
}

void IniFileMain::removeStaleTempFiles() const
{
    namespace fs = std::filesystem;
    const std::string folder = folderOf(fullFileName());
    std::error_code code;
    for (fs::directory_iterator it(PlatformFile::toPath(folder.empty() ? "." : folder), code), end;
         !code && it != end; it.increment(code)) {
        const std::string name = PlatformFile::fromPath(it->path().filename());
        if (isTempFileName(name))
            PlatformFile::removeUnheldFile(folder + name);
    }
}

bool IniFileMain::replaceDataFile(const std::string &temp)
{
    const std::string full = fullFileName();
    const std::string side = sideFileName();
    std::string error;
    if (PlatformFile::existence(full, error) != PlatformFile::Existence::Missing) {
        PlatformFile::removeFile(side);
        if (!renameFile(full, side, error)) {
            setLastError("The file " + full + " cannot be renamed to " + side + ": " + error);
            return false;
        }
    }
    // Without a data file the side file may hold the only complete copy: it goes only once
    // the new data file stands in its place.
    if (!renameFile(temp, full, error)) {
        setLastError("The file " + temp + " cannot be renamed to " + full + ": " + error);
        return false;
    }
    PlatformFile::syncFolder(folderOf(full));
    PlatformFile::removeFileReleasingLater(side);
    return true;
}
