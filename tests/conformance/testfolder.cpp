#include "testfolder.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

TestFolder::TestFolder(const std::string &parent, const std::string &name)
    : m_path(parent + separator() + name)
{
    std::error_code code;
    fs::remove_all(toPath(m_path), code);
    fs::create_directories(toPath(m_path), code);
}

std::string TestFolder::path(const std::string &name) const
{
    return m_path + separator() + name;
}

char TestFolder::separator()
{
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

fs::path TestFolder::toPath(const std::string &utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string TestFolder::fromPath(const fs::path &path)
{
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

bool TestFolder::exists(const std::string &path)
{
    std::error_code code;
    return fs::exists(toPath(path), code);
}

std::string TestFolder::readBytes(const std::string &path)
{
    std::ifstream file(toPath(path), std::ios::binary);
    if (!file)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool TestFolder::writeBytes(const std::string &path, std::string_view bytes)
{
    std::ofstream file(toPath(path), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

bool TestFolder::makeFolder(const std::string &path)
{
    std::error_code code;
    return fs::create_directory(toPath(path), code);
}

std::vector<std::string> TestFolder::names(const std::string &folder)
{
    std::vector<std::string> found;
    std::error_code code;
    for (fs::directory_iterator it(toPath(folder), code), end; !code && it != end;
         it.increment(code))
        found.push_back(fromPath(it->path().filename()));
    std::sort(found.begin(), found.end());
    return found;
}

bool TestFolder::setAge(const std::string &path, int minutesAgo)
{
    std::error_code code;
    fs::last_write_time(toPath(path),
                        fs::file_time_type::clock::now() - std::chrono::minutes(minutesAgo), code);
    return !code;
}
