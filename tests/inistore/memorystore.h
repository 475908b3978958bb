#pragma once

#include "inistore/inibase.h"

#include <QByteArrayList>
#include <string>
#include <vector>

// A store on lines in memory for tests; each hook can be made to fail and counts its calls.
class MemoryStore : public IniBase
{
public:
    MemoryStore() : IniBase("IniFileMain1") {}

    bool lockFile() override;
    void unlockFile() override;
    bool loadLines(std::vector<std::string> &lines) override;
    bool saveLines(const std::vector<std::string> &lines) override;

    void setFile(const QByteArrayList &lines);
    QByteArrayList fileLines() const;
    QByteArrayList entryTexts() const;

    std::vector<std::string> file;
    bool lockWorks = true;
    bool loadWorks = true;
    int lockCalls = 0;
    int unlockCalls = 0;
    int saveCalls = 0;
};
