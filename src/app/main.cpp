#include "eventloopdelay.h"
#include "mainwindow.h"
#include "notespaths.h"
#include "productname.h"
#include "startupoptions.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(productName());
    QApplication::setQuitOnLastWindowClosed(false);
    installEventLoopDelay();

    const StartUpOptions options = StartUpOptions::parse(
        QApplication::arguments(), defaultNotesPath(QApplication::applicationDirPath()));
    MainWindow window(options.notesFile);
    QObject::connect(&window, &MainWindow::exited, &app, &QApplication::quit);
    QTimer::singleShot(100, &window, [&window, &options] { window.startUp(options.hide); });
    return QApplication::exec();
}
