#include "services/ShortenPath.h"

namespace {

qsizetype extensionStart(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? dot : fileName.size();
}

} // namespace

QString FileNameWithoutExtension(const QString &fileName)
{
    return fileName.left(extensionStart(fileName));
}

QString ShortenPath(const QString &path, int maximum)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = path.left(slash + 1);
    const QString fileName = path.mid(slash + 1);

    QString name = FileNameWithoutExtension(fileName);
    if (maximum >= name.size() + 4)
        name = fileName;
    if (maximum >= folder.size() + name.size())
        return folder + name;
    if (maximum >= name.size() + 4) {
        // "/..." stands where a drive path keeps its drive letter and "\...".
        const qsizetype kept = maximum - name.size() - 4;
        return QStringLiteral("/...") + folder.right(kept) + name;
    }
    return name;
}
