#include "urlopener.h"

#include <QDesktopServices>
#include <QStandardPaths>

namespace {
UrlOpener::Handler &handler()
{
    static UrlOpener::Handler instance;
    return instance;
}
} // namespace

bool UrlOpener::open(const QUrl &url)
{
    if (handler())
        return handler()(url);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Without xdg-open Qt finds no launcher and complains on standard error; the callers show
    // the help window or the address to copy instead.
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
#endif
    return QDesktopServices::openUrl(url);
}

void UrlOpener::setHandler(Handler newHandler)
{
    handler() = std::move(newHandler);
}
