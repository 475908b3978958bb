#include "dialogseam.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>

namespace {
DialogSeam::MessageHandler &messageHandler()
{
    static DialogSeam::MessageHandler handler;
    return handler;
}

DialogSeam::DialogHandler &dialogHandler()
{
    static DialogSeam::DialogHandler handler;
    return handler;
}

DialogSeam::FolderHandler &folderHandler()
{
    static DialogSeam::FolderHandler handler;
    return handler;
}
} // namespace

QString DialogSeam::captionFor(Kind kind)
{
    switch (kind) {
    case Kind::Error:
        return QStringLiteral("Error");
    case Kind::Confirm:
        return QStringLiteral("Confirm");
    case Kind::Plain:
        break;
    }
    return QApplication::applicationDisplayName();
}

QMessageBox::StandardButton DialogSeam::ask(QWidget *parent, Kind kind, const QString &text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton,
                                            QMessageBox::Icon icon)
{
    const Message message{kind, icon, captionFor(kind), text, buttons, defaultButton};
    if (messageHandler())
        return messageHandler()(message);
    QMessageBox box(icon, message.caption, QString(text).replace(u'\r', u'\n'), buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void DialogSeam::error(QWidget *parent, const QString &text)
{
    QApplication::beep();
    ask(parent, Kind::Error, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Critical);
}

void DialogSeam::inform(QWidget *parent, const QString &text)
{
    ask(parent, Kind::Plain, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Information);
}

int DialogSeam::exec(QDialog &dialog)
{
    if (dialogHandler())
        return dialogHandler()(dialog);
    return dialog.exec();
}

QString DialogSeam::existingDirectory(QWidget *parent, const QString &caption,
                                      const QString &startFolder)
{
    if (folderHandler())
        return folderHandler()(caption, startFolder);
    return QFileDialog::getExistingDirectory(parent, caption, startFolder);
}

void DialogSeam::setMessageHandler(MessageHandler handler)
{
    messageHandler() = std::move(handler);
}

void DialogSeam::setDialogHandler(DialogHandler handler)
{
    dialogHandler() = std::move(handler);
}

void DialogSeam::setFolderHandler(FolderHandler handler)
{
    folderHandler() = std::move(handler);
}
