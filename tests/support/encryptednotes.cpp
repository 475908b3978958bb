#include "encryptednotes.h"

#include "app/mainwindow.h"
#include "crypt/pagecipher.h"
#include "inistore/inifilemain.h"
#include "security/passwordbar.h"

#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <string>
#include <vector>

namespace EncryptedNotes {

QList<QStringList> write(WindowFixture &fixture, const QList<TestPage> &pages,
                         const QString &password, int damagedPage, NotesSettings settings)
{
    PageCipher::initialize();
    settings.securityEnabled = true;
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

QByteArray decoded(const QString &path)
{
    IniFileMain file;
    file.setFilename(QFile::encodeName(path).toStdString());
    std::vector<std::string> lines;
    if (!file.loadLines(lines))
        return {};
    QByteArray text;
    for (const std::string &line : lines)
        text += QByteArray::fromStdString(line) + '\n';
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

void reveal(MainWindow &window, const QString &text)
{
    window.passwordBar()->passwordEdit()->setText(text);
    window.passwordBar()->reveal();
}

} // namespace EncryptedNotes
