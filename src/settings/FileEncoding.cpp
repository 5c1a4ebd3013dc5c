#include "settings/FileEncoding.h"

namespace {
constexpr const char *encodingNames[] = {"Auto", "ANSI", "UTF-8", "Unicode",
                                         "Unicode (big endian)"};
constexpr int encodingCount = int(std::size(encodingNames));
} // namespace

QByteArray FileEncodingName(int encoding)
{
    if (encoding < 0 || encoding >= encodingCount)
        return QByteArray();
    return encodingNames[encoding];
}

int FileEncodingFromName(const QByteArray &name)
{
    for (int i = 0; i < encodingCount; ++i)
        if (name == encodingNames[i])
            return i;
    return EncodingAuto;
}
