#pragma once

#include "crypt/cryptkey.h"

#include <QString>

struct NotesSettings;

// The key of the encrypted protected pages, present only while the password was given in this
// run (or just set). The salt, the derivation parameters and the check value that tells a
// right password from a wrong one are kept in the settings; the password itself is not.
class PageKey
{
public:
    explicit PageKey(NotesSettings &settings) : m_settings(settings) {}

    bool isPresent() const { return m_key.isValid(); }
    const CryptKey &key() const { return m_key; }
    // The key while it is present, else null.
    const CryptKey *keyIfPresent() const { return isPresent() ? &m_key : nullptr; }
    // Whether the key is present and is the key of the stored check value (another copy of the
    // program may have set a new password since this key was made).
    bool matchesStored() const;
    // The key in force before the last makeNew(), until dropPrevious().
    const CryptKey &previous() const { return m_previous; }

    // Derives the key from password with the stored salt and parameters and keeps it when the
    // stored check value authenticates under it; otherwise nothing changes.
    bool takeIfRight(const QString &password);
    // A new salt, the default parameters, the key of password under them and its check value;
    // the key in force becomes previous(). False (nothing changed) when no key could be made.
    bool makeNew(const QString &password);
    void dropPrevious() { m_previous.wipe(); }
    // Both keys leave memory.
    void wipe();
    // The stored salt, parameters and check value are forgotten (encryption is off).
    void forgetStored();

private:
    NotesSettings &m_settings;
    CryptKey m_key;
    CryptKey m_previous;
};
