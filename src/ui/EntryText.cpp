#include "ui/EntryText.h"

#include "services/ProgramInfo.h"
#include "ui/DisplayCharsets.h"

#include <QLineEdit>
#include <QMessageBox>

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

bool HasAnsiSpelling(const QString &text)
{
    return EncodeFromDisplay(text, DisplayCharsetOrDefault("Default")).has_value();
}

bool AcceptAnsiEntry(QWidget *parent, const QString &what, const QString &text)
{
    if (HasAnsiSpelling(text))
        return true;
    QMessageBox::information(
        parent, ApplicationTitle,
        QStringLiteral("The %1 \"%2\" holds characters that a job cannot store (only the characters "
                       "of the Windows-1252 code page can be kept).\n\nPlease choose or type a %1 "
                       "without them.")
            .arg(what, text));
    return false;
}
