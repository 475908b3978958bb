#include "folderbrowser.h"

#include "dialogseam.h"

#include <QDir>

bool FolderBrowser::execute()
{
    const QString picked = DialogSeam::existingDirectory(m_parent, m_title, m_path);
    if (picked.isEmpty())
        return false;
    m_path = QDir::toNativeSeparators(picked);
    return true;
}
