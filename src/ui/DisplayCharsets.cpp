#include "ui/DisplayCharsets.h"

#include "engine/text/CodePage.h"

#include <QByteArray>
#include <cerrno>
#include <cstring>
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

    // Converts all of `in`. With `skipInvalid`, an input sequence that cannot
    // be converted is replaced by `substitute` and the conversion goes on;
    // without it the conversion fails.
    std::optional<QByteArray> run(QByteArray in, bool skipInvalid, const QByteArray &substitute,
                                  int unitSize) const
    {
        QByteArray out;
        char *inPtr = in.data();
        size_t inLeft = size_t(in.size());
        char buffer[4096];
        while (inLeft > 0) {
            char *outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t result = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, qsizetype(outPtr - buffer));
            if (result != size_t(-1) || errno == E2BIG)
                continue;
            if (!skipInvalid)
                return std::nullopt;
            // EILSEQ or EINVAL (a truncated sequence at the end): skip one unit.
            const size_t skip = qMin(inLeft, size_t(unitSize));
            inPtr += skip;
            inLeft -= skip;
            out.append(substitute);
        }
        char *outPtr = buffer;
        size_t outLeft = sizeof buffer;
        iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft); // shift state back to initial
        out.append(buffer, qsizetype(outPtr - buffer));
        return out;
    }

private:
    iconv_t m_cd;
};

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

QString DecodeForDisplay(const QByteArray &bytes, const DisplayCharset &charset)
{
    if (!charset.codePage)
        return CodePage::toQString(bytes);
    const Conversion conversion("UTF-16LE", charset.codePage);
    if (!conversion.valid())
        return QString::fromLatin1(bytes);
    const QByteArray replacement("\xFD\xFF", 2); // U+FFFD, little endian
    const std::optional<QByteArray> units = conversion.run(bytes, true, replacement, 1);
    return QString(reinterpret_cast<const QChar *>(units->constData()), units->size() / 2);
}

std::optional<QByteArray> EncodeFromDisplay(const QString &text, const DisplayCharset &charset)
{
    if (!charset.codePage) {
        QByteArray bytes = CodePage::fromQString(text);
        if (CodePage::toQString(bytes) != text)
            return std::nullopt;
        return bytes;
    }
    const Conversion conversion(charset.codePage, "UTF-16LE");
    if (!conversion.valid())
        return std::nullopt;
    const QByteArray units(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return conversion.run(units, false, QByteArray(), 2);
}
