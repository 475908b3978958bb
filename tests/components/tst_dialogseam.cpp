#include "dialogseam.h"

#include <QApplication>
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
};

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

QTEST_MAIN(DialogSeamTest)
#include "tst_dialogseam.moc"
