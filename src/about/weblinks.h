#pragma once

#include <QString>
#include <QUrl>

class QWidget;

// The maker's web site and support mail, opened in the user's default browser and mail
// program. The web site is reached from the about box and from the main window's status line.
class WebLinks
{
public:
    static QUrl webSite();
    static QUrl supportMail();

    // The question asked before the browser is opened.
    static QString webSiteQuestion();

    // Asks (OK / Cancel) and opens the web site only on OK.
    static void openWebSite(QWidget *parent = nullptr);
    // Opens a new mail to the support address, without asking.
    static void mailSupport(QWidget *parent = nullptr);

    // When the desktop cannot open a web or mail address, the user is told so and given the
    // address in a message whose text can be selected and copied.
    static QString unopenedMessage(const QUrl &address);
    static void reportUnopened(QWidget *parent, const QUrl &address);
};
