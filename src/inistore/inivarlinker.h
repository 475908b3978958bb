#pragma once

#include "customlinker.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Hands the read and the write of a store to the owner's handler, which calls the link
// functions once for each variable; each call reads into or writes from its variable by the
// current mode. No link call reports an error: the variable keeps its value (or what was
// read so far). Nothing happens while no store is bound. Section and key names are
// normalised; an empty section means the store's default section.
class IniVarLinker : public CustomIniLinker
{
public:
    enum VarLinkMode
    {
        vlRead = 0,
        vlWrite = 1
    };
    using IniReadWriteHandler = std::function<void(IniVarLinker &sender, VarLinkMode mode)>;

    void setOnIniReadWrite(IniReadWriteHandler handler) { m_onIniReadWrite = std::move(handler); }
    VarLinkMode mode() const { return m_mode; }
    void setMode(VarLinkMode mode) { m_mode = mode; }

    void iniWrite() override;
    void iniRead() override;

    // What a read makes of an "Items" count that is not a decimal number.
    enum class BadCount
    {
        KeepsList, // the list keeps its lines
        ReadsItems // the items the section holds are read, as for a negative count
    };

    // A list in its own section section + " " + ident, with "Items" and "ItemData(0001)" …
    // Lines are stored unescaped. A null list does nothing. A read runs up to the highest
    // item present, never past a positive count, and reads a missing item as an empty line;
    // a negative count reads every item present. A missing or zero count keeps the list.
    void linkObjToIni(std::string_view section, std::string_view ident,
                      std::vector<std::string> *list, BadCount badCount = BadCount::KeepsList);
    // Writing: the list's section keeps the entries it holds, as written by the last
    // linkObjToIni of the same lines (see IniBase::keepSection). Reading: nothing.
    void keepList(std::string_view section, std::string_view ident);
    // The store holds the list's section exactly as linkObjToIni writing `list` would make it
    // (every entry byte for byte, no other entry): writing the same list may keep it.
    bool holdsListAsWritten(std::string_view section, std::string_view ident,
                            const std::vector<std::string> &list) const;
    // "#" escapes; an empty stored text leaves s unchanged.
    void linkStrToIni(std::string_view section, std::string_view ident, std::string &s);
    // Decimal; an empty or non-integer stored text leaves i unchanged.
    void linkIntToIni(std::string_view section, std::string_view ident, std::int32_t &i);
    // size bytes of data as upper-case hexadecimal pairs in memory order.
    void linkVarToIni(std::string_view section, std::string_view ident, void *data,
                      std::uint16_t size);

private:
    // One value under section/ident: written as encode() gives it, or the stored text
    // handed to decode (empty when missing). Errors are dropped.
    void linkValue(std::string_view section, std::string_view ident,
                   const std::function<std::string()> &encode,
                   const std::function<void(const std::string &)> &decode);
    std::string resolveSection(std::string_view section) const;
    void readList(const std::string &section, std::vector<std::string> &list, BadCount badCount);
    void writeList(const std::string &section, const std::vector<std::string> &list);

    IniReadWriteHandler m_onIniReadWrite;
    VarLinkMode m_mode = vlRead;
};
