#pragma once

#include "components/dialogseam.h"

#include <QDialog>
#include <QStringList>
#include <functional>

// Answers every message box and modal dialog the code under test opens, for the lifetime of
// the object: message boxes are logged as "<caption>: <text>" and answered with answer; modal
// dialogs are handed to onDialog, which plays the user and returns the result code.
class SeamAnswers
{
public:
    explicit SeamAnswers(std::function<int(QDialog &)> onDialog = {})
    {
        DialogSeam::setMessageHandler([this](const DialogSeam::Message &message) {
            messages.append(message.caption + QStringLiteral(": ") + message.text);
            buttons.append(message.buttons);
            return answer;
        });
        DialogSeam::setDialogHandler([this, onDialog](QDialog &dialog) {
            ++dialogs;
            return onDialog ? onDialog(dialog) : int(QDialog::Rejected);
        });
    }
    ~SeamAnswers()
    {
        DialogSeam::setMessageHandler({});
        DialogSeam::setDialogHandler({});
    }
    SeamAnswers(const SeamAnswers &) = delete;
    SeamAnswers &operator=(const SeamAnswers &) = delete;

    QMessageBox::StandardButton answer = QMessageBox::Ok;
    QStringList messages;
    QList<QMessageBox::StandardButtons> buttons;
    int dialogs = 0;
};
