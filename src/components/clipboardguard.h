#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QClipboard;
class QMimeData;

// Puts copied words on the clipboard and looks after the secret ones. A secret copy carries the
// hints that clipboard managers and the system's clipboard history honour, and is cleared when
// its delay has run out or by clearNow(). Clearing touches the clipboard only while it still
// holds exactly that copy: whatever was copied since, by this program or another, stays.
class ClipboardGuard : public QObject
{
    Q_OBJECT

public:
    // Milliseconds of a steady clock; tests give one of their own.
    using Clock = std::function<qint64()>;
    // How often the guard looks at the clock and the clipboard while a clearing is due.
    static constexpr int CheckIntervalMs = 250;

    explicit ClipboardGuard(QObject *parent = nullptr);

    void setClock(Clock clock);

    // A word without hints that is never cleared; a secret copy before it is forgotten.
    void copyPlain(const QString &text);
    // A word with the secret hints, cleared after clearAfterSecs seconds (0 or less: never by
    // time, only by clearNow()).
    void copySecret(const QString &text, int clearAfterSecs);
    // Clears the secret copy at once when the clipboard still holds it; forgets it either way.
    void clearNow();

    // The clipboard still holds the last secret copy, hints and text.
    bool holdsSecretCopy() const;
    // Whole seconds, rounded up, until the secret copy is cleared; -1 when no clearing is due.
    int secondsLeft() const { return m_shownSeconds; }

    // Looks at the clock and the clipboard: clears the copy when its time has come, forgets it
    // when the clipboard holds something else. The guard's timer runs this while a clearing is
    // due.
    void check();

    // The hints of a secret copy for this platform's clipboard managers, and whether data
    // carries them.
    static void addSecretHints(QMimeData &data);
    static bool hasSecretHints(const QMimeData &data);

signals:
    // secondsLeft() changed; -1 once the copy is cleared, replaced or never to be cleared.
    void countdownChanged(int secondsLeft);

private:
    void forget();
    void showSeconds(int seconds);
    static QClipboard *clipboard();

    Clock m_clock;
    QTimer m_timer;
    QString m_text;
    bool m_holding = false;        // a secret copy was made and not yet forgotten
    bool m_ownershipKnown = false; // the platform tells whether this program owns the clipboard
    qint64 m_deadline = -1;        // clock time of the clearing; -1 never
    int m_shownSeconds = -1;
};
