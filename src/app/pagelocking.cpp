#include "pagelocking.h"

#include "components/dialogseam.h"
#include "components/productname.h"
#include "crypt/pagecipher.h"
#include "notes/notespassword.h"
#include "notes/notessettings.h"
#include "pagesession.h"
#include "security/lockstate.h"
#include "security/passworddialog.h"

#include <utility>

PageLocking::PageLocking(LockState &lock, NotesSettings &settings, PageSession &pages,
                         QWidget *window, HelpHandler help)
    : m_lock(lock), m_settings(settings), m_pages(pages), m_window(window), m_help(std::move(help))
{
}

void PageLocking::opened()
{
    report(m_pages.openSealedPages());
}

void PageLocking::lock()
{
    m_pages.closeProtectedPages();
    m_lock.pageKey().wipe();
}

void PageLocking::passwordSet(bool committed)
{
    if (committed && m_lock.encrypting()) {
        if (m_lock.pageKey().previous().isValid())
            m_pages.resealPages();
        m_lock.pageKey().dropPrevious();
        opened();
    }
    lockUnlessRevealed();
}

void PageLocking::lockUnlessRevealed()
{
    if (!m_lock.revealed())
        lock();
}

PageLocking::AfterOtherCopy PageLocking::otherCopysSettingsTaken()
{
    PageKey &pageKey = m_lock.pageKey();
    if (!pageKey.isPresent())
        return AfterOtherCopy::Nothing;
    if (!m_lock.encrypting()) {
        m_pages.forgetSealing();
        pageKey.wipe();
        return AfterOtherCopy::WriteAgain;
    }
    if (pageKey.matchesStored())
        return AfterOtherCopy::Nothing;
    DialogSeam::inform(m_window, QStringLiteral("The password was changed in another copy of %1."
                                                "\rType the new password to keep the changes "
                                                "made here to protected pages.")
                                     .arg(productName()));
    if (std::optional<QString> password = askPassword(m_lock, m_window, m_help)) {
        PageCipher::wipe(*password);
        // Sealed anew with the new key first; then what the other copy sealed with it opens.
        m_pages.resealPages();
        opened();
        return AfterOtherCopy::WriteAgain;
    }
    DialogSeam::error(m_window, QStringLiteral("The protected pages are locked. Changes made "
                                               "here to them since the password was changed "
                                               "elsewhere cannot be opened with the new "
                                               "password."));
    return AfterOtherCopy::Lock;
}

bool PageLocking::setEncryption(bool on)
{
    if (!on) {
        const std::optional<QString> password = askPassword(m_lock, m_window, m_help);
        if (!password)
            return false;
        // The password just given left the key: every page it opens is plain text again.
        opened();
        m_pages.forgetSealing();
        m_settings.encryptProtected = false;
        m_settings.passwordText = NotesPassword::limit(*password);
        m_lock.pageKey().wipe();
        m_lock.pageKey().forgetStored();
        return true;
    }
    if (m_lock.hasPassword() ? !askPassword(m_lock, m_window, m_help)
                             : !showPasswordDialog(m_lock, m_window, m_help))
        return false;
    if (!m_lock.hasPassword())
        return false;
    QString password = std::exchange(m_settings.passwordText, QString());
    m_settings.encryptProtected = true;
    if (!m_lock.pageKey().makeNew(password)) {
        m_settings.encryptProtected = false;
        m_settings.passwordText = password;
        DialogSeam::error(m_window, QStringLiteral("The key for the encrypted pages could not be "
                                                   "made. Protected pages stay as they are."));
        return false;
    }
    PageCipher::wipe(password);
    m_lock.pageKey().dropPrevious();
    lockUnlessRevealed();
    return true;
}

void PageLocking::protectionChanged(const QHash<const PageRecord *, bool> &before)
{
    if (m_lock.encrypting() && !m_lock.pageKey().isPresent())
        askForChangedProtection(before);
    lockUnlessRevealed();
}

void PageLocking::askForChangedProtection(const QHash<const PageRecord *, bool> &before)
{
    QList<int> changed;
    for (int i = 0; i < m_pages.count(); ++i) {
        const PageRecord *record = m_pages.record(i);
        const auto was = before.constFind(record);
        if (was != before.cend() && *was != record->isProtected)
            changed.append(i);
    }
    if (changed.isEmpty())
        return;
    if (askPassword(m_lock, m_window, m_help)) {
        opened();
        return;
    }
    for (int index : changed)
        m_pages.setProtected(index, !m_pages.record(index)->isProtected);
    DialogSeam::inform(m_window, QStringLiteral("Which pages are protected is not changed: "
                                                "their encryption needs the password."));
}

void PageLocking::report(const QStringList &unopened)
{
    if (unopened.isEmpty())
        return;
    const QString names =
        QLatin1Char('"') + unopened.join(QStringLiteral("\", \"")) + QLatin1Char('"');
    DialogSeam::error(m_window,
                      (unopened.size() == 1
                           ? QStringLiteral("The protected page %1 cannot be opened: its "
                                            "encrypted text is damaged or was changed outside "
                                            "this program.\rIt stays locked and is kept as it "
                                            "is in the Notes file.")
                           : QStringLiteral("The protected pages %1 cannot be opened: their "
                                            "encrypted text is damaged or was changed outside "
                                            "this program.\rThey stay locked and are kept as "
                                            "they are in the Notes file."))
                          .arg(names));
}
