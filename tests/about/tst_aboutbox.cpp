#include "about/aboutbox.h"
#include "about/licencetext.h"
#include "about/weblinks.h"
#include "config.h"
#include "support/seamanswers.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

// The about and licence box in both modes, and the web and mail links.
class AboutBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aboutShowsNamesLinksAndVersion();
    void licenceShowsTheLicenceWrapped();
    void makerNameFitsItsPanel_data();
    void makerNameFitsItsPanel();
    void licenceParagraphsAreUnwrapped_data();
    void licenceParagraphsAreUnwrapped();
    void licenceBoxShowsTheLicenceFileUnwrapped();
    void aboutIsShorterThanLicence();
    void escapeClosesEvenFromTheLicenceText();
    void versionIsTheBuildsCutTo20();
    void webLinkAsksFirst_data();
    void webLinkAsksFirst();
    void mailLinkOpensWithoutAsking();
    void unopenedAddressIsShownToCopy_data();
    void unopenedAddressIsShownToCopy();
    void showAboutBoxRunsModally();

private:
    static QStringList labelTexts(const QWidget &widget);

    std::unique_ptr<SeamAnswers> m_seams;
};

void AboutBoxTest::init()
{
    m_seams = std::make_unique<SeamAnswers>();
}

void AboutBoxTest::cleanup()
{
    m_seams.reset();
}

QStringList AboutBoxTest::labelTexts(const QWidget &widget)
{
    QStringList texts;
    for (const QLabel *label : widget.findChildren<QLabel *>())
        texts.append(label->text());
    return texts;
}

void AboutBoxTest::aboutShowsNamesLinksAndVersion()
{
    AboutBox box(AboutBox::Mode::About);
    box.show();
    QCOMPARE(box.windowTitle(), QStringLiteral("About Quillbox"));
    QVERIFY(box.findChild<QWidget *>(QStringLiteral("namePanel"))->isVisible());
    QVERIFY(!box.findChild<QWidget *>(QStringLiteral("licencePanel"))->isVisible());

    const QStringList texts = labelTexts(box);
    for (const char *text : {"Quillbox", "by", "Brackmoor", "free software", "support ",
                             "information", "development requests"})
        QVERIFY2(texts.contains(QLatin1String(text)), text);
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("versionLabel"))->text(),
             QStringLiteral("Version " QUILLBOX_VERSION));

    const auto *web = box.findChild<QLabel *>(QStringLiteral("webLink"));
    const auto *mail = box.findChild<QLabel *>(QStringLiteral("mailLink"));
    QCOMPARE(web->toolTip(), QStringLiteral("Go to Brackmoor Web Site"));
    QVERIFY(web->text().contains(WebLinks::webSite().host()));
    QCOMPARE(mail->toolTip(), QStringLiteral("e-mail Brackmoor"));
    QVERIFY(mail->text().contains(QStringLiteral("e-mail support")));
}

void AboutBoxTest::licenceShowsTheLicenceWrapped()
{
    AboutBox box(AboutBox::Mode::Licence);
    box.show();
    QCOMPARE(box.windowTitle(), QStringLiteral("Quillbox Licence"));
    QVERIFY(!box.findChild<QWidget *>(QStringLiteral("namePanel"))->isVisible());
    QVERIFY(box.findChild<QWidget *>(QStringLiteral("licencePanel"))->isVisible());

    const auto *text = box.findChild<QPlainTextEdit *>();
    QVERIFY(text->isVisible());
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QVERIFY(text->toPlainText().contains(QStringLiteral("GNU GENERAL PUBLIC LICENSE")));
    QVERIFY(text->toPlainText().contains(QStringLiteral("Version 3, 29 June 2007")));
    QCOMPARE(text->toPlainText(), AboutBox::licenceText());
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("versionLabel"))->text(),
             QStringLiteral("Version " QUILLBOX_VERSION));
}

void AboutBoxTest::makerNameFitsItsPanel_data()
{
    QTest::addColumn<QString>("fallback"); // what stands in for a missing Garamond
    QTest::newRow("as installed") << QString();
    QTest::newRow("DejaVu Serif") << QStringLiteral("DejaVu Serif");
    QTest::newRow("URW Bookman") << QStringLiteral("URW Bookman");
}

