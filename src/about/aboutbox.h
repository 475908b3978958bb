#pragma once

#include <QDialog>

class QPlainTextEdit;

// The about and licence box. About shows the product name, "by" and the maker's name, the web
// and mail links and the version; Licence shows the program's licence text (GPL-3.0-or-later)
// and the version. The box fits itself to the panels its mode shows; OK, Esc and the close
// box close it.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    enum class Mode
    {
        About = 1,
        Licence = 2
    };

    explicit AboutBox(Mode mode, QWidget *parent = nullptr);

    // Shows the box modally (through DialogSeam) and destroys it when it closes.
    static void showAboutBox(Mode mode, QWidget *parent = nullptr);

    // The program's version, at most 20 characters.
    static QString versionText();
    // The licence text as the box shows it: paragraphs unwrapped, for the box to wrap.
    static QString licenceText();

private:
    QWidget *createNamePanel();
    QWidget *createLicencePanel();
    QWidget *createVersionPanel();

    QPlainTextEdit *m_licenceView = nullptr;
};
