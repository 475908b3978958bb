#include "pagekey.h"

#include "crypt/pagecipher.h"
#include "notes/notessettings.h"

bool PageKey::takeIfRight(const QString &password)
{
    if (m_settings.cryptCheck.isEmpty() || !PageCipher::initialize())
        return false;
    const std::optional<PageCipher::Params> params =
        PageCipher::paramsFromText(m_settings.cryptParams);
    if (!params)
        return false;
    CryptKey key = PageCipher::deriveKey(password, m_settings.cryptSalt, *params);
    if (!key.isValid() || !PageCipher::checkMatches(key, m_settings.cryptCheck))
        return false;
    m_key = std::move(key);
    return true;
}

bool PageKey::matchesStored() const
{
    return isPresent() && PageCipher::checkMatches(m_key, m_settings.cryptCheck);
}

bool PageKey::makeNew(const QString &password)
{
    if (!PageCipher::initialize())
        return false;
    const PageCipher::Params params = PageCipher::defaultParams();
    const QByteArray salt = PageCipher::newSalt();
    CryptKey key = PageCipher::deriveKey(password, salt, params);
    if (!key.isValid())
        return false;
    m_settings.cryptSalt = salt;
    m_settings.cryptParams = PageCipher::paramsText(params);
    m_settings.cryptCheck = PageCipher::makeCheck(key);
    m_previous = std::move(m_key);
    m_key = std::move(key);
    return true;
}

void PageKey::wipe()
{
    m_key.wipe();
    m_previous.wipe();
}

void PageKey::forgetStored()
{
    m_settings.cryptSalt.clear();
    m_settings.cryptParams.clear();
    m_settings.cryptCheck.clear();
}
