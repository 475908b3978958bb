#include "noteslayout.h"

#include "inistore/inibase.h"
#include "notescolor.h"
#include "notespassword.h"
#include "notestext.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace {

constexpr std::string_view defaultSection;
constexpr std::string_view positionsSection = "Positions";
constexpr std::string_view toplineSection = "Topline";

// A list whose count was damaged still reads the items it holds: page names kept as they
// were would be the four default pages, whose save overwrites the stored pages.
constexpr auto listCount = IniVarLinker::BadCount::ReadsItems;

std::string indexed(std::string_view key, int index)
{
    return std::string(key) + std::to_string(index);
}

// A value holding a line break would end its line in the file early, and what followed could
// pass for a key of its own: lines are split at their breaks, names lose them.
const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));

// The UTF-8 of a text holds the byte of a line break exactly where the text holds the break.
bool hasLineBreak(const std::string &bytes)
{
    return bytes.find('\n') != std::string::npos || bytes.find('\r') != std::string::npos;
}

// The lines as bytes, each line break inside a line starting a line of its own.
std::vector<std::string> byteLines(const QStringList &lines)
{
    std::vector<std::string> bytes = NotesText::toByteLines(lines);
    if (std::none_of(bytes.begin(), bytes.end(), hasLineBreak))
        return bytes;
    QStringList split;
    for (const QString &line : lines)
        split.append(line.split(lineBreak));
    return NotesText::toByteLines(split);
}

QString oneLine(QString text)
{
    return text.replace(lineBreak, QStringLiteral(" "));
}

// Multi-byte values are kept low byte first, whatever the machine.
template <std::size_t Size> std::array<unsigned char, Size> littleEndian(std::uint64_t value)
{
    std::array<unsigned char, Size> bytes{};
    for (std::size_t i = 0; i < Size; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    return bytes;
}

template <std::size_t Size>
std::uint64_t fromLittleEndian(const std::array<unsigned char, Size> &bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < Size; ++i)
        value |= std::uint64_t(bytes[i]) << (8 * i);
    return value;
}

} // namespace

const QStringList NotesLayout::defaultPageNames = {
    QStringLiteral("Reminders"), QStringLiteral("ToDo"), QStringLiteral("General"),
    QStringLiteral("Passwords")};

void NotesLayout::read(QList<StoredPage> &pages, PageTextForm form)
{
    std::vector<std::string> pageNames;
    linkSettings(pageNames);
    pages.clear();
    if (pageNames.empty()) {
        for (const QString &name : defaultPageNames)
            pages.append(StoredPage{name, {}});
        return;
    }
    for (int i = 0; i < int(pageNames.size()); ++i) {
        StoredPage page{NotesText::fromBytes(pageNames[size_t(i)]), {}};
        linkPage(i, page.record, form);
        pages.append(page);
    }
}

void NotesLayout::write(const QList<StoredPage> &pages)
{
    std::vector<std::string> pageNames;
    for (const StoredPage &page : pages)
        pageNames.push_back(NotesText::toBytes(oneLine(page.name)));
    linkSettings(pageNames);
    for (int i = 0; i < pages.size(); ++i) {
        PageRecord record = pages[i].record;
        linkPlaces(i, record);
        writePageLines(i, pages[i]);
    }
    if (m_written)
        m_written->keepFirst(int(pages.size()));
}

void NotesLayout::linkSettings(std::vector<std::string> &pageNames)
{
    linkInt(defaultSection, "HotKey", m_settings.hotKeyCode);
    m_linker.linkObjToIni(defaultSection, "TabNames", &pageNames, listCount);
    linkFlag(defaultSection, "AutoMini", m_settings.startHidden);
    linkFlag(defaultSection, "AutoBackup", m_settings.backupNotes);
    linkFlag(defaultSection, "TrayIcon", m_settings.showTrayIcon);
    linkFlag(defaultSection, "Wraptext", m_settings.wrapText);
    linkFlag(defaultSection, "HidedoesPW", m_settings.hideDisablesPassword);
    linkText("BackupDir", m_settings.backupFolder);
    linkText("Colors", m_settings.customColors);
    linkFlag(defaultSection, "User1", m_settings.securityEnabled);
    linkPassword(m_settings.passwordText);
    linkDateTime("Lastbackup", m_settings.lastBackup);
    linkFlag(defaultSection, "Gutter", m_settings.gutterVisible);
    linkLines("Keywords", m_settings.keywords);
    linkColor("Color", m_settings.textColor);
    linkColor("ColorBk", m_settings.backgroundColor);
    linkColor("ColorN", m_settings.numberColor);
    linkColor("ColorNBk", m_settings.numberBackground);
    linkColor("ColorK", m_settings.keyColor);
    linkColor("ColorKBk", m_settings.keyBackground);
    linkInt(defaultSection, "ClipClearSecs", m_settings.clipClearSecs);
    linkFlag(defaultSection, "ClipClearAll", m_settings.clipClearAll);
    linkFlag(defaultSection, "Crypt", m_settings.encryptProtected);
    linkBytes("CryptSalt", m_settings.cryptSalt);
    linkText("CryptParams", m_settings.cryptParams);
    linkText("CryptCheck", m_settings.cryptCheck);
}

void NotesLayout::linkPage(int index, PageRecord &record, PageTextForm form)
{
    linkPlaces(index, record);
    if (form == PageTextForm::StoredLines && m_linker.mode() == IniVarLinker::vlRead)
        readStoredLines(index, record);
    else
        linkLines(indexed("Page", index), record.lines);
}

