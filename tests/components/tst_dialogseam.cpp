#include "components/dialogseam.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QtTest>

// Messages keep CR as their line separator for the program and its tests; the real box shows
// each CR as a line break.
class DialogSeamTest : public QObject
{
    Q_OBJECT

private slots:
    void handlerGetsTheTextAsWritten();
    void realBoxBreaksLinesAtCr();
    void realBoxKeepsEachLineWhole();
    void selectableMessageCanBeCopied();

private:
    // Runs what opens a real message box and hands the box to look at before it is closed.
    void inspectBox(const std::function<void()> &open,
                    const std::function<void(QMessageBox &)> &look);
};

void DialogSeamTest::inspectBox(const std::function<void()> &open,
                                const std::function<void(QMessageBox &)> &look)
{
    bool seen = false;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || seen)
            return;
        seen = true;
        look(*box);
        box->accept();
    });
    closer.start(10);
    open();
    QVERIFY(seen);
}

void DialogSeamTest::handlerGetsTheTextAsWritten()
{
    QString seen;
    DialogSeam::setMessageHandler([&](const DialogSeam::Message &message) {
        seen = message.text;
        return QMessageBox::Ok;
    });
    DialogSeam::inform(nullptr, QStringLiteral("one\rtwo"));
    DialogSeam::setMessageHandler({});
    QCOMPARE(seen, QStringLiteral("one\rtwo"));
}

void DialogSeamTest::realBoxBreaksLinesAtCr()
{
    QString shown;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    closer.start(10);
    DialogSeam::ask(nullptr, DialogSeam::Kind::Plain, QStringLiteral("one\rtwo\rthree"));
    QCOMPARE(shown, QStringLiteral("one\ntwo\nthree"));
}

// A question of a few long lines is not wrapped: the box is as wide as its longest line.
void DialogSeamTest::realBoxKeepsEachLineWhole()
{
    const QStringList lines = {
        QStringLiteral("Quillbox will open your default broswser to access the Brackmoor Web Site"),
        QStringLiteral("Please make sure that you are connected to the internet"),
        QStringLiteral("and your firewall will allow Quillbox to access the internet via your "
                       "browser."),
        QStringLiteral("Then click OK")};
    inspectBox(
        [&] {
            DialogSeam::ask(nullptr, DialogSeam::Kind::Confirm, lines.join(u'\r'),
                            QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok,
                            QMessageBox::Question);
        },
        [&](QMessageBox &box) {
            const auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            for (const QString &line : lines)
                QVERIFY2(label->fontMetrics().horizontalAdvance(line) <=
                             label->contentsRect().width(),
                         qPrintable(line));
            QVERIFY(label->height() < (lines.size() + 1) * label->fontMetrics().lineSpacing());
        });
}

void DialogSeamTest::selectableMessageCanBeCopied()
{
    DialogSeam::Message seen;
    DialogSeam::setMessageHandler([&](const DialogSeam::Message &message) {
        seen = message;
        return QMessageBox::Ok;
    });
    DialogSeam::informSelectable(nullptr, QStringLiteral("address\rhttps://example.org/"));
    DialogSeam::setMessageHandler({});
    QVERIFY(seen.selectableText);
    QCOMPARE(seen.caption, DialogSeam::captionFor(DialogSeam::Kind::Plain));
    QCOMPARE(seen.text, QStringLiteral("address\rhttps://example.org/"));

    inspectBox(
        [] { DialogSeam::informSelectable(nullptr, QStringLiteral("https://example.org/")); },
        [](QMessageBox &box) {
            QVERIFY(box.textInteractionFlags() & Qt::TextSelectableByMouse);
            QCOMPARE(box.icon(), QMessageBox::Warning);
        });
}

QTEST_MAIN(DialogSeamTest)
#include "tst_dialogseam.moc"
