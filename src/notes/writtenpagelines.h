#pragma once

#include <QList>
#include <QStringList>
#include <cstdint>
#include <optional>

// The lines of each page (by index) whose entries the store holds as the last write made them.
// A page whose lines are still these is written by keeping those entries instead of making them
// again from its text. The lists share their text with the pages, so nothing is copied; they
// count only while the store's entries are of the generation they were written in.
class WrittenPageLines
{
public:
    // The store holds the entries of `lines` for the page at index, written in `generation`.
    bool holds(int index, const QStringList &lines, std::uint64_t generation) const;
    // The page at index was written from lines in generation.
    void remember(int index, const QStringList &lines, std::uint64_t generation);
    // Pages from count on no longer exist: their lines are let go.
    void keepFirst(int count);

private:
    QList<std::optional<QStringList>> m_lines;
    std::uint64_t m_generation = 0;
};
