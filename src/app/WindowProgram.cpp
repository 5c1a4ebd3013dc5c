#include "app/WindowProgram.h"

#include "services/ProgramInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

int ExecWindowProgram(char *argv[])
{
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    const QString folder = QFileInfo(self).absolutePath() + QLatin1Char('/');
    const QString name = QStringLiteral(SARVONEX_WINDOW_PROGRAM);
    const QStringList places{folder + name,
                             QDir::cleanPath(folder + QStringLiteral(SARVONEX_WINDOW_FROM_BIN "/") + name)};
    for (const QString &place : places) {
        if (!QFileInfo(place).isFile())
            continue;
        ::setenv(ProgramFileVariable, QFile::encodeName(self).constData(), 1);
        ::execv(QFile::encodeName(place).constData(), argv);
        std::fprintf(stderr, "sarvonex: cannot start the window program %s: %s\n", qPrintable(place),
                     std::strerror(errno));
        return 1;
    }
    std::fprintf(stderr,
                 "sarvonex: cannot open a window: the window program is missing (neither %s nor %s "
                 "exists).\nRuns without a display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM "
                 "unset) do not need it.\n",
                 qPrintable(places[0]), qPrintable(places[1]));
    return 1;
}
