#include "ui/EditStrings/HtmlView.h"

#include <initializer_list>
#include <utility>

namespace {

// Each step runs over the whole text before the next. QString::replace goes on
// after each inserted replacement, which is the rule both conversions rely on.
QString ReplaceInOrder(QString text,
                       std::initializer_list<std::pair<const char *, const char *>> steps)
{
    for (const auto &[from, to] : steps)
        text.replace(QLatin1String(from), QLatin1String(to));
    return text;
}

} // namespace

QString HtmlToText(const QString &text)
{
    return ReplaceInOrder(text, {{"&gt;", ">"}, {"&lt;", "<"}, {"&amp;", "&"}});
}

QString TextToHtml(const QString &text)
{
    return ReplaceInOrder(text, {{"&", "&amp;"}, {">", "&gt;"}, {"<", "&lt;"}});
}
