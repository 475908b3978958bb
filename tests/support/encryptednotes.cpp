#include "encryptednotes.h"

#include "app/mainwindow.h"
#include "crypt/pagecipher.h"
#include "inistore/inifilemain.h"
#include "security/passwordbar.h"

#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

namespace EncryptedNotes {

NotesSettings secured()
{
    NotesSettings settings;
    settings.securityEnabled = true;
    return settings;
}

QList<QStringList> write(WindowFixture &fixture, const QList<TestPage> &pages,
                         const QString &password, int damagedPage, NotesSettings settings)
{
    PageCipher::initialize();
    settings.encryptProtected = true;
    settings.cryptSalt = PageCipher::newSalt();
    const PageCipher::Params params = PageCipher::defaultParams();
    settings.cryptParams = PageCipher::paramsText(params);
    const CryptKey key = PageCipher::deriveKey(password, settings.cryptSalt, params);
    settings.cryptCheck = PageCipher::makeCheck(key);
    QList<TestPage> stored = pages;
    QList<QStringList> lines;
    for (int i = 0; i < stored.size(); ++i) {
        TestPage &page = stored[i];
        if (page.isProtected)
            page.lines = PageCipher::seal(key, page.lines);
        if (i == damagedPage)
            page.lines = damaged(page.lines);
        lines.append(page.lines);
    }
    fixture.writeNotes(stored, settings);
    return lines;
}

CryptKey keyOf(const QString &path, const QString &password)
{
    const NotesSettings settings = WindowFixture::settingsIn(path);
    const std::optional<PageCipher::Params> params =
        PageCipher::paramsFromText(settings.cryptParams);
    return params ? PageCipher::deriveKey(password, settings.cryptSalt, *params) : CryptKey();
}

QByteArray decoded(const QString &path)
{
    IniFileMain file;
    file.setFilename(QFile::encodeName(path).toStdString());
    LineBuffer lines;
    if (!file.loadLines(lines))
        return {};
    QByteArray text;
    for (const std::string_view line : lines)
        text += QByteArray(line.data(), qsizetype(line.size())) + '\n';
    return text;
}

QByteArray value(const QString &path, const QByteArray &key)
{
    const QByteArray start = key + '=';
    for (const QByteArray &line : decoded(path).split('\n')) {
        if (line.startsWith(start))
            return line.mid(start.size());
    }
    return {};
}

QStringList damaged(QStringList sealed)
{
    if (sealed.size() > 1) {
        QString &line = sealed[1];
        line[0] = line[0] == u'A' ? u'B' : u'A';
    }
    return sealed;
}

bool isPasswordDialog(const QDialog &dialog)
{
    return QLatin1String(dialog.metaObject()->className()) == QLatin1String("PasswordDialog");
}

int answerPassword(QDialog &dialog, const QString &password)
{
    auto *cancel = dialog.findChild<QPushButton *>(QStringLiteral("btnCancel"));
    if (!password.isEmpty()) {
        dialog.findChild<QLineEdit *>(QStringLiteral("editE"))->setText(password);
        dialog.findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
    }
    if (dialog.result() != QDialog::Accepted)
        cancel->click();
    return dialog.result();
}

void reveal(MainWindow &window, const QString &text)
{
    window.passwordBar()->passwordEdit()->setText(text);
    window.passwordBar()->reveal();
}

} // namespace EncryptedNotes
