#include "helpwindow.h"

#include "components/productname.h"
#include "urlopener.h"
#include "weblinks.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QToolButton *navigationButton(QAction *action, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}
} // namespace

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this)),
      m_findText(new QLineEdit(this))
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(productName() + QStringLiteral(" Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(640, 560);

    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);

    auto *back =
        new QAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"), this);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    auto *forward = new QAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                QStringLiteral("Forward"), this);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    addActions({back, forward});

    m_findText->setObjectName(QStringLiteral("helpFind"));
    m_findText->setPlaceholderText(QStringLiteral("Find"));
    m_findText->setClearButtonEnabled(true);
    connect(m_findText, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        m_findText->setFocus();
        m_findText->selectAll();
    });
    connect(new QShortcut(QKeySequence::FindNext, this), &QShortcut::activated, this,
            [this] { findNext(); });
    connect(new QShortcut(QKeySequence::FindPrevious, this), &QShortcut::activated, this,
            [this] { findNext(true); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

    auto *bar = new QHBoxLayout;
    bar->addWidget(navigationButton(back, this));
    bar->addWidget(navigationButton(forward, this));
    bar->addStretch(1);
    bar->addWidget(m_findText);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(m_browser, 1);
}

HelpWindow *HelpWindow::showManual(QWidget *owner, const QString &path, const QString &anchor)
{
    static QPointer<HelpWindow> ownerless;
    if (QWidget *dialog = QApplication::activeModalWidget())
        owner = dialog;
    HelpWindow *window = owner
                             ? owner->findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly)
                             : ownerless.data();
    if (!window) {
        window = new HelpWindow(owner);
        if (!owner)
            ownerless = window;
    }
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    window->open(url);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

// The page is read only when it is not the one shown; the browser scrolls to the section once
// it is laid out.
void HelpWindow::open(const QUrl &url)
{
    m_browser->setSource(url, QTextDocument::HtmlResource);
}

void HelpWindow::followLink(const QUrl &link)
{
    const QUrl url = m_browser->source().resolved(link);
    if (url.isLocalFile()) {
        open(url);
    } else if (!UrlOpener::open(url)) {
        WebLinks::reportUnopened(this, url);
    }
}

bool HelpWindow::findNext(bool backward)
{
    const QString text = m_findText->text();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_browser->find(text, flags))
        return true;
    QTextCursor restart(m_browser->document());
    restart.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    const QTextCursor previous = m_browser->textCursor();
    m_browser->setTextCursor(restart);
    if (m_browser->find(text, flags))
        return true;
    m_browser->setTextCursor(previous);
    return false;
}
