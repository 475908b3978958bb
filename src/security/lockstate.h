#pragma once

#include "notes/notessettings.h"

// The lock: security switched on and the password are kept in the settings; whether the
// password was given in this run is not stored anywhere.
class LockState
{
public:
    explicit LockState(NotesSettings &settings) : m_settings(settings) {}

    bool securityEnabled() const { return m_settings.securityEnabled; }
    void setSecurityEnabled(bool on) { m_settings.securityEnabled = on; }
    const QString &passwordText() const { return m_settings.passwordText; }
    void setPasswordText(const QString &text) { m_settings.passwordText = text; }
    bool hideDisablesPassword() const { return m_settings.hideDisablesPassword; }

    bool revealed() const { return m_revealed; }
    void setRevealed(bool revealed) { m_revealed = revealed; }

    // A page is locked while it is protected, security is on and the password was not given.
    bool isLocked(bool pageProtected) const
    {
        return pageProtected && m_settings.securityEnabled && !m_revealed;
    }

private:
    NotesSettings &m_settings;
    bool m_revealed = false;
};
