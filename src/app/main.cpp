#include "appicon.h"
#include "components/activationtoken.h"
#include "components/dialogseam.h"
#include "components/productname.h"
#include "components/runningmarker.h"
#include "components/sessionendwatcher.h"
#include "config.h"
#include "mainwindow.h"
#include "notes/eventloopdelay.h"
#include "notes/notespaths.h"
#include "startupoptions.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// "--toggle" / "--show": true when the copy that runs already took the command. The token a
// launcher gave this process goes along, so the running copy may take the focus on Wayland.
bool handedToRunningCopy(int argc, char *argv[], RunningMarker::Command command)
{
    int count = argc;
    const QCoreApplication client(count, argv);
    return RunningMarker::send(command, qEnvironmentVariable("XDG_ACTIVATION_TOKEN"));
}

} // namespace

int main(int argc, char *argv[])
{
    StartUpOptions options = StartUpOptions::parse(argumentsOf(argc, argv));
    if (options.endNow) {
        std::fputs(options.output.toLocal8Bit().constData(),
                   options.outputIsError ? stderr : stdout);
        return options.exitCode;
    }
    if (options.remoteCommand && handedToRunningCopy(argc, argv, *options.remoteCommand))
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(productName());
    QApplication::setApplicationVersion(QStringLiteral(QUILLBOX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("quillbox"));
    QApplication::setWindowIcon(appIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    installEventLoopDelay();
    if (options.notesFile.isEmpty()) {
        // Started from a desktop menu nobody reads standard error: the user is told in a box.
        const NotesFileChoice notes =
            resolveNotesFile(defaultNotesPath(QApplication::applicationDirPath()));
        if (!notes.problem.isEmpty()) {
            std::fputs((notes.problem + u'\n').toLocal8Bit().constData(), stderr);
            DialogSeam::error(nullptr, notes.problem + QStringLiteral("\n\n%1 ends now; nothing "
                                                                      "was written.")
                                                           .arg(productName()));
            return 1;
        }
        options.notesFile = notes.path;
    }

    RunningMarker runningMarker;
    MainWindow window(options.notesFile);
    WindowPresence &presence = window.presence();
    QObject::connect(&runningMarker, &RunningMarker::commandReceived, &presence,
                     [&presence](RunningMarker::Command command, const QString &activationToken) {
                         useActivationToken(activationToken);
                         if (command == RunningMarker::Command::Toggle)
                             presence.activateOrHide();
                         else
                             presence.showInFront();
                     });
    SessionEndWatcher sessionEnd;
    QObject::connect(&sessionEnd, &SessionEndWatcher::endRequested, &window,
                     &MainWindow::exitProgram);
    QObject::connect(&window, &MainWindow::exited, &app, &QApplication::quit);
    QTimer::singleShot(100, &window, [&window, &options] {
        window.startUp(options.hide);
        // Started by "--toggle" or "--show" because no copy ran: the window comes up whatever
        // the start-up settings say.
        if (options.remoteCommand)
            window.presence().showInFront();
    });
    return QApplication::exec();
}
