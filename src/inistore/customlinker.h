#pragma once

class IniBase;

// A binding of program data to keys of a store. Setting the store appends the linker to the
// registry again, so the registry order is the order of the latest binding. A destroyed store
// unbinds its linkers.
class CustomIniLinker
{
public:
    CustomIniLinker() = default;
    virtual ~CustomIniLinker();
    CustomIniLinker(const CustomIniLinker &) = delete;
    CustomIniLinker &operator=(const CustomIniLinker &) = delete;

    IniBase *iniMain() const { return m_iniMain; }
    void setIniMain(IniBase *store);

    // Called by the store's write() and read(); errors are caught and dropped inside.
    virtual void iniWrite() = 0;
    virtual void iniRead() = 0;

private:
    IniBase *m_iniMain = nullptr;
};
