// libFuzzer target for everything of the INI store that takes bytes from a file: loading
// (plain and behind the marker and seed lines), deciphering, the line parser, the merge of a
// write, and every value decoder reached through the linkers. Besides "never crash, never
// hang" it checks what must hold for any input:
//  - the value codecs and the line cipher give back what they were given;
//  - a file enciphered line by line reads the same entries as its plain form;
//  - what a write emits reads back as the entries it was made from.

#include "inistore/formvalue.h"
#include "inistore/inibase.h"
#include "inistore/inifilemain.h"
#include "inistore/initext.h"
#include "inistore/inivarlinker.h"
#include "inistore/linecipher.h"
#include "inistore/valuecodec.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

// Entries looked at by the value decoders per file: enough to reach every kind of value,
// few enough that a big input stays fast.
constexpr std::size_t decodedEntries = 64;

void require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "inistore_fuzz: %s\n", what);
    std::abort();
}

char workFolderName[] = "/tmp/inistore_fuzz.XXXXXX";

void removeWorkFolder()
{
    std::error_code code;
    std::filesystem::remove_all(workFolderName, code);
}

const std::string &workFolder()
{
    static const std::string folder = [] {
        require(::mkdtemp(workFolderName) != nullptr, "cannot make a work folder");
        std::atexit(removeWorkFolder);
        return std::string(workFolderName);
    }();
    return folder;
}

std::uint32_t keyFrom(std::string_view input)
{
    std::uint32_t key = 0;
    std::memcpy(&key, input.data(), std::min<std::size_t>(input.size(), sizeof key));
    return key;
}

void checkValueCodecs(std::string_view input)
{
    ValueCodec::decodeString(input);
    require(ValueCodec::decodeString(ValueCodec::encodeString(input)) == input,
            "string escapes do not round-trip");

    if (const auto number = ValueCodec::decodeInt(input))
        require(ValueCodec::decodeInt(ValueCodec::encodeInt(*number)) == number,
                "integers do not round-trip");

    for (const std::size_t size : {1u, 4u, 8u, 31u}) {
        std::array<unsigned char, 32> bytes;
        bytes.fill(0xA5);
        const std::size_t filled = ValueCodec::decodeHex(input, bytes.data(), size);
        require(filled == std::min(size, input.size() / 2), "hex fills the wrong byte count");
        for (std::size_t i = filled; i < bytes.size(); ++i)
            require(bytes[i] == 0xA5, "hex wrote past the bytes it filled");
        std::array<unsigned char, 32> again;
        again.fill(0x5A);
        ValueCodec::decodeHex(ValueCodec::encodeHex(bytes.data(), size), again.data(), size);
        require(std::memcmp(again.data(), bytes.data(), size) == 0, "hex does not round-trip");
    }

    if (const auto bounds = FormValue::decode(input)) {
        require(FormValue::decode(FormValue::encode(*bounds)) == bounds,
                "form values do not round-trip");
        FormValue::placeOnWorkArea(bounds->normal, {0, 0, 1920, 1040}, true, 640, 480);
        FormValue::placeOnWorkArea(bounds->normal, bounds->normal, false, 640, 480);
    }
}

void checkCipher(std::string_view input)
{
    const std::uint32_t key = keyFrom(input);
    const std::string enciphered = LineCipher::encipher(input, key);
    for (const char c : enciphered)
        require(static_cast<unsigned char>(c) >= 32, "enciphered text holds a control byte");
    require(LineCipher::decipher(enciphered, key) == input, "the cipher does not round-trip");
    LineCipher::decipher(input, key);
}

// Every value of a store read through the link calls of every kind, and every section named
// "<section> <ident>" read as a list.
void decodeEntries(IniVarLinker &linker)
{
    const IniPStringList &entries = linker.iniMain()->entries();
    std::vector<std::pair<std::string, std::string>> names;
    for (int i = 0; i < entries.count() && names.size() < decodedEntries; ++i) {
        const std::string entry(entries.at(i));
        const std::string section(IniPStringList::sectionOf(entry));
        const std::size_t keyStart = section.size() + 1;
        names.emplace_back(section, entry.substr(keyStart, entry.find('=', keyStart) - keyStart));
    }
    std::string lastList;
    for (const auto &[section, key] : names) {
        std::string text = "unchanged";
        linker.linkStrToIni(section, key, text);
        std::int32_t number = -7;
        linker.linkIntToIni(section, key, number);
        std::array<unsigned char, 31> bytes{};
        for (const std::uint16_t size : {1, 4, 8, 31})
            linker.linkVarToIni(section, key, bytes.data(), size);
        if (const auto bounds =
                FormValue::decode(linker.iniMain()->readString(section, key, false)))
            FormValue::placeOnWorkArea(bounds->normal, {0, 0, 1024, 768}, true, 300, 200);

        const std::size_t blank = section.find(' ');
        if (blank == std::string::npos || IniText::sameText(section, lastList))
            continue;
        lastList = section;
        std::vector<std::string> list{"default"};
        linker.linkObjToIni(section.substr(0, blank), section.substr(blank + 1), &list);
    }
}

