#include "seamanswers.h"

#include "about/urlopener.h"

#include <QDialog>

SeamAnswers::SeamAnswers(Player player) : m_player(std::move(player))
{
    DialogSeam::setMessageHandler([this](const DialogSeam::Message &message) {
        messages.append(message);
        return m_answerer ? m_answerer(message) : QMessageBox::Ok;
    });
    DialogSeam::setDialogHandler([this](QDialog &dialog) {
        dialogs.append(QString::fromLatin1(dialog.metaObject()->className()));
        return m_player ? m_player(dialog) : int(QDialog::Rejected);
    });
    UrlOpener::setHandler([this](const QUrl &url) {
        opened.append(url);
        return launcherWorks;
    });
}

SeamAnswers::~SeamAnswers()
{
    DialogSeam::setMessageHandler({});
    DialogSeam::setDialogHandler({});
    UrlOpener::setHandler({});
}

void SeamAnswers::answerWith(QMessageBox::StandardButton button)
{
    m_answerer = [button](const DialogSeam::Message &) { return button; };
}

QStringList SeamAnswers::texts() const
{
    QStringList result;
    for (const DialogSeam::Message &message : messages)
        result.append(message.text);
    return result;
}

QStringList SeamAnswers::captionedTexts() const
{
    QStringList result;
    for (const DialogSeam::Message &message : messages)
        result.append(message.caption + QStringLiteral(": ") + message.text);
    return result;
}