// The names are written whole inside their group box whatever serif face stands in for the
// intended one (the test runs at 1x and at 2x scale).
void AboutBoxTest::makerNameFitsItsPanel()
{
    QFETCH(QString, fallback);
    const QString garamond = QStringLiteral("Garamond");
    if (!fallback.isEmpty())
        QFont::insertSubstitution(garamond, fallback);
    const auto dropFallback = qScopeGuard([&] { QFont::removeSubstitutions(garamond); });
    AboutBox box(AboutBox::Mode::About);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    const auto *maker = box.findChild<QLabel *>(QStringLiteral("makerName"));
    QVERIFY(maker);
    QCOMPARE(maker->text(), QStringLiteral("Brackmoor"));
    const auto *names = qobject_cast<const QGroupBox *>(maker->parentWidget());
    QVERIFY(names);
    for (const QLabel *label : names->findChildren<QLabel *>()) {
        const int width = label->fontMetrics().horizontalAdvance(label->text());
        QVERIFY2(width <= label->contentsRect().width(),
                 qPrintable(QStringLiteral("%1 in %2: %3 px in %4 px")
                                .arg(label->text(), QFontInfo(label->font()).family())
                                .arg(width)
                                .arg(label->contentsRect().width())));
        QVERIFY(names->contentsRect().contains(label->geometry()));
    }
    const QWidget *panel = box.findChild<QWidget *>(QStringLiteral("namePanel"));
    QVERIFY(panel->rect().contains(names->geometry()));
    QVERIFY(maker->font().pixelSize() >= 18);
}

void AboutBoxTest::licenceParagraphsAreUnwrapped_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("shown");
    QTest::newRow("paragraph") << "  The licenses for most\nsoftware are designed\nto take away.\n"
                               << "The licenses for most software are designed to take away.\n";
    QTest::newRow("paragraphs") << "one\ntwo\n\nthree\n  four\n"
                                << "one two\n\nthree four\n";
    QTest::newRow("list item") << "    a) The work must\n    carry notices.\n"
                               << "a) The work must carry notices.\n";
    QTest::newRow("centred headings")
        << "          GNU GENERAL\n          Version 3\n\n  Preamble\n"
        << "GNU GENERAL\nVersion 3\n\nPreamble\n";
    QTest::newRow("heading above text") << "            Title\ntext\nmore\n"
                                        << "Title\ntext more\n";
}

void AboutBoxTest::licenceParagraphsAreUnwrapped()
{
    QFETCH(QString, file);
    QFETCH(QString, shown);
    QCOMPARE(LicenceText::unwrapped(file), shown);
}

// The box shows every word of the licence file, in order, with each paragraph on one line.
void AboutBoxTest::licenceBoxShowsTheLicenceFileUnwrapped()
{
    QFile file(QStringLiteral(QUILLBOX_LICENSE_FILE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString original = QString::fromUtf8(file.readAll());
    AboutBox box(AboutBox::Mode::Licence);
    const QString shown = box.findChild<QPlainTextEdit *>()->toPlainText();

    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QCOMPARE(shown.split(blanks, Qt::SkipEmptyParts), original.split(blanks, Qt::SkipEmptyParts));
    QVERIFY(shown.split(u'\n').contains(
        QStringLiteral("The GNU General Public License is a free, copyleft license for software "
                       "and other kinds of works.")));
    QVERIFY(shown.count(u'\n') < original.count(u'\n') / 2);
}

void AboutBoxTest::aboutIsShorterThanLicence()
{
    AboutBox about(AboutBox::Mode::About);
    AboutBox licence(AboutBox::Mode::Licence);
    about.show();
    licence.show();
    QCOMPARE(about.width(), 399);
    QCOMPARE(licence.width(), 399);
    QCOMPARE(about.height(), 145 + 37);
    QCOMPARE(licence.height(), 288 + 37);
}

void AboutBoxTest::escapeClosesEvenFromTheLicenceText()
{
    AboutBox box(AboutBox::Mode::Licence);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto *text = box.findChild<QPlainTextEdit *>();
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Rejected));
}

