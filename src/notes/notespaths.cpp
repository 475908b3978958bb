#include "notespaths.h"

#include "inistore/inifilemain.h"
#include "inistore/initext.h"
#include "inistore/platformfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>
#include <optional>
#include <string_view>

namespace fs = std::filesystem;

namespace {

const QString notesFileName = QStringLiteral("Quillbox.ini");
// Links followed at most, as the system itself does before it reports a loop.
constexpr int maxLinks = 40;

fs::path localPath(const QString &path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

QString fromLocal(const fs::path &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

// What path finally names once every symbolic link is followed (a missing target included);
// nothing for a loop or a link that cannot be read.
std::optional<fs::path> finalTarget(fs::path path)
{
    for (int links = 0; links <= maxLinks; ++links) {
        std::error_code code;
        if (!fs::is_symlink(fs::symlink_status(path, code)))
            return path;
        const fs::path target = fs::read_symlink(path, code);
        if (code)
            return std::nullopt;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return std::nullopt;
}

// The folder part written without links, "." or ".." wherever the folders exist.
fs::path withPlainFolder(const fs::path &path)
{
    std::error_code code;
    const fs::path folder = fs::weakly_canonical(path.parent_path(), code);
    return code ? path : folder / path.filename();
}

// "$$$$$$$$.tmp", "$$$$$$$1.tmp" … "12345678.tmp": the names a save gives its temporary file.
bool isTemporaryName(std::string_view name)
{
    if (name.size() != 12 || !IniText::sameText(name.substr(8), ".tmp"))
        return false;
    std::size_t i = 0;
    while (i < 8 && name[i] == '$')
        ++i;
    while (i < 8 && name[i] >= '0' && name[i] <= '9')
        ++i;
    return i == 8;
}

// Why a Notes file of this name would clash with the files a save makes beside it.
QString nameProblem(const fs::path &path)
{
    IniFileMain file;
    file.setFilename(path.string());
    if (IniText::sameText(file.fullFileName(), file.lockFileName()))
        return QStringLiteral("its name is the name of its own lock file");
    if (isTemporaryName(path.filename().string()))
        return QStringLiteral("its name is the name of a temporary file that saving makes "
                              "beside it");
    return {};
}

QString typeProblem(fs::file_type type)
{
    switch (type) {
    case fs::file_type::directory:
        return QStringLiteral("it is a folder, not a file");
    case fs::file_type::fifo:
        return QStringLiteral("it is a FIFO (a named pipe), not a regular file");
    case fs::file_type::block:
    case fs::file_type::character:
        return QStringLiteral("it is a device, not a regular file");
    case fs::file_type::socket:
        return QStringLiteral("it is a socket, not a regular file");
    default:
        return {};
    }
}

// Whether text can be the Notes file: empty or blank, enciphered behind the marker line, or
// holding at least one line that the store reads as a section header (or user-block marker)
// or as a key.
bool looksLikeNotes(std::string_view text)
{
    if (IniText::trim(text).empty())
        return true;
    bool firstLine = true;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view raw = text.substr(0, end);
        if (firstLine && raw == IniFileMain::encryptedMarker)
            return true;
        firstLine = false;
        const std::string_view line = IniText::trim(raw);
        if ((line.size() >= 2 && line.front() == '[' && line.back() == ']') ||
            line.find('=') != std::string_view::npos)
            return true;
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return false;
}

} // namespace

QString defaultNotesPath(const QString &programFolder)
{
    const QString portable = QDir(programFolder).filePath(notesFileName);
#ifdef Q_OS_WIN
    return portable;
#else
    if (QFileInfo::exists(portable))
        return portable;
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(dataFolder).filePath(notesFileName);
#endif
}

bool makeNotesFolder(const QString &filePath)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    if (QFileInfo(folder).isDir())
        return true;
    if (!makeNotesFolder(folder))
        return false;
    return QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

NotesFileChoice resolveNotesFile(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    const auto refuse = [&shown](const QString &reason) {
        return NotesFileChoice{
            {}, QStringLiteral("The Notes file %1 cannot be used: %2.").arg(shown, reason)};
    };
    const std::optional<fs::path> target = finalTarget(localPath(path));
    if (!target)
        return refuse(QStringLiteral("it is a symbolic link that leads to no file"));
    const fs::path file = withPlainFolder(*target);
    if (const QString problem = nameProblem(file); !problem.isEmpty())
        return refuse(problem);
    std::error_code code;
    const fs::file_type type = fs::status(file, code).type();
    if (const QString problem = typeProblem(type); !problem.isEmpty())
        return refuse(problem);
    if (type == fs::file_type::regular) {
        std::string error;
        const std::optional<std::string> text = PlatformFile::readAll(file.string(), error);
        if (text && !looksLikeNotes(*text))
            return refuse(
                QStringLiteral(
                    "it is not a Notes file (it holds neither the line \"%1\" nor any INI "
                    "section or key), so it is left as it is")
                    .arg(QLatin1String(IniFileMain::encryptedMarker)));
    }
    return {fromLocal(file), {}};
}
