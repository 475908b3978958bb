#include "optionsservices.h"

#include "components/drivepath.h"
#include "components/folderbrowser.h"
#include "components/productname.h"
#include "components/startupshortcut.h"

#include <QCoreApplication>

namespace {

StartupShortcut programShortcut()
{
    StartupShortcut shortcut;
    shortcut.setProgramName(resolveDrivePath(QCoreApplication::applicationFilePath()));
    shortcut.setShortcutTitle(productName());
    return shortcut;
}

} // namespace

OptionsServices OptionsServices::standard(std::function<bool()> registerHotKey,
                                          std::function<void(int)> showHelp, QWidget *parent)
{
    OptionsServices services;
    services.registerHotKey = std::move(registerHotKey);
    services.startupShortcutPresent = [] { return programShortcut().isShortcutPresent(); };
    services.setStartupShortcutPresent = [](bool present) {
        StartupShortcut shortcut = programShortcut();
        return shortcut.setShortcutPresent(present) ? QString() : shortcut.errorString();
    };
    services.browseForFolder = [parent](const QString &start) {
        FolderBrowser browser(parent);
        browser.setPath(start);
        return browser.execute() ? browser.path() : QString();
    };
    services.showHelp = std::move(showHelp);
    return services;
}
