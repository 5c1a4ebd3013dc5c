#include "ui/EntryText.h"

#include <QLineEdit>

namespace {

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= u' ';
}

} // namespace

QString TrimmedEntryText(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString TrimEntryText(QLineEdit *edit)
{
    const QString trimmed = TrimmedEntryText(edit->text());
    if (trimmed != edit->text())
        edit->setText(trimmed);
    return trimmed;
}
