#include "dialogseam.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QScreen>
#include <algorithm>

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
    return show(parent, Message{kind, icon, captionFor(kind), text, buttons, defaultButton});
}

QMessageBox::StandardButton DialogSeam::show(QWidget *parent, const Message &message)
{
    if (messageHandler())
        return messageHandler()(message);
    QMessageBox box(message.icon, message.caption, QString(message.text).replace(u'\r', u'\n'),
                    message.buttons, parent);
    if (message.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(message.defaultButton);
    if (message.selectableText)
        box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    keepLinesWhole(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

// A message box wraps its text at a width of its own choosing, which breaks a message's lines
// anywhere. Lines that fit two thirds of the screen are kept whole: the text is made as wide
// as its longest line.
void DialogSeam::keepLinesWhole(QMessageBox &box)
{
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    box.ensurePolished();
    int widest = 0;
    for (const QString &line : box.text().split(u'\n'))
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line) + 1);
    const QScreen *screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int limit = screen ? screen->availableGeometry().width() * 2 / 3 : widest;
    label->setMinimumWidth(std::min(widest, limit));
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

void DialogSeam::informSelectable(QWidget *parent, const QString &text)
{
    Message message{Kind::Plain, QMessageBox::Warning, captionFor(Kind::Plain), text};
    message.defaultButton = QMessageBox::Ok;
    message.selectableText = true;
    show(parent, message);
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
