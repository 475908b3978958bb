#include "sealedtext.h"

#include "crypt/cryptkey.h"
#include "crypt/pagecipher.h"
#include "notes/pagemerge.h"

#include <QCryptographicHash>
#include <optional>

bool SealedText::holds(const QStringList &sealedLines) const
{
    return !m_sealed.isEmpty() && m_sealed == sealedLines;
}

void SealedText::take(const QStringList &lines, bool isProtected)
{
    forget();
    if (isProtected && PageCipher::isSealed(lines)) {
        m_sealed = lines;
        m_closed = true;
    }
}

bool SealedText::open(QStringList &lines, const CryptKey &key)
{
    if (!m_closed)
        return true;
    std::optional<QStringList> text =
        key.isValid() ? PageCipher::open(key, m_sealed) : std::optional<QStringList>();
    m_damaged = !text;
    if (!text)
        return false;
    lines = std::move(*text);
    m_sealedText = lines;
    m_closed = false;
    return true;
}

bool SealedText::close(QStringList &lines, const CryptKey *key)
{
    if (m_closed)
        return true;
    const bool changed = m_sealed.isEmpty() || m_sealedText != lines;
    if (changed && !(key && key->isValid()))
        return false;
    if (changed)
        m_sealed = PageCipher::seal(*key, lines);
    // The lines are the text's only holder once the copy kept beside the sealed lines goes.
    m_sealedText.clear();
    PageCipher::wipe(lines);
    lines = m_sealed;
    m_closed = true;
    m_damaged = false;
    return true;
}

QStringList SealedText::sealedFor(const QStringList &lines, const CryptKey *key)
{
    if (m_closed || (!m_sealed.isEmpty() && m_sealedText == lines))
        return m_closed ? lines : m_sealed;
    if (!(key && key->isValid()))
        return lines;
    PageCipher::wipe(m_sealedText);
    m_sealed = PageCipher::seal(*key, lines);
    m_sealedText = lines;
    return m_sealed;
}

QStringList SealedText::lastSealed(const QStringList &lines) const
{
    return m_closed || m_sealed.isEmpty() ? lines : m_sealed;
}

void SealedText::forget()
{
    m_sealed.clear();
    m_sealedText.clear();
    m_closed = false;
    m_damaged = false;
}

void SealedText::resealNext()
{
    m_sealed.clear();
    m_sealedText.clear();
}

QString SealedText::comparableText(const QStringList &lines, const CryptKey *key)
{
    if (key && key->isValid() && PageCipher::isSealed(lines)) {
        std::optional<QStringList> text = PageCipher::open(*key, lines);
        if (text) {
            QCryptographicHash digest(QCryptographicHash::Sha256);
            for (const QString &line : *text) {
                digest.addData(QByteArrayView(reinterpret_cast<const char *>(line.constData()),
                                              line.size() * qsizetype(sizeof(QChar))));
                digest.addData(QByteArrayView("\n\0", 2));
            }
            PageCipher::wipe(*text);
            return QStringLiteral("sealed text ") + QString::fromLatin1(digest.result().toHex());
        }
    }
    return PageMerge::storedText(lines);
}
