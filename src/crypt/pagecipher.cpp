#include "pagecipher.h"

#include "secretbytes.h"

#include <QStringEncoder>
#include <QStringView>
#include <algorithm>
#include <memory>
#include <sodium.h>
#include <vector>

namespace PageCipher {

namespace {

// A page's first line is hardly ever one upper-case word with hyphens followed by a number
// and a 24-byte nonce in base64; the tag also tells a reader of the file what the lines are.
const QString pageTag = QStringLiteral("QUILLBOX-ENCRYPTED-PAGE");
const QString formatVersion = QStringLiteral("1");
// The format is bound into the authentication, so that neither a page read as a check value
// nor a later format read as this one can pass.
const QByteArray pageData = QByteArrayLiteral("QUILLBOX-ENCRYPTED-PAGE 1");
const QByteArray checkData = QByteArrayLiteral("QUILLBOX-PASSWORD-CHECK 1");
const QByteArray checkText = QByteArrayLiteral("Quillbox password check");

const QString algorithmName = QStringLiteral("argon2id");
constexpr qsizetype base64LineLength = 76;
constexpr std::size_t nonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t tagBytes = crypto_aead_xchacha20poly1305_ietf_ABYTES;
// Limits above these come from a damaged file: the program would stall at every Reveal.
constexpr unsigned long long maxOpsLimit = 16;
constexpr std::size_t maxMemLimit = std::size_t(1) << 30;

using Bytes = std::vector<unsigned char>;

QString toBase64(const unsigned char *bytes, std::size_t size)
{
    return QString::fromLatin1(
        QByteArray::fromRawData(reinterpret_cast<const char *>(bytes), qsizetype(size)).toBase64());
}

// Strict decoding: padding required, no other characters, unused bits zero.
std::optional<Bytes> fromBase64(QStringView text)
{
    const QByteArray ascii = text.toLatin1();
    Bytes bytes(std::size_t(ascii.size()) / 4 * 3 + 3);
    std::size_t size = 0;
    if (sodium_base642bin(bytes.data(), bytes.size(), ascii.constData(), std::size_t(ascii.size()),
                          nullptr, &size, nullptr, sodium_base64_VARIANT_ORIGINAL) != 0)
        return std::nullopt;
    bytes.resize(size);
    return bytes;
}

bool isBase64Text(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool letter = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        if (!letter && !(u >= u'0' && u <= u'9') && u != u'+' && u != u'/' && u != u'=')
            return false;
    }
    return true;
}

bool isDecimal(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    }
    return true;
}

// The lines joined with CR LF as UTF-8, in a buffer that is zeroed when it goes.
std::unique_ptr<SecretBytes> joinedUtf8(const QStringList &lines)
{
    // Stateless: half a surrogate pair at the end of a line is replaced there, not carried over
    // to the next line (or dropped after the last).
    QStringEncoder encoder(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
    std::size_t room = 0;
    for (const QString &line : lines)
        room += std::size_t(encoder.requiredSpace(line.size())) + 2;
    auto joined = std::make_unique<SecretBytes>(room);
    char *const start = joined->chars();
    char *end = start;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            *end++ = '\r';
            *end++ = '\n';
        }
        end = encoder.appendToBuffer(end, lines.at(i));
    }
    joined->shrink(std::size_t(end - start));
    return joined;
}

QStringList splitUtf8(const SecretBytes &text)
{
    QStringList lines;
    if (text.size() == 0)
        return lines;
    const char *const start = text.chars();
    const char *const end = start + text.size();
    const char *lineStart = start;
    for (const char *p = start; p + 1 < end; ++p) {
        if (p[0] == '\r' && p[1] == '\n') {
            lines.append(QString::fromUtf8(lineStart, p - lineStart));
            lineStart = p + 2;
            ++p;
        }
    }
    lines.append(QString::fromUtf8(lineStart, end - lineStart));
    return lines;
}

Bytes encrypt(const CryptKey &key, const SecretBytes &plain, const QByteArray &data,
              const Bytes &nonce)
{
    Bytes sealed(plain.size() + tagBytes);
    unsigned long long sealedSize = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        sealed.data(), &sealedSize, plain.data(), plain.size(),
        reinterpret_cast<const unsigned char *>(data.constData()), std::size_t(data.size()),
        nullptr, nonce.data(), key.data());
    sealed.resize(std::size_t(sealedSize));
    return sealed;
}

std::unique_ptr<SecretBytes> decrypt(const CryptKey &key, const Bytes &sealed,
                                     const QByteArray &data, const Bytes &nonce)
{
    if (!key.isValid() || nonce.size() != nonceBytes || sealed.size() < tagBytes)
        return nullptr;
    auto plain = std::make_unique<SecretBytes>(sealed.size() - tagBytes);
    unsigned long long plainSize = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            plain->data(), &plainSize, nullptr, sealed.data(), sealed.size(),
            reinterpret_cast<const unsigned char *>(data.constData()), std::size_t(data.size()),
            nonce.data(), key.data()) != 0)
        return nullptr;
    plain->shrink(std::size_t(plainSize));
    return plain;
}

Bytes newNonce()
{
    Bytes nonce(nonceBytes);
    randombytes_buf(nonce.data(), nonce.size());
    return nonce;
}

// The nonce of a header line of the current format; nothing for any other line.
std::optional<Bytes> headerNonce(const QString &header)
{
    const QStringList fields = header.split(QChar(u' '));
    if (fields.size() != 3 || fields[0] != pageTag || fields[1] != formatVersion)
        return std::nullopt;
    auto nonce = fromBase64(fields[2]);
    if (!nonce || nonce->size() != nonceBytes)
        return std::nullopt;
    return nonce;
}

