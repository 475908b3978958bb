#pragma once

#include <QUrl>
#include <functional>

// The one way the program hands a document, web address or mail address to the platform's
// default program (QDesktopServices::openUrl). False when the platform has no program for it
// (on X11 and Wayland: no xdg-open). Tests install a handler instead.
class UrlOpener
{
public:
    using Handler = std::function<bool(const QUrl &)>;

    static bool open(const QUrl &url);

    // An empty handler restores the platform's opener.
    static void setHandler(Handler handler);
};
