#pragma once

#include <QByteArray>

// How a file's text is encoded. The number travels through the engine; the
// name is what cells, the file list and messages show.
enum FileEncoding : int {
    EncodingAuto = 0,
    EncodingAnsi = 1,
    EncodingUtf8 = 2,
    EncodingUnicode = 3,          // UTF-16 little endian
    EncodingUnicodeBigEndian = 4, // UTF-16 big endian
    EncodingNone = 255,           // detection: no mark, or the content does not tell
};

// "Auto", "ANSI", "UTF-8", "Unicode", "Unicode (big endian)" for 0..4; empty
// text for anything else.
QByteArray FileEncodingName(int encoding);

// The number 0..4 whose name equals the text exactly (case-sensitive); 0
// ("Auto") for any other text.
int FileEncodingFromName(const QByteArray &name);
