#pragma once

#include "about/urlopener.h"
#include "components/dialogseam.h"

#include <QList>
#include <QUrl>

// Answers every message box with `answer` and records the messages and the addresses handed to
// the platform (which opens them when launcherWorks), for as long as it lives.
class SeamRecorder
{
public:
    SeamRecorder()
    {
        UrlOpener::setHandler([this](const QUrl &url) {
            opened.append(url);
            return launcherWorks;
        });
        DialogSeam::setMessageHandler([this](const DialogSeam::Message &message) {
            messages.append(message);
            return answer;
        });
    }
    ~SeamRecorder()
    {
        UrlOpener::setHandler({});
        DialogSeam::setMessageHandler({});
        DialogSeam::setDialogHandler({});
    }
    SeamRecorder(const SeamRecorder &) = delete;
    SeamRecorder &operator=(const SeamRecorder &) = delete;

    QList<QUrl> opened;
    QList<DialogSeam::Message> messages;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    bool launcherWorks = true; // whether the desktop opens what it is handed
};
