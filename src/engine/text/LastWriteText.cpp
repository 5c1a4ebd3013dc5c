#include "engine/text/LastWriteText.h"

#include <QLocale>
#include <QTimeZone>

QString lastWriteText(const QDateTime &lastWrite)
{
    // The user's locale and time zone are looked up once per thread: a
    // conversion to local time would make the C library look at the zone
    // file again for every file listed.
    thread_local const QLocale locale = QLocale::system();
    thread_local const QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    thread_local const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime local = lastWrite.toTimeZone(zone);
    const QString date = locale.toString(local.date(), QLocale::ShortFormat);
    const QTime time = local.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    return date + ' ' + locale.toString(local, timeFormat);
}