// The ciphertext of the lines after the header, laid out exactly as seal() writes it.
std::optional<Bytes> bodyBytes(const QStringList &sealed)
{
    QString body;
    for (qsizetype i = 1; i < sealed.size(); ++i) {
        const qsizetype length = sealed[i].size();
        const bool last = i == sealed.size() - 1;
        if (length == 0 || length > base64LineLength || (!last && length != base64LineLength))
            return std::nullopt;
        body += sealed[i];
    }
    return fromBase64(body);
}

std::unique_ptr<SecretBytes> secretCopy(const QByteArray &text)
{
    auto copy = std::make_unique<SecretBytes>(std::size_t(text.size()));
    std::copy(text.begin(), text.end(), copy->chars());
    return copy;
}

} // namespace

bool initialize()
{
    static const bool started = sodium_init() >= 0;
    return started;
}

Params defaultParams()
{
    return {3, std::size_t(64) << 20};
}

QString paramsText(const Params &params)
{
    return QStringLiteral("%1,%2,%3").arg(algorithmName).arg(params.opsLimit).arg(params.memLimit);
}

std::optional<Params> paramsFromText(const QString &text)
{
    const QStringList fields = text.split(QChar(u','));
    if (fields.size() != 3 || fields[0] != algorithmName || !isDecimal(fields[1]) ||
        !isDecimal(fields[2]))
        return std::nullopt;
    bool opsOk = false;
    bool memOk = false;
    const Params params{fields[1].toULongLong(&opsOk), std::size_t(fields[2].toULongLong(&memOk))};
    if (!opsOk || !memOk || paramsText(params) != text)
        return std::nullopt;
    if (params.opsLimit < crypto_pwhash_argon2id_OPSLIMIT_MIN || params.opsLimit > maxOpsLimit ||
        params.memLimit < crypto_pwhash_argon2id_MEMLIMIT_MIN || params.memLimit > maxMemLimit)
        return std::nullopt;
    return params;
}

QByteArray newSalt()
{
    QByteArray salt(crypto_pwhash_SALTBYTES, '\0');
    if (initialize())
        randombytes_buf(salt.data(), std::size_t(salt.size()));
    return salt;
}

CryptKey deriveKey(const QString &password, const QByteArray &salt, const Params &params)
{
    if (!initialize() || salt.size() != crypto_pwhash_SALTBYTES)
        return {};
    CryptKey key = CryptKey::allocate();
    if (!key.isValid())
        return key;
    const auto utf8 = joinedUtf8({password});
    if (crypto_pwhash(key.data(), CryptKey::size, utf8->chars(), utf8->size(),
                      reinterpret_cast<const unsigned char *>(salt.constData()), params.opsLimit,
                      params.memLimit, crypto_pwhash_ALG_ARGON2ID13) != 0)
        return {};
    key.makeReadOnly();
    return key;
}

QString makeCheck(const CryptKey &key)
{
    if (!initialize() || !key.isValid())
        return {};
    const auto plain = secretCopy(checkText);
    const Bytes nonce = newNonce();
    const Bytes sealed = encrypt(key, *plain, checkData, nonce);
    return formatVersion + QChar(u' ') + toBase64(nonce.data(), nonce.size()) + QChar(u' ') +
           toBase64(sealed.data(), sealed.size());
}

bool checkMatches(const CryptKey &key, const QString &check)
{
    const QStringList fields = check.split(QChar(u' '));
    if (!initialize() || fields.size() != 3 || fields[0] != formatVersion)
        return false;
    const auto nonce = fromBase64(fields[1]);
    const auto sealed = fromBase64(fields[2]);
    if (!nonce || !sealed)
        return false;
    const auto plain = decrypt(key, *sealed, checkData, *nonce);
    return plain && QByteArray::fromRawData(plain->chars(), qsizetype(plain->size())) == checkText;
}

bool isSealed(const QStringList &lines)
{
    if (lines.isEmpty())
        return false;
    const QStringList fields = lines.first().split(QChar(u' '));
    return fields.size() == 3 && fields[0] == pageTag && isDecimal(fields[1]) &&
           isBase64Text(fields[2]);
}

QStringList seal(const CryptKey &key, const QStringList &lines)
{
    if (!initialize() || !key.isValid())
        return {};
    const auto plain = joinedUtf8(lines);
    const Bytes nonce = newNonce();
    const Bytes sealed = encrypt(key, *plain, pageData, nonce);
    QStringList out{pageTag + QChar(u' ') + formatVersion + QChar(u' ') +
                    toBase64(nonce.data(), nonce.size())};
    const QString body = toBase64(sealed.data(), sealed.size());
    for (qsizetype at = 0; at < body.size(); at += base64LineLength)
        out.append(body.mid(at, base64LineLength));
    return out;
}

std::optional<QStringList> open(const CryptKey &key, const QStringList &sealed)
{
    if (!initialize() || sealed.size() < 2)
        return std::nullopt;
    const auto nonce = headerNonce(sealed.first());
    const auto body = bodyBytes(sealed);
    if (!nonce || !body)
        return std::nullopt;
    const auto plain = decrypt(key, *body, pageData, *nonce);
    if (!plain)
        return std::nullopt;
    return splitUtf8(*plain);
}

void wipe(QStringList &lines)
{
    for (QString &line : lines)
        wipe(line);
    lines.clear();
}

void wipe(QString &text)
{
    // data() makes the buffer this string's own; the capacity behind it may hold an older,
    // longer text.
    QChar *const characters = text.data();
    if (text.capacity() > 0)
        sodium_memzero(characters, std::size_t(text.capacity()) * sizeof(QChar));
    text.clear();
}

} // namespace PageCipher
