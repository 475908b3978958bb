#include "startupoptions.h"

#include "components/productname.h"
#include "config.h"
#include "notes/notespaths.h"

#include <QFileInfo>

namespace {

const QString notesOption = QStringLiteral("--notes");

// Options the application object reads itself; the first group takes a value.
const QStringList qtValueOptions = {
    QStringLiteral("-platform"),        QStringLiteral("-platformpluginpath"),
    QStringLiteral("-platformtheme"),   QStringLiteral("-plugin"),
    QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowicon"),
    QStringLiteral("-qwindowtitle"),    QStringLiteral("-display"),
    QStringLiteral("-style"),           QStringLiteral("-stylesheet"),
    QStringLiteral("-session")};
const QStringList qtFlagOptions = {QStringLiteral("-reverse"), QStringLiteral("-nograb"),
                                   QStringLiteral("-dograb"), QStringLiteral("-sync"),
                                   QStringLiteral("-widgetcount")};

QString shortUsage(const QString &program)
{
    return QStringLiteral("Usage: %1 [--notes FILE] [--hide | /HIDE] [--toggle | --show] [--help] "
                          "[--version]\n")
        .arg(program);
}

StartUpOptions refuse(const QString &program, const QString &reason)
{
    StartUpOptions options;
    options.endNow = true;
    options.exitCode = 2;
    options.outputIsError = true;
    options.output = program + QStringLiteral(": ") + reason + u'\n' + shortUsage(program);
    return options;
}

// A Notes file that cannot be used ends the program before anything starts: nothing is written.
StartUpOptions refuseNotesFile(const QString &program, const QString &problem)
{
    StartUpOptions options;
    options.endNow = true;
    options.exitCode = 1;
    options.outputIsError = true;
    options.output = program + QStringLiteral(": ") + problem + u'\n';
    return options;
}

StartUpOptions print(const QString &text)
{
    StartUpOptions options;
    options.endNow = true;
    options.output = text;
    return options;
}

// How many arguments from index on belong to one of Qt's own options ("-style fusion",
// "-style=fusion", "-reverse"); 0 when arguments[index] is none of them.
qsizetype qtOptionLength(const QStringList &arguments, qsizetype index)
{
    const QString &argument = arguments.at(index);
    if (qtFlagOptions.contains(argument))
        return 1;
    const qsizetype equals = argument.indexOf(u'=');
    if (!qtValueOptions.contains(equals < 0 ? argument : argument.left(equals)))
        return 0;
    return equals < 0 && index + 1 < arguments.size() ? 2 : 1;
}

} // namespace

QString StartUpOptions::usage(const QString &program)
{
    return shortUsage(program) +
           QStringLiteral(
               "A notes keeper that lives in the background: its window comes up on the hot\n"
               "key or a click on its tray icon, and Esc hides it again.\n"
               "\n"
               "  --notes FILE   keep the notes in FILE instead of the default Notes file\n"
               "  --hide, /HIDE  hide the window right after start-up (/HIDE in any letter "
               "case)\n"
               "  --toggle       show the window of the copy that runs already, or hide it when\n"
               "                 it is in front, as the hot key does; start when none runs\n"
               "  --show         show the window of the copy that runs already and bring it to\n"
               "                 the front; start when none runs\n"
               "  --help         show this help and exit\n"
               "  --version      show the version and exit\n");
}

QString StartUpOptions::version()
{
    return productName() + QStringLiteral(" " QUILLBOX_VERSION);
}

StartUpOptions StartUpOptions::parse(const QStringList &arguments)
{
    const QString program =
        arguments.isEmpty() ? QStringLiteral("quillbox") : QFileInfo(arguments.first()).fileName();
    StartUpOptions options;
    bool firstArgument = true; // "/HIDE" counts only as the first argument besides the options
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return print(usage(program));
        if (argument == QLatin1String("--version"))
            return print(version() + u'\n');
        if (argument == notesOption) {
            options.notesFile = i + 1 < arguments.size() ? arguments.at(++i) : QString();
            if (options.notesFile.isEmpty())
                return refuse(program, QStringLiteral("option '--notes' needs a file name"));
        } else if (argument.startsWith(notesOption + u'=')) {
            options.notesFile = argument.mid(notesOption.size() + 1);
            if (options.notesFile.isEmpty())
                return refuse(program, QStringLiteral("option '--notes' needs a file name"));
        } else if (argument == QLatin1String("--hide")) {
            options.hide = true;
        } else if (argument == QLatin1String("--toggle") || argument == QLatin1String("--show")) {
            const auto command = argument == QLatin1String("--show")
                                     ? RunningMarker::Command::Show
                                     : RunningMarker::Command::Toggle;
            if (options.remoteCommand && *options.remoteCommand != command)
                return refuse(program,
                              QStringLiteral("options '--toggle' and '--show' exclude each other"));
            options.remoteCommand = command;
        } else if (const qsizetype length = qtOptionLength(arguments, i)) {
            i += length - 1;
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            return refuse(program, QStringLiteral("unknown option '%1'").arg(argument));
        } else {
            if (firstArgument && argument.compare(QLatin1String("/HIDE"), Qt::CaseInsensitive) == 0)
                options.hide = true;
            firstArgument = false;
        }
    }
    if (!options.notesFile.isEmpty()) {
        // A relative name means the working folder, where the user typed it.
        const NotesFileChoice notes =
            resolveNotesFile(QFileInfo(options.notesFile).absoluteFilePath());
        if (!notes.problem.isEmpty())
            return refuseNotesFile(program, notes.problem);
        options.notesFile = notes.path;
    }
    return options;
}
