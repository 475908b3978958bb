#include "optionscommand.h"

#include "components/dialogseam.h"
#include "components/productname.h"
#include "notes/notessettings.h"
#include "optionsdialog.h"

#include <QApplication>

namespace OptionsCommand {

bool execute(NotesSettings &settings, bool &hotKeyRegistered, const OptionsServices &services,
             const OptionsWindow &window, QWidget *parent)
{
    bool okPressed = false;
    {
        OptionsDialog dialog(settings, hotKeyRegistered, services, parent);
        DialogSeam::exec(dialog);
        okPressed = dialog.okPressed();
        if (okPressed) {
            window.applySettings();
            window.saveSettings();
        }
        if (!hotKeyRegistered || !services.registerHotKey()) {
            settings.showTrayIcon = true;
            QApplication::beep();
            DialogSeam::ask(parent, DialogSeam::Kind::Plain,
                            QStringLiteral("Hot Key is not set up\rYou will need to use the Tray "
                                           "Icon to Activate ") +
                                productName());
        }
        window.setTrayIconVisible(settings.showTrayIcon);
    }
    window.updateCaption();
    return okPressed;
}

} // namespace OptionsCommand
