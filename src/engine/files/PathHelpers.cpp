#include "engine/files/PathHelpers.h"

QString ZeroPad(qint64 number, int width)
{
    return QString::number(number).rightJustified(width, u'0');
}

bool IsValidFolderName(const QString &name)
{
    static const QString forbidden = QStringLiteral("\"*/:<>?\\|");
    if (name.isEmpty() || name.startsWith(u'.'))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 32 || forbidden.contains(c))
            return false;
    }
    return true;
}

bool IsPlainNamePart(const QString &part)
{
    return !part.contains(u'/') && part != u"." && part != u"..";
}

QString WithTrailingBackslash(const QString &path)
{
    if (path.isEmpty() || path.endsWith(u'/'))
        return path;
    return path + u'/';
}

QString WithoutTrailingBackslash(const QString &path)
{
    if (path.size() > 1 && path.endsWith(u'/'))
        return path.chopped(1);
    return path;
}
