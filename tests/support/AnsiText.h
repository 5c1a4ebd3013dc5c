#pragma once

#include "engine/text/CodePage.h"
#include "engine/text/Encodings.h"

#include <QByteArray>
#include <QString>

// Tests write their texts as Windows-1252 bytes; these read them as the text
// they spell and encode that text for a file.
inline QString Ansi(const QByteArray &bytes)
{
    return CodePage::toQString(bytes);
}

inline QByteArray EncodeAnsiText(const QByteArray &ansi, int encoding)
{
    return EncodeReplacement(Ansi(ansi), encoding);
}
