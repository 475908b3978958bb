#include "memorystore.h"

bool MemoryStore::lockFile()
{
    ++lockCalls;
    return lockWorks;
}

void MemoryStore::unlockFile()
{
    ++unlockCalls;
}

bool MemoryStore::loadLines(LineBuffer &lines)
{
    if (!loadWorks)
        return false;
    lines = file;
    return true;
}

bool MemoryStore::saveLines(const LineSource &lines)
{
    ++saveCalls;
    file = LineBuffer::of(lines);
    return true;
}

void MemoryStore::setFile(const QByteArrayList &lines)
{
    file.clear();
    for (const QByteArray &line : lines)
        file.push_back(std::string_view(line.constData(), std::size_t(line.size())));
}

QByteArrayList MemoryStore::fileLines() const
{
    return listOf(file);
}

QByteArrayList MemoryStore::listOf(const LineBuffer &lines)
{
    QByteArrayList list;
    for (const std::string_view line : lines)
        list << QByteArray(line.data(), qsizetype(line.size()));
    return list;
}

QByteArrayList MemoryStore::entryTexts() const
{
    QByteArrayList texts;
    for (int i = 0; i < entries().count(); ++i)
        texts << QByteArray(entries().at(i).data(), qsizetype(entries().at(i).size()));
    return texts;
}
