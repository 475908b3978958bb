#pragma once

#include "crypt/cryptkey.h"
#include "windowfixture.h"

#include <QByteArray>
#include <QString>

class MainWindow;
class QDialog;

// Notes files with encrypted protected pages for the window tests, made with the cipher
// directly (not through the window), and what such a file holds once deciphered.
namespace EncryptedNotes {

// Settings with security on.
NotesSettings secured();

// Writes the pages with encryption on under password (and the other settings as given): the
// protected pages are sealed with the password's key. damagedPage, when given, names a page
// whose first ciphertext line gets one character changed. Returns what each page's lines are
// on disk.
QList<QStringList> write(WindowFixture &fixture, const QList<TestPage> &pages,
                         const QString &password, int damagedPage = -1,
                         NotesSettings settings = secured());
// The key of password for the Notes file's stored salt and parameters.
CryptKey keyOf(const QString &path, const QString &password);

// The Notes file deciphered by the store's file main, line by line.
QByteArray decoded(const QString &path);
// The value of a key of the deciphered file's default section ("" when missing).
QByteArray value(const QString &path, const QByteArray &key);

// The first ciphertext line of sealed lines with one character changed.
QStringList damaged(QStringList sealed);

// Whether the dialog is the password dialog.
bool isPasswordDialog(const QDialog &dialog);
// The user answers the password dialog's existing-password step with password, trying once
// and cancelling when it is not taken; an empty password: Cancel at once. The dialog's result.
int answerPassword(QDialog &dialog, const QString &password);

// Types text into the password bar and presses Reveal.
void reveal(MainWindow &window, const QString &text);

} // namespace EncryptedNotes
