#include "backuprotation.h"

#include "initext.h"
#include "platformfile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

struct Backup
{
    fs::path path;
    fs::file_time_type modified;
    std::uintmax_t size = 0;
};

bool isKept(const fs::path &path, const std::vector<std::string> &keep)
{
    return std::any_of(keep.begin(), keep.end(), [&path](const std::string &kept) {
        std::error_code code;
        const fs::path keptPath = PlatformFile::toPath(kept);
        return path == keptPath || fs::equivalent(path, keptPath, code);
    });
}

// A copy is written as its backup name + ".tmp" and renamed into place once complete.
bool isPartialCopyName(const std::string &fileName, const std::string &base)
{
    constexpr std::string_view extension = ".tmp";
    return fileName.size() > extension.size() && fileName.ends_with(extension) &&
           BackupRotation::isBackupName(fileName.substr(0, fileName.size() - extension.size()),
                                        base);
}

// The backups of the folder, by name. A partial copy that a crash left behind goes (unless a
// writer still holds it).
std::vector<Backup> findBackups(const fs::path &folder, const std::string &base,
                                const std::vector<std::string> &keep)
{
    std::vector<Backup> found;
    std::error_code code;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        std::error_code entryCode;
        const std::string name = PlatformFile::fromPath(it->path().filename());
        const bool partial = isPartialCopyName(name, base);
        if ((!partial && !BackupRotation::isBackupName(name, base)) ||
            !it->is_regular_file(entryCode) || isKept(it->path(), keep))
            continue;
        if (partial) {
            PlatformFile::removeUnheldFile(PlatformFile::fromPath(it->path()));
            continue;
        }
        Backup backup{it->path(), it->last_write_time(entryCode), it->file_size(entryCode)};
        if (!entryCode)
            found.push_back(std::move(backup));
    }
    std::sort(found.begin(), found.end(),
              [](const Backup &a, const Backup &b) { return a.path < b.path; });
    return found;
}

// The lowest backup name that is free once `leaving` (when not empty) is gone; empty when
// every number is taken.
fs::path freeName(const fs::path &folder, const std::string &base, const fs::path &leaving)
{
    for (int number = 0; number <= 999; ++number) {
        char suffix[8];
        std::snprintf(suffix, sizeof suffix, ".%03d", number);
        const fs::path candidate = folder / PlatformFile::toPath(base + suffix);
        std::string error;
        if (candidate == leaving ||
            PlatformFile::existence(PlatformFile::fromPath(candidate), error) ==
                PlatformFile::Existence::Missing)
            return candidate;
    }
    return {};
}

} // namespace

void BackupRotation::run(const std::string &folder, const std::string &base, std::uintmax_t size,
                         const PlatformFile::Pieces &content, const std::vector<std::string> &keep)
{
    std::error_code code;
    if (!fs::is_directory(PlatformFile::toPath(folder), code) &&
        !PlatformFile::createFolder(folder))
        return;
    const fs::path folderPath = PlatformFile::toPath(folder);

    std::vector<Backup> backups = findBackups(folderPath, base, keep);
    auto byAge = [](const Backup &a, const Backup &b) { return a.modified < b.modified; };
    const auto oldest = std::min_element(backups.begin(), backups.end(), byAge);
    // max_element keeps the last of equals; the first found is wanted.
    auto newest = backups.begin();
    for (auto it = backups.begin(); it != backups.end(); ++it) {
        if (newest->modified < it->modified)
            newest = it;
    }
    const std::uintmax_t newestSize = backups.empty() ? 0 : newest->size;
    const fs::path leaving =
        static_cast<int>(backups.size()) >= maxBackups ? oldest->path : fs::path();
    if (size == newestSize) {
        if (!leaving.empty())
            PlatformFile::removeFile(PlatformFile::fromPath(leaving));
        return;
    }

    // The oldest goes only once the new copy stands: on a disk too full for a whole copy
    // every backup there is stays as it was.
    const fs::path name = freeName(folderPath, base, leaving);
    if (name.empty())
        return;
    const std::string target = PlatformFile::fromPath(name);
    const std::string partial = target + ".tmp";
    std::string error;
    if (!PlatformFile::writeNewFile(partial, content, true, error) ||
        !PlatformFile::renameFile(partial, target, error)) {
        PlatformFile::removeFile(partial);
        return;
    }
    if (!leaving.empty() && leaving != name)
        PlatformFile::removeFile(PlatformFile::fromPath(leaving));
    PlatformFile::syncFolder(folder);
}

bool BackupRotation::isBackupName(const std::string &fileName, const std::string &base)
{
    if (fileName.size() != base.size() + 4 ||
        !IniText::sameText(std::string_view(fileName).substr(0, base.size()), base) ||
        fileName[base.size()] != '.')
        return false;
    return std::all_of(fileName.end() - 3, fileName.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}
