#pragma once

#include <QDateTime>
#include <QString>

// The "Date/time" text of the file list: the user's short date, a space and
// the long time, in local time. A time of exactly 00:00:00 (to the second
// the text shows) leaves the time part out.
QString lastWriteText(const QDateTime &lastWrite);
