#include "clipboardguard.h"

#include <QMimeData>

namespace {

// Qt puts a type of this form on the Windows clipboard as the registered format of that name,
// holding the bytes as they are.
QString registeredFormat(const char *name)
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(QLatin1String(name));
}

// A DWORD 0: "no" to the clipboard history and to the cloud clipboard.
const QByteArray No(4, '\0');

} // namespace

void ClipboardGuard::addSecretHints(QMimeData &data)
{
    // Its presence alone keeps clipboard monitors away; the value does not count.
    data.setData(registeredFormat("ExcludeClipboardContentFromMonitorProcessing"), No);
    data.setData(registeredFormat("CanIncludeInClipboardHistory"), No);
    data.setData(registeredFormat("CanUploadToCloudClipboard"), No);
}

bool ClipboardGuard::hasSecretHints(const QMimeData &data)
{
    return data.data(registeredFormat("CanIncludeInClipboardHistory")) == No;
}
