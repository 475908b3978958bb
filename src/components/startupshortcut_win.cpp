#include "startupshortcut.h"

#include <QDir>
#include <QSettings>
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

namespace {

// COM for the calling thread while a link is read or written.
class ComApartment
{
public:
    ComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

private:
    HRESULT m_result;
};

// A shell link object and its IPersistFile, released together.
class ShellLink
{
public:
    ShellLink()
    {
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellLinkW, reinterpret_cast<void **>(&m_link))))
            m_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&m_file));
    }
    ~ShellLink()
    {
        if (m_file)
            m_file->Release();
        if (m_link)
            m_link->Release();
    }
    ShellLink(const ShellLink &) = delete;
    ShellLink &operator=(const ShellLink &) = delete;

    bool isValid() const { return m_link && m_file; }
    IShellLinkW *link() const { return m_link; }
    IPersistFile *file() const { return m_file; }

    QString target() const
    {
        wchar_t path[MAX_PATH] = {};
        if (FAILED(m_link->GetPath(path, MAX_PATH, nullptr, SLGP_UNCPRIORITY)))
            return {};
        return QString::fromWCharArray(path);
    }

private:
    IShellLinkW *m_link = nullptr;
    IPersistFile *m_file = nullptr;
};

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

} // namespace

QString StartupShortcut::startupFolder()
{
    const QSettings shellFolders(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                       "Shell Folders"),
        QSettings::NativeFormat);
    QString folder = shellFolders.value(QStringLiteral("Startup")).toString();
    if (!folder.isEmpty() && !folder.endsWith(u'\\'))
        folder += u'\\';
    return folder;
}

QString StartupShortcut::entrySuffix()
{
    return QStringLiteral(".lnk");
}

QString StartupShortcut::linkTarget(const QString &entryPath)
{
    const ComApartment apartment;
    const ShellLink shellLink;
    const QString native = QDir::toNativeSeparators(entryPath);
    if (!shellLink.isValid() || FAILED(shellLink.file()->Load(wide(native), STGM_SHARE_DENY_NONE)))
        return {};
    return shellLink.target();
}

bool StartupShortcut::sameProgram(const QString &target, const QString &program)
{
    return !target.isEmpty() &&
           QString::compare(QDir::toNativeSeparators(target), QDir::toNativeSeparators(program),
                            Qt::CaseInsensitive) == 0;
}

bool StartupShortcut::writeEntry(const QString &entryPath, QString &reason)
{
    const ComApartment apartment;
    const ShellLink shellLink;
    if (!shellLink.isValid()) {
        reason = QStringLiteral("The shell link object cannot be created.");
        return false;
    }
    HRESULT result = shellLink.link()->SetPath(wide(QDir::toNativeSeparators(m_programName)));
    if (SUCCEEDED(result)) {
        const QString stored = shellLink.target();
        if (!stored.isEmpty())
            m_programName = stored;
        result = shellLink.file()->Save(wide(QDir::toNativeSeparators(entryPath)), FALSE);
    }
    if (SUCCEEDED(result))
        return true;
    reason = qt_error_string(int(result));
    return false;
}
