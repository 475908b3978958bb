#pragma once

#include "notesstore.h"

#include <QList>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

// The text of each page (by index) whose entries the store holds as the last write made them.
// A page whose text is still that text is written by keeping those entries instead of making
// them again. A page still holding the stored lines it was known by is known by them; another
// page with a text stamp by the stamp alone, and none of its lines are held here; any other page
// by its lines. The lists are shared with the pages, so nothing is copied, and stored lines are
// only watched, so that a page that lets them go frees them. They count only while the store's
// entries are of the generation they were written in.
class WrittenPageLines
{
public:
    // The store holds the entries of the page's text at index, written in `generation`.
    bool holds(int index, const StoredPage &page, std::uint64_t generation) const;
    // The page at index was written from its text in generation.
    void remember(int index, const StoredPage &page, std::uint64_t generation);
    // Pages from count on no longer exist: their lines are let go.
    void keepFirst(int count);

private:
    struct Written
    {
        QStringList lines;
        std::weak_ptr<const StoredLines> storedLines;
        bool byStoredLines = false;
        std::uint64_t textStamp = 0; // 0: known by its lines or stored lines
    };

    QList<std::optional<Written>> m_pages;
    std::uint64_t m_generation = 0;
};
