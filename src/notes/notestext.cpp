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
    // Text that is all ASCII (nearly every line of notes) is its own UTF-8: copied straight,
    // with no encoder and no QByteArray in between.
    const char16_t *const chars = reinterpret_cast<const char16_t *>(text.utf16());
    std::string bytes(size_t(text.size()), '\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (chars[i] >= 0x80)
            return text.toStdString();
        bytes[i] = char(chars[i]);
    }
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
