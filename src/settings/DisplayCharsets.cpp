#include "settings/DisplayCharsets.h"

#include "settings/AnsiText.h"

#include <QByteArray>
#include <cerrno>
#include <iconv.h>

const DisplayCharset DisplayCharsets[DisplayCharsetCount] = {
    {"Ansi", 0, nullptr},     {"Arabic", 178, "CP1256"},
    {"Baltic", 186, "CP1257"},       {"Chinese Big 5", 136, "CP950"},
    {"Default", 1, nullptr},  {"Centr.Europe", 238, "CP1250"},
    {"GB2312", 134, "CP936"},        {"Greek", 161, "CP1253"},
    {"Hangeul", 129, "CP949"},       {"Hebrew", 177, "CP1255"},
    {"Johab", 130, "JOHAB"},         {"Mac", 77, "MACINTOSH"},
    {"OEM", 255, "CP437"},           {"Russian", 204, "CP1251"},
    {"ShiftJis", 128, "CP932"},      {"Symbol", 2, nullptr},
    {"Thai", 222, "CP874"},          {"Turkish", 162, "CP1254"},
    {"Vietnamese", 163, "CP1258"},
};

namespace {

constexpr int DefaultIndex = 4;
// The longest spelling of one character in any of the code pages.
constexpr int LongestSpelling = 4;

// One iconv conversion, closed with the object.
class Conversion
{
public:
    Conversion(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Conversion()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Conversion(const Conversion &) = delete;
    Conversion &operator=(const Conversion &) = delete;

    bool valid() const { return m_cd != iconv_t(-1); }

    // All of `in` from the initial state, or nothing when some input cannot
    // be converted or is cut short. The code pages that combine a letter with
    // a following accent hold the letter back until the end, which is flushed.
    std::optional<QByteArray> run(QByteArray in) const
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        QByteArray out;
        char *inPtr = in.data();
        size_t inLeft = size_t(in.size());
        char buffer[4096];
        bool flushing = false;
        for (;;) {
            char *outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t result = flushing ? iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft)
                                           : iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, qsizetype(outPtr - buffer));
            if (result == size_t(-1) && errno != E2BIG)
                return std::nullopt;
            if (result != size_t(-1)) {
                if (flushing)
                    return out;
                flushing = true;
            }
        }
    }

private:
    iconv_t m_cd;
};

QString fromUtf16(const QByteArray &units)
{
    return QString(reinterpret_cast<const QChar *>(units.constData()), units.size() / 2);
}

QByteArray utf16Of(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

} // namespace

int DisplayCharsetIndex(const QByteArray &name)
{
    for (int i = 0; i < DisplayCharsetCount; ++i) {
        if (name == DisplayCharsets[i].name)
            return i;
    }
    return -1;
}

const DisplayCharset &DisplayCharsetOrDefault(const QByteArray &name)
{
    const int index = DisplayCharsetIndex(name);
    return DisplayCharsets[index < 0 ? DefaultIndex : index];
}

bool HoldsKeptBytes(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (IsKeptByteAt(text, i))
            return true;
    return false;
}

// Character by character: the shortest run of bytes that decodes to text
// which spells back to the same bytes. So no byte is lost or changed, and the
// code pages that compose a letter and a following accent into one character
// keep the two as they were.
QString DecodeInCharset(const QByteArray &bytes, const DisplayCharset &charset)
{
    if (!charset.codePage)
        return AnsiToText(bytes);
    const Conversion decode("UTF-16LE", charset.codePage);
    const Conversion encode(charset.codePage, "UTF-16LE");
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        int taken = 0;
        for (int length = 1; decode.valid() && encode.valid() && length <= LongestSpelling
             && i + length <= bytes.size();
             ++length) {
            const QByteArray piece = bytes.mid(i, length);
            const std::optional<QByteArray> units = decode.run(piece);
            if (units && !units->isEmpty() && encode.run(*units) == piece) {
                text += fromUtf16(*units);
                taken = length;
                break;
            }
        }
        if (taken == 0) {
            text += QChar(char16_t(KeptByteBase + static_cast<unsigned char>(bytes[i])));
            taken = 1;
        }
        i += taken;
    }
    return text;
}

std::optional<QByteArray> EncodeInCharset(const QString &text, const DisplayCharset &charset)
{
    const std::optional<Conversion> encode =
        charset.codePage ? std::optional<Conversion>(std::in_place, charset.codePage, "UTF-16LE")
                         : std::nullopt;
    if (encode && !encode->valid())
        return std::nullopt;
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size();) {
        if (IsKeptByteAt(text, i)) {
            bytes += char(text[i].unicode() - KeptByteBase);
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && !IsKeptByteAt(text, end))
            ++end;
        const QString run = text.mid(i, end - i);
        const std::optional<QByteArray> spelled = encode ? encode->run(utf16Of(run)) : TextToAnsi(run);
        if (!spelled)
            return std::nullopt;
        bytes += *spelled;
        i = end;
    }
    return bytes;
}
