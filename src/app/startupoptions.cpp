#include "startupoptions.h"

StartUpOptions StartUpOptions::parse(const QStringList &arguments, const QString &defaultNotesFile)
{
    StartUpOptions options{defaultNotesFile};
    const QString notesOption = QStringLiteral("--notes");
    bool firstArgument = true; // "/HIDE" counts only as the first argument besides the options
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == notesOption && i + 1 < arguments.size()) {
            options.notesFile = arguments.at(++i);
        } else if (argument.startsWith(notesOption + QLatin1Char('='))) {
            options.notesFile = argument.mid(notesOption.size() + 1);
        } else if (argument == QLatin1String("--hide")) {
            options.hide = true;
        } else {
            if (firstArgument && argument.compare(QLatin1String("/HIDE"), Qt::CaseInsensitive) == 0)
                options.hide = true;
            firstArgument = false;
        }
    }
    return options;
}
