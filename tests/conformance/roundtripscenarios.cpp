#include "check.h"
#include "inistore/inifilemain.h"
#include "inistore/linecipher.h"
#include "scenario.h"

#include <sstream>

namespace {

// The moment of day whose save seed is 7345, the seed of the enciphered vector.
constexpr std::uint32_t vectorSeedMilliseconds = 9453;

std::vector<std::vector<std::string>> tableRows(const std::string &path)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream text(TestFolder::readBytes(path));
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream columns(line);
        std::string field;
        while (std::getline(columns, field, '\t'))
            fields.push_back(field);
        fields.resize(4);
        rows.push_back(fields);
    }
    return rows;
}

std::string fromHex(const std::string &hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string vector(const Place &place, const std::string &name)
{
    return place.vectors + TestFolder::separator() + name;
}

std::vector<std::string> entriesOf(const IniBase &store)
{
    std::vector<std::string> entries;
    for (int i = 0; i < store.entries().count(); ++i)
        entries.emplace_back(store.entries().at(i));
    return entries;
}

void checkNotesVector(IniFileMain &store, const std::string &what)
{
    check(!store.readFailed(), what + " reads: " + store.lastError());
    checkSame(store.readString("Notes", "HotKey", false), "2065", what + " HotKey");
    checkSame(store.readString("Notes TabNames", "ItemData(0002)", false), "Passwords",
              what + " second page name");
    // The old form carries bytes below 223 only: the accented letter is 0xC9.
    checkSame(store.readString("Notes Page0", "ItemData(0001)", false), "Caf\xc9 bill \xa3 12.50",
              what + " Windows-1252 page text");
    checkSame(store.readString("Notes Page0", "ItemData(0003)", false), "  indented line",
              what + " leading blanks");
}

void cipherVectors(const Place &place)
{
    const auto rows = tableRows(vector(place, "cipher.tsv"));
    check(rows.size() > 10, "cipher.tsv has its rows");
    for (const auto &row : rows) {
        const auto key = static_cast<std::uint32_t>(std::stoul(row[1]));
        const std::string plain = fromHex(row[2]);
        const std::string enciphered = fromHex(row[3]);
        const std::string what = row[0] + " key " + row[1] + " plain " + row[2];
        checkSame(LineCipher::encipher(plain, key), enciphered, "encipher " + what);
        checkSame(LineCipher::decipher(enciphered, key), plain, "decipher " + what);
    }
}

void seedVectors(const Place &place)
{
    const auto rows = tableRows(vector(place, "seed.tsv"));
    check(rows.size() > 5, "seed.tsv has its rows");
    for (const auto &row : rows) {
        const auto milliseconds = static_cast<std::uint32_t>(std::stoul(row[0]));
        check(LineCipher::seedFor(milliseconds) == std::stoi(row[1]),
              "seed at " + row[0] + " ms is " + row[1]);
    }
    check(LineCipher::seedFor(vectorSeedMilliseconds) == 7345, "seed 7345 at 9453 ms");
}

void vectorsReadAlike(const Place &place)
{
    IniFileMain plain;
    plain.setFilename(vector(place, "notes-old-plain.ini"));
    plain.read();
    checkNotesVector(plain, "plain vector");
    IniFileMain enciphered;
    enciphered.setFilename(vector(place, "notes-old-enciphered.ini"));
    enciphered.read();
    checkNotesVector(enciphered, "enciphered vector");
    check(entriesOf(plain) == entriesOf(enciphered), "both vectors give the same entries");
}

// Loading a vector and saving it again gives its bytes back, plain and enciphered.
void vectorBytesRoundTrip(const Place &place, const std::string &name, bool encrypt)
{
    const std::string source = TestFolder::readBytes(vector(place, name));
    const std::string copy = place.folder.path("Quillbox.ini");
    check(TestFolder::writeBytes(copy, source), "vector copied into the folder");
    IniFileMain store;
    store.setFilename(copy);
    LineBuffer lines;
    checkDone(store.loadLines(lines), store, "copy loads");
    check(lines.size() > 40, "copy has its lines");
    IniFileMain::setClock([] { return vectorSeedMilliseconds; });
    store.setEncrypt(encrypt);
    checkDone(store.saveLines(lines), store, "copy saves");
    IniFileMain::setClock(nullptr);
    check(TestFolder::readBytes(copy) == source, name + " saved again is byte for byte the same");
    LineBuffer again;
    check(store.loadLines(again) && again == lines, "saved copy loads the same lines");
}

// Every byte but the line breaks survives a write and a read by another store.
void storeRoundTrip(const Place &place, bool encrypt)
{
    std::string all;
    for (int code = 1; code < 256; ++code) {
        if (code != '\r' && code != '\n')
            all += static_cast<char>(code);
    }
    // Trailing blanks and control characters are trimmed by the line syntax.
    all += "end";
    const std::string file = place.folder.path("Quillbox.ini");
    IniFileMain writer;
    writer.setFilename(file);
    writer.setEncrypt(encrypt);
    writer.writeString("Notes", "All", all, false);
    writer.writeString("Notes Page0", "ItemData(0001)", "Notizen \xe6\x97\xa5\xe6\x9c\xac", false);
    checkDone(writer.write(), writer, "write");
    const std::string bytes = TestFolder::readBytes(file);
    check(bytes.rfind("ENCRYPTED DATA DO NOT EDIT\r\n", 0) == (encrypt ? 0 : std::string::npos),
          encrypt ? "enciphered file starts with the marker" : "plain file has no marker");
    IniFileMain reader;
    reader.setFilename(file);
    reader.read();
    check(!reader.readFailed(), "read: " + reader.lastError());
    checkSame(reader.readString("Notes", "All", false), all, "every byte read back");
    checkSame(reader.readString("Notes Page0", "ItemData(0001)", false),
              "Notizen \xe6\x97\xa5\xe6\x9c\xac", "UTF-8 text read back");
}

} // namespace

std::vector<Scenario> cipherScenarios()
{
    return {{"cipher vectors", cipherVectors}, {"seed vectors", seedVectors}};
}

std::vector<Scenario> roundTripScenarios()
{
    return {
        {"plain and enciphered vectors read alike", vectorsReadAlike},
        {"plain vector saved again is the same file",
         [](const Place &place) { vectorBytesRoundTrip(place, "notes-old-plain.ini", false); }},
        {"enciphered vector saved again is the same file",
         [](const Place &place) { vectorBytesRoundTrip(place, "notes-old-enciphered.ini", true); }},
        {"plain store round trip", [](const Place &place) { storeRoundTrip(place, false); }},
        {"enciphered store round trip", [](const Place &place) { storeRoundTrip(place, true); }},
    };
}
