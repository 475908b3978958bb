// Reveal through the notes window, the plain lock against encrypted protected pages, from
// Notes files of one plain page and 10 protected pages of 2,000 lines each:
//   plain:     the password compared, the current protected page shown
//   encrypted: the key derived from the password (Argon2id), the 10 pages opened, the current
//              page shown
// Each is timed from the password typed in the bar to the page shown, in fresh windows
// started on the file (the start-up is not timed). Also shown: the key derivation alone and
// opening the 10 pages alone, so the share of each is plain. Prints the medians and the ratio
// encrypted / plain.
#include "benchnotesfile.h"

#include "app/mainwindow.h"
#include "crypt/pagecipher.h"
#include "editor/noteeditor.h"
#include "notes/notesstore.h"
#include "security/passwordbar.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int ProtectedPages = 10;
constexpr int LinesPerPage = 2000;
constexpr int Rounds = 5;
const QString Password = QStringLiteral("bench password");

// A plain page first, then the protected pages, sealed with key when one is given.
void writeNotes(const QString &path, NotesSettings settings, const CryptKey *key)
{
    QList<StoredPage> pages{{QStringLiteral("Plain"), {}}};
    pages.first().record.lines = QStringList{QStringLiteral("nothing to hide")};
    for (int i = 0; i < ProtectedPages; ++i) {
        StoredPage page{QStringLiteral("Protected %1").arg(i + 1), {}};
        page.record.lines = key ? PageCipher::seal(*key, benchPageLines(i, LinesPerPage)) : benchPageLines(i, LinesPerPage);
        page.record.isProtected = true;
        page.record.caretX = 1;
        page.record.caretY = 1;
        page.record.topLine = 1;
        pages.append(page);
    }
    settings.securityEnabled = true;
    NotesStore store(nullptr);
    store.setFileName(path);
    if (!store.write(settings, pages, false))
        qFatal("cannot write the Notes file: %s", qPrintable(store.lastError()));
}

// One Reveal in a window started on the file, with a protected page in front.
double revealOnce(const QString &path)
{
    MainWindow window(path);
    window.setHotKeyStartUp([] {});
    window.startUp(false);
    window.pages().select(1);
    QCoreApplication::processEvents();
    if (!window.editor()->isReadOnly())
        qFatal("the protected page is not locked");
    const double elapsed = millisecondsOf([&] {
        window.passwordBar()->passwordEdit()->setText(Password);
        window.passwordBar()->reveal();
        QCoreApplication::processEvents();
    });
    if (window.editor()->blockCount() != LinesPerPage || window.pages().isLocked(ProtectedPages))
        qFatal("the pages did not open");
    return elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    if (!PageCipher::initialize())
        qFatal("libsodium does not start");
    QTemporaryDir dir;
    const QString plainPath = dir.filePath(QStringLiteral("plain/Quillbox.ini"));
    const QString sealedPath = dir.filePath(QStringLiteral("sealed/Quillbox.ini"));

    NotesSettings plain;
    plain.passwordText = Password;
    writeNotes(plainPath, plain, nullptr);

    NotesSettings sealed;
    sealed.encryptProtected = true;
    sealed.cryptSalt = PageCipher::newSalt();
    const PageCipher::Params params = PageCipher::defaultParams();
    sealed.cryptParams = PageCipher::paramsText(params);
    const CryptKey key = PageCipher::deriveKey(Password, sealed.cryptSalt, params);
    sealed.cryptCheck = PageCipher::makeCheck(key);
    writeNotes(sealedPath, sealed, &key);
    std::printf("%d protected pages of %d lines; key derivation %s\n\n", ProtectedPages,
                LinesPerPage, qPrintable(sealed.cryptParams));

    const double revealPlain = medianOf(Rounds, [&] { return revealOnce(plainPath); });
    const double revealSealed = medianOf(Rounds, [&] { return revealOnce(sealedPath); });
    const double derive = medianOf(Rounds, [&] {
        return millisecondsOf([&] {
            if (!PageCipher::deriveKey(Password, sealed.cryptSalt, params).isValid())
                qFatal("no key");
        });
    });
    const QStringList sealedPage = PageCipher::seal(key, benchPageLines(0, LinesPerPage));
    const double open = medianOf(Rounds, [&] {
        return millisecondsOf([&] {
            for (int i = 0; i < ProtectedPages; ++i) {
                if (!PageCipher::open(key, sealedPage))
                    qFatal("a page does not open");
            }
        });
    });

    std::printf("%-44s %9.3f ms\n", "Reveal, plain lock", revealPlain);
    std::printf("%-44s %9.3f ms   ratio %8.1f\n", "Reveal, encrypted pages", revealSealed,
                revealSealed / revealPlain);
    std::printf("%-44s %9.3f ms\n", "  of which: key derivation alone", derive);
    std::printf("%-44s %9.3f ms\n", "  of which: opening the 10 pages alone", open);
    return 0;
}
