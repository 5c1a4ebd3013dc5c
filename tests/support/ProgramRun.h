#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>

// Runs the program itself without a display, with its preferences in
// `configFolder`, as a user's script or cron job would.
namespace ProgramRun {

struct Outcome {
    int exitCode = -1;  // -1 when it did not end normally
    bool crashed = false;
    QString errors;     // standard error
    QByteArray output;  // standard output
};

// The caller's environment without any display, with the preferences in
// `configFolder`.
QProcessEnvironment environment(const QString &configFolder);

// `inChild` runs in the child process just before the program starts (to set
// a resource limit, say). The program runs in `workingFolder`, or in the
// test's own when it is empty.
Outcome run(const QString &program, const QStringList &arguments, const QString &configFolder,
            const std::function<void()> &inChild = {}, const QString &workingFolder = {});

} // namespace ProgramRun
