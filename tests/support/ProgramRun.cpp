#include "support/ProgramRun.h"

#include <QProcess>

namespace ProgramRun {

Outcome run(const QString &program, const QStringList &arguments, const QString &configFolder,
            const std::function<void()> &inChild)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    env.insert("XDG_CONFIG_HOME", configFolder);
    QProcess process;
    process.setProcessEnvironment(env);
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
    return outcome;
}

} // namespace ProgramRun
