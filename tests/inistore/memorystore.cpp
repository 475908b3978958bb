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

bool MemoryStore::loadLines(std::vector<std::string> &lines)
{
    if (!loadWorks)
        return false;
    lines = file;
    return true;
}

bool MemoryStore::saveLines(const std::vector<std::string> &lines)
{
    ++saveCalls;
    file = lines;
    return true;
}

void MemoryStore::setFile(const QByteArrayList &lines)
{
    file.clear();
    for (const QByteArray &line : lines)
        file.push_back(line.toStdString());
}

QByteArrayList MemoryStore::fileLines() const
{
    QByteArrayList lines;
    for (const std::string &line : file)
        lines << QByteArray::fromStdString(line);
    return lines;
}

QByteArrayList MemoryStore::entryTexts() const
{
    QByteArrayList texts;
    for (int i = 0; i < entries().count(); ++i)
        texts << QByteArray::fromStdString(entries().at(i));
    return texts;
}
