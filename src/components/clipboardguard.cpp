#include "clipboardguard.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

namespace {

qint64 steadyMilliseconds()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

} // namespace

ClipboardGuard::ClipboardGuard(QObject *parent) : QObject(parent), m_clock(steadyMilliseconds)
{
    m_timer.setInterval(CheckIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ClipboardGuard::check);
}

void ClipboardGuard::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

QClipboard *ClipboardGuard::clipboard()
{
    return QGuiApplication::clipboard();
}

void ClipboardGuard::copyPlain(const QString &text)
{
    forget();
    clipboard()->setText(text);
}

void ClipboardGuard::copySecret(const QString &text, int clearAfterSecs)
{
    forget();
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    addSecretHints(*data);
    clipboard()->setMimeData(data.release());
    m_text = text;
    m_holding = true;
    // Where the platform tells ownership (X11, Wayland, Windows), a copy that is ours right now
    // is ours later only while we still own the clipboard; asking the owner for its data would
    // mean a round trip to another program.
    m_ownershipKnown = clipboard()->ownsClipboard();
    if (clearAfterSecs <= 0)
        return;
    m_deadline = m_clock() + qint64(clearAfterSecs) * 1000;
    m_timer.start();
    showSeconds(clearAfterSecs);
}

bool ClipboardGuard::holdsSecretCopy() const
{
    if (!m_holding || (m_ownershipKnown && !clipboard()->ownsClipboard()))
        return false;
    const QMimeData *data = clipboard()->mimeData();
    return data && hasSecretHints(*data) && data->text() == m_text;
}

void ClipboardGuard::clearNow()
{
    if (holdsSecretCopy())
        clipboard()->clear();
    forget();
}

void ClipboardGuard::check()
{
    if (!holdsSecretCopy()) {
        forget();
        return;
    }
    if (m_deadline < 0)
        return;
    const qint64 left = m_deadline - m_clock();
    if (left <= 0) {
        clearNow();
        return;
    }
    showSeconds(int((left + 999) / 1000));
}

void ClipboardGuard::forget()
{
    m_timer.stop();
    m_text.clear();
    m_holding = false;
    m_deadline = -1;
    showSeconds(-1);
}

void ClipboardGuard::showSeconds(int seconds)
{
    if (seconds == m_shownSeconds)
        return;
    m_shownSeconds = seconds;
    emit countdownChanged(seconds);
}
