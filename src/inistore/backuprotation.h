#pragma once

#include "platformfile.h"

#include <cstdint>
#include <string>
#include <vector>

// Numbered backup copies Base.000 … Base.999 in one folder, at most five at a time: the
// oldest goes when five or more exist, the copy takes the lowest number free once it is gone,
// and a copy of the same byte size as the newest backup is not written. A copy is written
// under its name + ".tmp" and renamed into place only when complete; the oldest goes only
// after that, so a copy that fails (a full disk) costs no backup, and its partial file goes.
// Only files named like a backup take part, and the files in `keep` (the data file and its
// side file) are never touched.
class BackupRotation
{
public:
    static constexpr int maxBackups = 5;

    // Errors are ignored: a backup that cannot be made is simply not made.
    // content: the bytes of the copy, size of them.
    static void run(const std::string &folder, const std::string &base, std::uintmax_t size,
                    const PlatformFile::Pieces &content, const std::vector<std::string> &keep);

    // base + "." + a three-digit number, compared ignoring case.
    static bool isBackupName(const std::string &fileName, const std::string &base);
};
