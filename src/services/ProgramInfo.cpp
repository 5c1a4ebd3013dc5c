#include "services/ProgramInfo.h"

#include "engine/files/PathHelpers.h"
#include "services/ShortenPath.h"

#include <QFileInfo>

QString FileVersion::toString() const
{
    return QStringLiteral("%1.%2.%3.%4").arg(major).arg(minor).arg(release).arg(build);
}

FileVersion ProgramVersion()
{
    return {SARVONEX_VERSION_MAJOR, SARVONEX_VERSION_MINOR, SARVONEX_VERSION_PATCH,
            SARVONEX_VERSION_TWEAK};
}

QString ProductKey()
{
    return QString::fromLatin1(ApplicationTitle).remove(QLatin1Char(' '))
        + QString::number(ProgramVersion().major);
}

namespace {

QFileInfo programFile()
{
    const QString handedOn = qEnvironmentVariable(ProgramFileVariable);
    if (!handedOn.isEmpty())
        return QFileInfo(handedOn);
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
}

} // namespace

QString ProgramFolder()
{
    return WithTrailingBackslash(programFile().absolutePath());
}

QString ProgramName()
{
    return FileNameWithoutExtension(programFile().fileName());
}
