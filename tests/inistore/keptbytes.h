#pragma once

#include "inistore/pstringlist.h"

#include <QString>

// Empty while the list keeps at most `most` bytes of texts; otherwise what it keeps, against the
// bytes of its entries' texts.
inline QString keptBeyond(const PStringList &entries, std::size_t most)
{
    if (entries.keptBytes() <= most)
        return {};
    return QStringLiteral("%1 bytes kept for %2")
        .arg(entries.keptBytes())
        .arg(entries.entryBytes());
}

// Twice the bytes of the entries' texts, and 2 MiB more: what a store keeps at most.
inline std::size_t twiceHeld(const PStringList &entries)
{
    return 2 * entries.entryBytes() + 2 * 1024 * 1024;
}
