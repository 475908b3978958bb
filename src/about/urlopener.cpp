#include "urlopener.h"

#include <QDesktopServices>

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
    return QDesktopServices::openUrl(url);
}

void UrlOpener::setHandler(Handler newHandler)
{
    handler() = std::move(newHandler);
}
