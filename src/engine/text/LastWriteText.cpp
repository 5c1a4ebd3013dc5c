#include "engine/text/LastWriteText.h"

#include <QLocale>

QString lastWriteText(const QDateTime &lastWrite)
{
    const QLocale locale = QLocale::system();
    const QDateTime local = lastWrite.toLocalTime();
    const QString date = locale.toString(local.date(), QLocale::ShortFormat);
    const QTime time = local.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    return date + ' ' + locale.toString(local, locale.timeFormat(QLocale::LongFormat));
}
