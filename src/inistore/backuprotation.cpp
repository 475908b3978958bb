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

std::vector<Backup> findBackups(const fs::path &folder, const std::string &base,
                                const std::vector<std::string> &keep)
{
    std::vector<Backup> found;
    std::error_code code;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        std::error_code entryCode;
        if (!it->is_regular_file(entryCode) ||
            !BackupRotation::isBackupName(PlatformFile::fromPath(it->path().filename()), base) ||
            isKept(it->path(), keep))
            continue;
        Backup backup{it->path(), it->last_write_time(entryCode), it->file_size(entryCode)};
        if (!entryCode)
            found.push_back(std::move(backup));
    }
    std::sort(found.begin(), found.end(),
              [](const Backup &a, const Backup &b) { return a.path < b.path; });
    return found;
}

} // namespace

void BackupRotation::run(const std::string &folder, const std::string &base, std::string_view text,
                         const std::vector<std::string> &keep)
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
    if (static_cast<int>(backups.size()) >= maxBackups)
        PlatformFile::removeFile(PlatformFile::fromPath(oldest->path));

    for (int number = 0; number <= 999; ++number) {
        char suffix[8];
        std::snprintf(suffix, sizeof suffix, ".%03d", number);
        const fs::path candidate = folderPath / PlatformFile::toPath(base + suffix);
        std::string error;
        const std::string name = PlatformFile::fromPath(candidate);
        if (PlatformFile::existence(name, error) != PlatformFile::Existence::Missing)
            continue;
        if (text.size() != newestSize)
            PlatformFile::writeNewFile(name, text, false, error);
        return;
    }
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
