#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A fresh folder for one scenario and the file helpers its checks use. Paths are UTF-8
// strings, as the store takes them. The helpers reach the files through std::filesystem
// paths made from UTF-8 (the wide file API on Windows), independently of the store's own
// file calls, so a store that names a file wrongly cannot hide it from the checks.
class TestFolder
{
public:
    // Deletes whatever stands at parent/name and creates it as an empty folder.
    TestFolder(const std::string &parent, const std::string &name);

    // The folder, without a trailing separator.
    const std::string &path() const { return m_path; }
    // The folder, the platform's separator and name.
    std::string path(const std::string &name) const;

    static char separator();
    static std::filesystem::path toPath(const std::string &utf8);
    static std::string fromPath(const std::filesystem::path &path);

    static bool exists(const std::string &path);
    // The file's bytes, or "<missing>" when it cannot be read.
    static std::string readBytes(const std::string &path);
    static bool writeBytes(const std::string &path, std::string_view bytes);
    static bool makeFolder(const std::string &path);
    // The names in a folder, sorted bytewise.
    static std::vector<std::string> names(const std::string &folder);
    // Sets the file's modification time to minutesAgo minutes before now.
    static bool setAge(const std::string &path, int minutesAgo);

private:
    std::string m_path;
};
