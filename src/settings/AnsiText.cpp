#include "settings/AnsiText.h"

std::optional<unsigned char> AnsiByte(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<unsigned char>(unit);
    for (int i = 0; i < 32; ++i)
        if (Windows1252High[i] == unit)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

QString AnsiToText(const QByteArray &ansi)
{
    QString text(ansi.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char c : ansi)
        *out++ = QChar(AnsiUnit(static_cast<unsigned char>(c)));
    return text;
}

std::optional<QByteArray> TextToAnsi(const QString &text)
{
    QByteArray ansi(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<unsigned char> byte = AnsiByte(text[i].unicode());
        if (!byte)
            return std::nullopt;
        ansi[i] = char(*byte);
    }
    return ansi;
}
