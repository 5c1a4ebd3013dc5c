// The content classification (byte-order mark, content guess, binary test)
// on any bytes, and decoding for display in every encoding.
#include "engine/text/Encodings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *bytes = reinterpret_cast<const char *>(data);
    const CodingDetection detection = DetectCoding(bytes, qint64(size));
    if (detection.bomLength < 0 || qint64(detection.bomLength) > qint64(size))
        std::abort();
    for (int encoding = EncodingAnsi; encoding <= EncodingUnicodeBigEndian; ++encoding) {
        (void)HasNonPrintable(bytes, qint64(size), encoding);
        (void)DecodeStretch(bytes, qint64(size), encoding);
    }
    return 0;
}