struct Loaded
{
    bool readFailed = false;
    std::vector<std::string> entries;
};

Loaded entriesOf(IniBase &store)
{
    Loaded loaded{store.readFailed(), {}};
    for (int i = 0; i < store.entries().count(); ++i)
        loaded.entries.emplace_back(store.entries().at(i));
    return loaded;
}

bool sameEntries(const Loaded &a, const Loaded &b)
{
    return a.readFailed == b.readFailed && a.entries == b.entries;
}

// Reads bytes as the content of a data file, decoding its values through the linkers.
Loaded loadFile(std::string_view content)
{
    const std::string path = workFolder() + "/Fuzz.ini";
    std::FILE *file = std::fopen(path.c_str(), "wb");
    require(file != nullptr, "cannot write the input file");
    require(std::fwrite(content.data(), 1, content.size(), file) == content.size(),
            "cannot write the input file");
    std::fclose(file);

    IniFileMain store;
    store.setFilename(path);
    IniVarLinker linker;
    linker.setOnIniReadWrite(
        [](IniVarLinker &sender, IniVarLinker::VarLinkMode) { decodeEntries(sender); });
    linker.setIniMain(&store);
    store.read();
    std::remove(path.c_str());
    return entriesOf(store);
}

std::vector<std::string> splitAtNewlines(std::string_view input)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = input.find('\n', start);
        std::string line(input.substr(start, end - start));
        std::erase(line, '\r');
        lines.push_back(std::move(line));
        if (end == std::string_view::npos)
            return lines;
        start = end + 1;
    }
}

std::string joinLines(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + "\r\n";
    return text;
}

// The lines of the input written plain and enciphered read the same entries.
void checkEncipheredFile(const std::vector<std::string> &lines, std::string_view input)
{
    if (lines.front() == IniFileMain::encryptedMarker)
        return;
    const int seed = LineCipher::seedFor(keyFrom(input));
    std::vector<std::string> enciphered{IniFileMain::encryptedMarker, std::to_string(seed)};
    for (const std::string &line : lines) {
        const auto key = static_cast<std::uint32_t>(seed + static_cast<int>(enciphered.size()));
        enciphered.push_back(LineCipher::encipher(line, key));
    }
    require(sameEntries(loadFile(joinLines(lines)), loadFile(joinLines(enciphered))),
            "the enciphered file reads other entries than the plain one");
}

// A store on lines in memory.
class LinesStore : public IniBase
{
public:
    explicit LinesStore(const std::vector<std::string> &lines)
    {
        for (const std::string &line : lines)
            m_lines.push_back(line);
    }
    explicit LinesStore(LineBuffer lines) : m_lines(std::move(lines)) {}

    bool lockFile() override { return true; }
    void unlockFile() override {}
    bool loadLines(LineBuffer &lines) override
    {
        lines = m_lines;
        return true;
    }
    bool saveLines(const LineSource &lines) override
    {
        m_lines = LineBuffer::of(lines);
        return true;
    }
    const LineBuffer &lines() const { return m_lines; }

private:
    LineBuffer m_lines;
};

// An entry as it reads back after a write: every key and section name as it was (blanks and
// control characters at either end included), except that a section may come back spelt in
// the case of another section of the same name.
std::string readBackForm(const std::string &entry)
{
    const std::size_t semicolon = entry.find(';');
    return IniText::upperCase(std::string_view(entry).substr(0, semicolon)) +
           entry.substr(semicolon);
}

std::set<std::string> readBackForms(const Loaded &loaded)
{
    std::set<std::string> forms;
    for (const std::string &entry : loaded.entries)
        forms.insert(readBackForm(entry));
    return forms;
}

// A write that changes nothing emits text that reads back as the entries it was made from.
void checkWriteReadsBack(const std::vector<std::string> &lines)
{
    LinesStore store(lines);
    store.read();
    if (store.readFailed())
        return;
    require(store.write(), "a write of a readable store failed");
    LinesStore again(store.lines());
    again.read();
    require(!again.readFailed(), "the written text cannot be read");
    require(readBackForms(entriesOf(store)) == readBackForms(entriesOf(again)),
            "the written text reads back other entries");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    checkValueCodecs(input);
    checkCipher(input);

    loadFile(input);
    const std::string header = std::string(IniFileMain::encryptedMarker) + "\r\n" +
                               std::to_string(LineCipher::seedFor(keyFrom(input))) + "\r\n";
    loadFile(header + std::string(input));

    const std::vector<std::string> lines = splitAtNewlines(input);
    checkEncipheredFile(lines, input);
    checkWriteReadsBack(lines);
    return 0;
}
