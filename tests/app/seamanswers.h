#pragma once

#include "components/dialogseam.h"

#include <QList>
#include <QStringList>
#include <QUrl>
#include <functional>

class QDialog;

// Plays the user for every message box, modal dialog and opened address while it lives, so
// that nothing blocks and everything shown is recorded. Messages are answered by answer (OK
// unless set); dialogs are handed to the player, which returns their result code (Rejected
// without a player); addresses are recorded instead of opened.
class SeamAnswers
{
public:
    using Player = std::function<int(QDialog &)>;

    explicit SeamAnswers(Player player = {});
    ~SeamAnswers();
    SeamAnswers(const SeamAnswers &) = delete;
    SeamAnswers &operator=(const SeamAnswers &) = delete;

    void setPlayer(Player player) { m_player = std::move(player); }
    QStringList texts() const;

    std::function<QMessageBox::StandardButton(const DialogSeam::Message &)> answer;
    QList<DialogSeam::Message> messages;
    QStringList dialogs; // the class of every dialog run, in order
    QList<QUrl> opened;

private:
    Player m_player;
};
