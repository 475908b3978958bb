#include "aboutbox.h"

#include "components/dialogseam.h"
#include "components/productname.h"
#include "config.h"
#include "fittedlabel.h"
#include "licencetext.h"
#include "weblinks.h"

#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int boxWidth = 399;
constexpr int namePanelHeight = 145;
constexpr int licencePanelHeight = 288;
constexpr int versionPanelHeight = 37;
constexpr int linkRowHeight = 18;
constexpr int maxVersionLength = 20;

const QString makerName = QStringLiteral("Brackmoor");

// A name in the bold serif face, made smaller where the face found is too wide for the panel.
QLabel *nameLabel(const QString &text, int pixelHeight)
{
    QFont font(QStringLiteral("Garamond"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setPixelSize(pixelHeight);
    auto *label = new FittedLabel(text, font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel *linkRow(const QString &text, const QString &hint)
{
    auto *label = new QLabel(QStringLiteral("<a href=\"link\">%1</a>").arg(text.toHtmlEscaped()));
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(hint);
    label->setAlignment(Qt::AlignCenter);
    label->setFixedHeight(linkRowHeight);
    return label;
}

QLabel *textRow(const QString &text)
{
    auto *label = new QLabel(text);
    label->setAlignment(Qt::AlignCenter);
    label->setFixedHeight(linkRowHeight);
    return label;
}

} // namespace

AboutBox::AboutBox(Mode mode, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    QWidget *namePanel = createNamePanel();
    QWidget *licencePanel = createLicencePanel();
    layout->addWidget(namePanel);
    layout->addWidget(licencePanel);
    layout->addWidget(createVersionPanel());

    if (mode == Mode::About) {
        licencePanel->hide();
        setWindowTitle(QStringLiteral("About ") + productName());
    } else {
        namePanel->hide();
        setWindowTitle(productName() + QStringLiteral(" Licence"));
        m_licenceView->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    }
}

QWidget *AboutBox::createNamePanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("namePanel"));
    panel->setFixedSize(boxWidth, namePanelHeight);

    auto *names = new QGroupBox(panel);
    auto *namesLayout = new QVBoxLayout(names);
    namesLayout->addWidget(nameLabel(productName(), 37));
    namesLayout->addWidget(nameLabel(QStringLiteral("by"), 24));
    QLabel *maker = nameLabel(makerName, 37);
    maker->setObjectName(QStringLiteral("makerName"));
    namesLayout->addWidget(maker);

    auto *links = new QGroupBox(panel);
    auto *linksLayout = new QVBoxLayout(links);
    QLabel *web = linkRow(WebLinks::webSite().host(), QStringLiteral("Go to Brackmoor Web Site"));
    web->setObjectName(QStringLiteral("webLink"));
    connect(web, &QLabel::linkActivated, this, [this] { WebLinks::openWebSite(this); });
    QLabel *mail = linkRow(QStringLiteral("e-mail support"), QStringLiteral("e-mail Brackmoor"));
    mail->setObjectName(QStringLiteral("mailLink"));
    connect(mail, &QLabel::linkActivated, this, [this] { WebLinks::mailSupport(this); });
    linksLayout->addWidget(web);
    for (const char *text : {"free software", "support ", "information", "development requests"})
        linksLayout->addWidget(textRow(QString::fromLatin1(text)));
    linksLayout->addWidget(mail);

    auto *layout = new QHBoxLayout(panel);
    layout->addWidget(names, 1);
    layout->addWidget(links, 1);
    return panel;
}

QWidget *AboutBox::createLicencePanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("licencePanel"));
    panel->setFixedSize(boxWidth, licencePanelHeight);
    m_licenceView = new QPlainTextEdit(licenceText(), panel);
    m_licenceView->setReadOnly(true);
    m_licenceView->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_licenceView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *layout = new QVBoxLayout(panel);
    layout->addWidget(m_licenceView);
    return panel;
}

QWidget *AboutBox::createVersionPanel()
{
    auto *panel = new QWidget(this);
    panel->setFixedSize(boxWidth, versionPanelHeight);
    auto *version = new QLabel(QStringLiteral("Version ") + versionText(), panel);
    version->setObjectName(QStringLiteral("versionLabel"));
    auto *notice =
        new QLabel(QStringLiteral("\u00a9 %1, GNU GPL 3 or later").arg(makerName), panel);
    auto *ok = new QPushButton(QStringLiteral("OK"), panel);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QHBoxLayout(panel);
    layout->addWidget(version);
    layout->addStretch();
    layout->addWidget(notice);
    layout->addStretch();
    layout->addWidget(ok);
    return panel;
}

QString AboutBox::versionText()
{
    return QStringLiteral(QUILLBOX_VERSION).left(maxVersionLength);
}

QString AboutBox::licenceText()
{
    return LicenceText::load();
}

void AboutBox::showAboutBox(Mode mode, QWidget *parent)
{
    AboutBox box(mode, parent);
    DialogSeam::exec(box);
}
