#include "ui/EditStrings/HtmlView.h"

// QString::replace continues after each inserted replacement, which is the
// rule both conversions rely on.

QString HtmlToText(const QString &text)
{
    QString result = text;
    result.replace(QLatin1String("&gt;"), QLatin1String(">"));
    result.replace(QLatin1String("&lt;"), QLatin1String("<"));
    result.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return result;
}

QString TextToHtml(const QString &text)
{
    QString result = text;
    result.replace(QLatin1String("&"), QLatin1String("&amp;"));
    result.replace(QLatin1String(">"), QLatin1String("&gt;"));
    result.replace(QLatin1String("<"), QLatin1String("&lt;"));
    return result;
}
