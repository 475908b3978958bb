#pragma once

#include "components/dialogseam.h"

#include <QList>
#include <QStringList>
#include <QUrl>
#include <functional>

class QDialog;

// Plays the user for every message box, modal dialog and opened address while it lives, so
// that nothing blocks and everything shown is recorded. Messages are answered with OK unless
// told otherwise (answerWith); dialogs are handed to the player, which returns their result
// code (Rejected without a player); addresses are recorded instead of opened, and the desktop
// is said to open them unless launcherWorks is cleared. Only one may live at a time.
class SeamAnswers
{
public:
    using Player = std::function<int(QDialog &)>;
    using Answerer = std::function<QMessageBox::StandardButton(const DialogSeam::Message &)>;

    explicit SeamAnswers(Player player = {});
    ~SeamAnswers();
    SeamAnswers(const SeamAnswers &) = delete;
    SeamAnswers &operator=(const SeamAnswers &) = delete;

    void setPlayer(Player player) { m_player = std::move(player); }
    // Every later message is answered with button, or by answerer.
    void answerWith(QMessageBox::StandardButton button);
    void answerWith(Answerer answerer) { m_answerer = std::move(answerer); }

    // The texts of the messages shown, in order.
    QStringList texts() const;
    // The messages shown as "<caption>: <text>", in order.
    QStringList captionedTexts() const;

    QList<DialogSeam::Message> messages;
    QStringList dialogs; // the class of every dialog run, in order
    QList<QUrl> opened;
    bool launcherWorks = true; // whether the desktop opens what it is handed

private:
    Player m_player;
    Answerer m_answerer;
};