// The page's lines as the stored bytes, or as text where the bytes would not do. A page whose
// section is what writing its stored lines makes (their bytes are the file's, byte for byte) is
// known as written: while it does not change, a write keeps its entries.
void NotesLayout::readStoredLines(int index, PageRecord &record)
{
    const std::string key = indexed("Page", index);
    std::vector<std::string> stored;
    m_linker.linkObjToIni(defaultSection, key, &stored, listCount);
    record.storedLines = StoredLines::of(stored);
    if (!record.storedLines)
        record.lines = NotesText::fromByteLines(stored);
    if (m_written && record.storedLines && record.storedLines->holdsBytes(stored) &&
        m_linker.holdsListAsWritten(defaultSection, key, stored))
        m_written->remember(index, StoredPage{{}, record}, m_linker.iniMain()->entriesGeneration());
}

void NotesLayout::linkPlaces(int index, PageRecord &record)
{
    linkInt(positionsSection, indexed("Posnx", index), record.caretX);
    linkInt(positionsSection, indexed("Posny", index), record.caretY);
    linkInt(positionsSection, indexed("Posn", index), record.selStart);
    linkInt(toplineSection, indexed("Topl", index), record.topLine);
    linkFlag(defaultSection, indexed("Seld", index), record.isProtected);
}

// Only the text of a page that changed since the last write is taken and converted; an
// unchanged page keeps the entries that write made.
void NotesLayout::writePageLines(int index, const StoredPage &page)
{
    const std::string key = indexed("Page", index);
    const bool remembers = m_written && m_linker.iniMain();
    const std::uint64_t generation = remembers ? m_linker.iniMain()->entriesGeneration() : 0;
    if (remembers && m_written->holds(index, page, generation)) {
        m_linker.keepList(defaultSection, key);
        return;
    }
    if (page.record.storedLines && !page.textLines) {
        // The stored bytes are what a write makes of the text: written as they are.
        std::vector<std::string> bytes = page.record.storedLines->byteLines();
        m_linker.linkObjToIni(defaultSection, key, &bytes, listCount);
    } else {
        QStringList lines = page.lines();
        linkLines(key, lines);
    }
    if (remembers)
        m_written->remember(index, page, generation);
}

void NotesLayout::linkInt(std::string_view section, const std::string &key, int &value)
{
    std::int32_t stored = value;
    m_linker.linkIntToIni(section, key, stored);
    value = stored;
}

void NotesLayout::linkFlag(std::string_view section, const std::string &key, bool &flag)
{
    unsigned char stored = flag ? 1 : 0;
    m_linker.linkVarToIni(section, key, &stored, 1);
    flag = stored != 0;
}

void NotesLayout::linkText(const std::string &key, QString &text)
{
    const std::string before = NotesText::toBytes(text);
    std::string stored = before;
    m_linker.linkStrToIni(defaultSection, key, stored);
    if (stored != before)
        text = NotesText::fromBytes(stored);
}

void NotesLayout::linkLines(const std::string &key, QStringList &lines)
{
    std::vector<std::string> stored = byteLines(lines);
    // Writing leaves the lines as they are: no copy to compare with.
    if (m_linker.mode() == IniVarLinker::vlWrite) {
        m_linker.linkObjToIni(defaultSection, key, &stored, listCount);
        return;
    }
    const std::vector<std::string> before = stored;
    m_linker.linkObjToIni(defaultSection, key, &stored, listCount);
    if (stored != before)
        lines = NotesText::fromByteLines(stored);
}

// Any number of bytes as upper-case hexadecimal pairs, the form of every byte value of the
// file. A stored text that is not such pairs leaves the bytes as they were.
void NotesLayout::linkBytes(const std::string &key, QByteArray &bytes)
{
    const std::string before = bytes.toHex().toUpper().toStdString();
    std::string stored = before;
    m_linker.linkStrToIni(defaultSection, key, stored);
    if (stored == before)
        return;
    const QByteArray hex = QByteArray::fromStdString(stored);
    const bool pairs =
        hex.size() % 2 == 0 && std::all_of(hex.begin(), hex.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        });
    if (pairs)
        bytes = QByteArray::fromHex(hex);
}

void NotesLayout::linkColor(const std::string &key, QColor &color)
{
    const auto before = littleEndian<4>(NotesColor::toValue(color));
    auto stored = before;
    m_linker.linkVarToIni(defaultSection, key, stored.data(), stored.size());
    if (stored != before)
        color = NotesColor::fromValue(std::uint32_t(fromLittleEndian(stored)));
}

void NotesLayout::linkPassword(QString &password)
{
    // With the protected pages encrypted the password is not kept: a copy of the file must
    // not open them. Reading leaves the zeros' empty password.
    const bool withheld = m_linker.mode() == IniVarLinker::vlWrite && m_settings.encryptProtected;
    const NotesPassword::Stored before =
        withheld ? NotesPassword::Stored{} : NotesPassword::toStored(password);
    NotesPassword::Stored stored = before;
    m_linker.linkVarToIni(defaultSection, "User2", stored.data(), stored.size());
    if (stored != before)
        password = NotesPassword::fromStored(stored);
}

void NotesLayout::linkDateTime(const std::string &key, double &value)
{
    const auto before = littleEndian<8>(std::bit_cast<std::uint64_t>(value));
    auto stored = before;
    m_linker.linkVarToIni(defaultSection, key, stored.data(), stored.size());
    if (stored != before)
        value = std::bit_cast<double>(fromLittleEndian(stored));
}
