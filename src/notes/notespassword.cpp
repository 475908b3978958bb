#include "notespassword.h"

#include "notestext.h"

#include <QStringView>
#include <algorithm>
#include <string_view>

namespace NotesPassword {

QString limit(const QString &text)
{
    qsizetype bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype width = QChar::isHighSurrogate(text[end].unicode()) &&
                                        end + 1 < text.size() &&
                                        QChar::isLowSurrogate(text[end + 1].unicode())
                                    ? 2
                                    : 1;
        const qsizetype encoded = QStringView(text).mid(end, width).toUtf8().size();
        if (bytes + encoded > maxBytes)
            break;
        bytes += encoded;
        end += width;
    }
    return text.left(end);
}

Stored toStored(const QString &text)
{
    const std::string bytes = NotesText::toBytes(limit(text));
    Stored stored{};
    stored[0] = static_cast<unsigned char>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), stored.begin() + 1);
    return stored;
}

QString fromStored(const Stored &stored)
{
    const size_t length = std::min<size_t>(stored[0], maxBytes);
    return NotesText::fromBytes(
        std::string_view(reinterpret_cast<const char *>(stored.data() + 1), length));
}

} // namespace NotesPassword
