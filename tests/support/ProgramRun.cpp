#include "support/ProgramRun.h"

#include <QProcess>

namespace ProgramRun {

QProcessEnvironment environment(const QString &configFolder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    env.insert("XDG_CONFIG_HOME", configFolder);
    // Run journals go to the data folder: never the real one.
    env.insert("XDG_DATA_HOME", configFolder + "/data");
    return env;
}

Outcome run(const QString &program, const QStringList &arguments, const QString &configFolder,
            const std::function<void()> &inChild, const QString &workingFolder)
{
    QProcess process;
    process.setWorkingDirectory(workingFolder);
    process.setProcessEnvironment(environment(configFolder));
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(program, arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        return {};
    Outcome outcome;
    outcome.crashed = process.exitStatus() != QProcess::NormalExit;
    outcome.exitCode = outcome.crashed ? -1 : process.exitCode();
    outcome.errors = QString::fromLocal8Bit(process.readAllStandardError());
    outcome.output = process.readAllStandardOutput();
    return outcome;
}

} // namespace ProgramRun
