#include "platformfile.h"

#include "platformfile_p.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <windows.h>

namespace PlatformFile {

namespace {

// The store's names are UTF-8; Windows takes them as UTF-16 through its wide calls (the
// ANSI calls would read them in the local code page and miss every other character).
std::wstring widePath(const std::string &path)
{
    const int length = static_cast<int>(path.size());
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, path.data(), length, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), length, wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

std::string utf8Path(const wchar_t *path, std::size_t length)
{
    const int wideLength = static_cast<int>(length);
    std::string utf8(
        WideCharToMultiByte(CP_UTF8, 0, path, wideLength, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path, wideLength, utf8.data(), static_cast<int>(utf8.size()),
                        nullptr, nullptr);
    return utf8;
}

} // namespace

namespace Detail {

std::string systemError()
{
    return std::system_category().message(static_cast<int>(GetLastError()));
}

std::FILE *openForReading(const std::string &path, std::string &error)
{
    std::FILE *file = _wfopen(widePath(path).c_str(), L"rb");
    if (!file)
        error = std::strerror(errno);
    return file;
}

} // namespace Detail

using namespace Detail;

bool writeNewFile(const std::string &path, const Pieces &content, bool sync, std::string &error)
{
    HANDLE file = CreateFileW(widePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = systemError();
        return false;
    }
    bool ok = true;
    bool full = false;
    content([&](std::string_view piece) {
        if (!ok)
            return false;
        DWORD written = 0;
        const std::size_t room = takeSpace(piece.size());
        ok = WriteFile(file, piece.data(), static_cast<DWORD>(room), &written, nullptr) &&
             written == piece.size();
        giveSpaceBack(room - written);
        full = !ok && room < piece.size();
        return ok;
    });
    if (ok && sync)
        ok = FlushFileBuffers(file);
    if (full)
        SetLastError(ERROR_DISK_FULL);
    if (!ok)
        error = systemError();
    CloseHandle(file);
    return ok;
}

bool removeUnheldFile(const std::string &path)
{
    // A file open elsewhere without delete sharing (as writeNewFile opens it) cannot go.
    const std::wstring name = widePath(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return false;
    return DeleteFileW(name.c_str());
}

bool createFolder(const std::string &path)
{
    return CreateDirectoryW(widePath(path).c_str(), nullptr);
}

void syncFolder(const std::string &) {}

std::intptr_t tryLock(const std::string &path, std::string &error, bool &folderMissing)
{
    HANDLE file = CreateFileW(widePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    folderMissing = file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND;
    if (file == INVALID_HANDLE_VALUE) {
        error = systemError();
        return -1;
    }
    return reinterpret_cast<std::intptr_t>(file);
}

void unlock(std::intptr_t handle, const std::string &path)
{
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    DeleteFileW(widePath(path).c_str());
}

std::string programFolder()
{
    // A name cut to the buffer fills it whole: grow the buffer until the name fits.
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, buffer.data(),
                                        static_cast<DWORD>(buffer.size()))) == buffer.size())
        buffer.resize(buffer.size() * 2);
    const std::string path = utf8Path(buffer.data(), length);
    return path.substr(0, path.find_last_of("\\/:") + 1);
}

std::string windowsFolder()
{
    wchar_t buffer[200];
    const UINT length = GetWindowsDirectoryW(buffer, 200);
    return utf8Path(buffer, length < 200 ? length : 0) + '\\';
}

bool removeFileReleasingLater(const std::string &path)
{
    return removeFile(path);
}

bool isPathSeparator(char c)
{
    return c == '\\' || c == '/' || c == ':';
}

char separator()
{
    return '\\';
}

} // namespace PlatformFile
