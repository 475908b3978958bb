#include "appicon.h"

QIcon appIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/quillbox.svg"));
    icon.addFile(QStringLiteral(":/icons/quillbox-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icons/quillbox-64.png"), QSize(64, 64));
    return icon;
}
