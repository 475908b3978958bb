#include "clipboardguard.h"

#include <QMimeData>

namespace {
// KDE's Klipper, GPaste and other clipboard managers of X11 and Wayland keep no record of
// data that offers this type with the value "secret".
const QString PasswordManagerHint = QStringLiteral("x-kde-passwordManagerHint");
} // namespace

void ClipboardGuard::addSecretHints(QMimeData &data)
{
    data.setData(PasswordManagerHint, QByteArrayLiteral("secret"));
}

bool ClipboardGuard::hasSecretHints(const QMimeData &data)
{
    return data.data(PasswordManagerHint) == "secret";
}
