#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

// The one way the program asks the user something: every message box and every modal dialog
// goes through here, so tests can answer them instead of blocking.
class DialogSeam
{
public:
    enum class Kind
    {
        Error,   // caption "Error", one OK button
        Confirm, // caption "Confirm": questions and notices
        Plain    // caption = application title
    };

    struct Message
    {
        Kind kind = Kind::Plain;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        bool selectableText = false; // the user can select and copy the text
    };

    using MessageHandler = std::function<QMessageBox::StandardButton(const Message &)>;
    using DialogHandler = std::function<int(QDialog &)>;
    using FolderHandler =
        std::function<QString(const QString &caption, const QString &startFolder)>;

    // Shows a message box (or hands it to the test handler) and returns the button pressed.
    // Lines of text are separated by CR, as in every message of the program.
    static QMessageBox::StandardButton
    ask(QWidget *parent, Kind kind, const QString &text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
        QMessageBox::Icon icon = QMessageBox::NoIcon);
    static void error(QWidget *parent, const QString &text);
    static void inform(QWidget *parent, const QString &text);
    // A plain message (warning icon, OK) whose text the user can select and copy.
    static void informSelectable(QWidget *parent, const QString &text);

    // Runs a modal dialog (or hands it to the test handler) and returns its result code.
    static int exec(QDialog &dialog);

    // Asks for an existing folder, starting at startFolder (or hands the question to the test
    // handler). Empty when the user cancels.
    static QString existingDirectory(QWidget *parent, const QString &caption,
                                     const QString &startFolder);

    // Tests install handlers; an empty handler restores the real boxes.
    static void setMessageHandler(MessageHandler handler);
    static void setDialogHandler(DialogHandler handler);
    static void setFolderHandler(FolderHandler handler);

    static QString captionFor(Kind kind);

private:
    static QMessageBox::StandardButton show(QWidget *parent, const Message &message);
    static void keepLinesWhole(QMessageBox &box);
};
