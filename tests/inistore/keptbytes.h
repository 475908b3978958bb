#pragma once

#include "inistore/pstringlist.h"

#include <QString>

// Empty while the list keeps at most twice the bytes of its entries' texts, and 2 MiB more;
// otherwise what it keeps.
inline QString keptBeyondBound(const PStringList &entries)
{
    const std::size_t held = entries.entryBytes();
    if (entries.keptBytes() <= 2 * held + 2 * 1024 * 1024)
        return {};
    return QStringLiteral("%1 bytes kept for %2").arg(entries.keptBytes()).arg(held);
}
