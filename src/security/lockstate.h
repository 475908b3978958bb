#pragma once

#include "notes/notessettings.h"
#include "pagekey.h"

// The lock: security switched on and the password are kept in the settings; whether the
// password was given in this run is not stored anywhere. With protected pages encrypted the
// settings hold no password, only what tells a right one from a wrong one, and the key of the
// pages is here while the password was given.
class LockState
{
public:
    explicit LockState(NotesSettings &settings) : m_settings(settings), m_key(settings) {}

    bool securityEnabled() const { return m_settings.securityEnabled; }
    void setSecurityEnabled(bool on) { m_settings.securityEnabled = on; }
    const QString &passwordText() const { return m_settings.passwordText; }
    void setPasswordText(const QString &text) { m_settings.passwordText = text; }
    bool hideDisablesPassword() const { return m_settings.hideDisablesPassword; }
    bool encrypting() const { return m_settings.encryptProtected; }

    // Whether a password is set: the stored one, or with encrypted pages their check value.
    bool hasPassword() const
    {
        return encrypting() ? !m_settings.cryptCheck.isEmpty() : !m_settings.passwordText.isEmpty();
    }
    // The one test of a typed password (exact: case and blanks count). With encrypted pages a
    // right password leaves the pages' key here.
    bool passwordMatches(const QString &typed)
    {
        return encrypting() ? m_key.takeIfRight(typed) : typed == m_settings.passwordText;
    }
    // Makes password the password (already cut to what the Notes file keeps). With encrypted
    // pages a new key is made and the one in force becomes the previous key; false when no key
    // could be made.
    bool setPassword(const QString &password)
    {
        if (encrypting())
            return m_key.makeNew(password);
        m_settings.passwordText = password;
        return true;
    }

    bool revealed() const { return m_revealed; }
    void setRevealed(bool revealed) { m_revealed = revealed; }

    PageKey &pageKey() { return m_key; }
    const PageKey &pageKey() const { return m_key; }

    // A page is locked while it is protected, security is on and the password was not given.
    bool isLocked(bool pageProtected) const
    {
        return pageProtected && m_settings.securityEnabled && !m_revealed;
    }

private:
    NotesSettings &m_settings;
    PageKey m_key;
    bool m_revealed = false;
};