void AboutBoxTest::versionIsTheBuildsCutTo20()
{
    QCOMPARE(AboutBox::versionText(), QStringLiteral(QUILLBOX_VERSION).left(20));
    QVERIFY(AboutBox::versionText().size() <= 20);
    QVERIFY(!AboutBox::versionText().isEmpty());
}

void AboutBoxTest::webLinkAsksFirst_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("opens");
    QTest::newRow("OK") << QMessageBox::Ok << true;
    QTest::newRow("Cancel") << QMessageBox::Cancel << false;
}

void AboutBoxTest::webLinkAsksFirst()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, opens);
    m_seams->answerWith(answer);
    AboutBox box(AboutBox::Mode::About);
    emit box.findChild<QLabel *>(QStringLiteral("webLink"))->linkActivated(QStringLiteral("link"));

    QCOMPARE(m_seams->messages.size(), 1);
    const DialogSeam::Message &question = m_seams->messages.first();
    QCOMPARE(question.text,
             QStringLiteral("Quillbox will open your default broswser to access the Brackmoor "
                            "Web Site\rPlease make sure that you are connected to the internet\r"
                            "and your firewall will allow Quillbox to access the internet via "
                            "your browser.\rThen click OK"));
    QCOMPARE(question.caption, QStringLiteral("Confirm"));
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(m_seams->opened, opens ? QList<QUrl>{WebLinks::webSite()} : QList<QUrl>{});
    QCOMPARE(WebLinks::webSite(), QUrl(QStringLiteral(QUILLBOX_HOMEPAGE)));
}

void AboutBoxTest::mailLinkOpensWithoutAsking()
{
    AboutBox box(AboutBox::Mode::About);
    emit box.findChild<QLabel *>(QStringLiteral("mailLink"))->linkActivated(QStringLiteral("link"));
    QVERIFY(m_seams->messages.isEmpty());
    QCOMPARE(m_seams->opened.size(), 1);
    const QUrl mail = m_seams->opened.first();
    QCOMPARE(mail.scheme(), QStringLiteral("mailto"));
    QCOMPARE(mail.path(), QStringLiteral("Quillbox@") + WebLinks::webSite().host());
}

void AboutBoxTest::unopenedAddressIsShownToCopy_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("address");
    QTest::newRow("web") << "webLink" << WebLinks::webSite().toString();
    QTest::newRow("mail") << "mailLink" << WebLinks::supportMail().path();
}

// Without a browser or mail program the user gets the address in a message to copy it from.
void AboutBoxTest::unopenedAddressIsShownToCopy()
{
    QFETCH(QString, link);
    QFETCH(QString, address);
    m_seams->launcherWorks = false;
    AboutBox box(AboutBox::Mode::About);
    emit box.findChild<QLabel *>(link)->linkActivated(QStringLiteral("link"));

    QCOMPARE(m_seams->opened.size(), 1);
    QVERIFY(!m_seams->messages.isEmpty());
    const DialogSeam::Message &message = m_seams->messages.last();
    QVERIFY2(message.text.split(u'\r').contains(address), qPrintable(message.text));
    QVERIFY(message.selectableText);
    QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(m_seams->messages.size(), link == QLatin1String("webLink") ? 2 : 1);
}

void AboutBoxTest::showAboutBoxRunsModally()
{
    QStringList titles;
    DialogSeam::setDialogHandler([&](QDialog &dialog) {
        titles.append(dialog.windowTitle());
        return int(QDialog::Accepted);
    });
    AboutBox::showAboutBox(AboutBox::Mode::About);
    AboutBox::showAboutBox(AboutBox::Mode::Licence);
    QCOMPARE(titles,
             (QStringList{QStringLiteral("About Quillbox"), QStringLiteral("Quillbox Licence")}));
}

QTEST_MAIN(AboutBoxTest)
#include "tst_aboutbox.moc"
