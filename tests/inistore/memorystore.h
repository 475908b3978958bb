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
    bool loadLines(LineBuffer &lines) override;
    bool saveLines(const LineSource &lines) override;

    void setFile(const QByteArrayList &lines);
    QByteArrayList fileLines() const;
    static QByteArrayList listOf(const LineBuffer &lines);
    QByteArrayList entryTexts() const;

    LineBuffer file;
    bool lockWorks = true;
    bool loadWorks = true;
    int lockCalls = 0;
    int unlockCalls = 0;
    int saveCalls = 0;
};
