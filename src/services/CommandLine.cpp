#include "services/CommandLine.h"

namespace {

// The argument with a leading slash read as a hyphen; empty for an argument
// that is no switch at all.
QString asSwitch(const QString &argument)
{
    if (argument.startsWith(QLatin1Char('-')))
        return argument;
    if (argument.startsWith(QLatin1Char('/')))
        return QLatin1Char('-') + argument.mid(1);
    return QString();
}

bool hasSwitch(const QString &argument, const QString &switchName)
{
    const QString wanted = asSwitch(switchName);
    return !wanted.isEmpty() && asSwitch(argument).startsWith(wanted, Qt::CaseInsensitive);
}

} // namespace

QStringList CommandLineArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

bool HasSwitch(const QStringList &arguments, const QString &switchName)
{
    for (const QString &argument : arguments) {
        if (hasSwitch(argument, switchName))
            return true;
    }
    return false;
}

QString SwitchValue(const QStringList &arguments, const QString &switchName)
{
    QString value;
    for (const QString &argument : arguments) {
        if (!hasSwitch(argument, switchName))
            continue;
        value = argument.mid(switchName.size());
        if (value.startsWith(QLatin1Char(':')))
            value.remove(0, 1);
    }
    return value;
}

bool IsConnectionCheck(const QStringList &arguments)
{
    return arguments.size() == 1 && HasSwitch(arguments, QStringLiteral("/CheckInternet"));
}

StartupRequest StartupRequest::fromArguments(const QStringList &arguments)
{
    StartupRequest request;
    request.noArguments = arguments.isEmpty();
    request.settingsFile = SwitchValue(arguments, QStringLiteral("-f"));
    request.run = HasSwitch(arguments, QStringLiteral("-r"));
    request.unattended = request.run && HasSwitch(arguments, QStringLiteral("-s"));
    request.preview = arguments.contains(QStringLiteral("--preview"));
    request.undo = arguments.contains(QStringLiteral("--undo"));
    for (const QString &argument : arguments) {
        if (argument == QStringLiteral("--color"))
            request.color = QStringLiteral("always");
        else if (argument.startsWith(QStringLiteral("--color=")))
            request.color = argument.mid(8);
    }
    if (!QStringList{"auto", "always", "never"}.contains(request.color))
        request.color.clear();
    return request;
}
