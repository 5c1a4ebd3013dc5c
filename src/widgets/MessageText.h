#pragma once

#include <QString>

// A message text as a window shows it: "&&" in the designed texts stands for
// one "&".
inline QString MessageBoxText(const QString &message)
{
    return QString(message).replace(QLatin1String("&&"), QLatin1String("&"));
}
