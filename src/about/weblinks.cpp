#include "weblinks.h"

#include "components/dialogseam.h"
#include "components/productname.h"
#include "config.h"
#include "urlopener.h"

QUrl WebLinks::webSite()
{
    return QUrl(QStringLiteral(QUILLBOX_HOMEPAGE));
}

QUrl WebLinks::supportMail()
{
    return QUrl(QStringLiteral("mailto:") + productName() + u'@' + webSite().host());
}

QString WebLinks::webSiteQuestion()
{
    return productName() +
           QStringLiteral(" will open your default broswser to access the Brackmoor Web Site") +
           u'\r' + QStringLiteral("Please make sure that you are connected to the internet") +
           u'\r' + QStringLiteral("and your firewall will allow ") + productName() +
           QStringLiteral(" to access the internet via your browser.") + u'\r' +
           QStringLiteral("Then click OK");
}

void WebLinks::openWebSite(QWidget *parent)
{
    const QMessageBox::StandardButton answer = DialogSeam::ask(
        parent, DialogSeam::Kind::Confirm, webSiteQuestion(), QMessageBox::Ok | QMessageBox::Cancel,
        QMessageBox::Ok, QMessageBox::Question);
    if (answer == QMessageBox::Ok && !UrlOpener::open(webSite()))
        reportUnopened(parent, webSite());
}

void WebLinks::mailSupport(QWidget *parent)
{
    if (!UrlOpener::open(supportMail()))
        reportUnopened(parent, supportMail());
}

QString WebLinks::unopenedMessage(const QUrl &address)
{
    if (address.scheme() == QLatin1String("mailto"))
        return QStringLiteral("No mail program could be opened. The address to write to is:\r") +
               address.path();
    return QStringLiteral("No web browser could be opened. The address to visit is:\r") +
           address.toString();
}

void WebLinks::reportUnopened(QWidget *parent, const QUrl &address)
{
    DialogSeam::informSelectable(parent, unopenedMessage(address));
}
