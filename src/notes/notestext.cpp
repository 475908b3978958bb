#include "notestext.h"

#include "windows1252.h"

#include <QByteArrayView>

namespace NotesText {

QString fromBytes(std::string_view bytes)
{
    const QByteArrayView view(bytes.data(), qsizetype(bytes.size()));
    if (view.isValidUtf8())
        return QString::fromUtf8(view);
    QString text(qsizetype(bytes.size()), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(Windows1252::toUnicode(static_cast<unsigned char>(bytes[size_t(i)])));
    return text;
}

std::string toBytes(const QString &text)
{
    // Text that is all ASCII (nearly every line of notes) is its own UTF-8: narrowed straight,
    // with no encoder and no QByteArray in between. Both loops run without a branch per
    // character.
    const char16_t *const chars = reinterpret_cast<const char16_t *>(text.utf16());
    const size_t size = size_t(text.size());
    char16_t all = 0;
    for (size_t i = 0; i < size; ++i)
        all |= chars[i];
    if (all >= 0x80)
        return text.toStdString();
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char(chars[i]);
    return bytes;
}

QStringList fromByteLines(const std::vector<std::string> &lines)
{
    QStringList text;
    text.reserve(qsizetype(lines.size()));
    for (const std::string &line : lines)
        text.append(fromBytes(line));
    return text;
}

std::vector<std::string> toByteLines(const QStringList &lines)
{
    std::vector<std::string> bytes;
    bytes.reserve(size_t(lines.size()));
    for (const QString &line : lines)
        bytes.push_back(toBytes(line));
    return bytes;
}

} // namespace NotesText
