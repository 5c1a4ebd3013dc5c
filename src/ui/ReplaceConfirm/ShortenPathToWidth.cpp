#include "ui/ReplaceConfirm/ShortenPathToWidth.h"

#include "services/ShortenPath.h"

#include <QFontMetrics>

QString ShortenPathToWidth(const QString &path, int width, const QFont &font)
{
    const QFontMetrics metrics(font);
    for (int maximum = int(path.size()); maximum >= 1; --maximum) {
        const QString shortened = ShortenPath(path, maximum);
        if (metrics.horizontalAdvance(shortened) <= width)
            return shortened;
    }
    return ShortenPath(path, 0);
}
