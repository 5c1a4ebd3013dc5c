// The cell form of find and replace texts: any text must read back as it was
// written. The pair options text: any text is read without harm, and options
// the dialog can produce (no bracket or parenthesis as a wildcard or in the
// charset name, which only a hand-edited file holds) read back as written.
#include "settings/CellText.h"
#include "settings/PairOptions.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString cell = QString::fromUtf8(text);
    if (DecodeCellText(EncodeCellText(cell)) != cell)
        std::abort();
    (void)EncodeCellText(DecodeCellText(cell));

    const PairOptions options = PairOptionsFromText(text);
    const auto isDelimiter = [](char c) { return c != 0 && QByteArray("()[]-").contains(c); };
    const bool producible = !isDelimiter(options.singleWildcard)
        && !isDelimiter(options.multiWildcard) && !options.displayCharset.contains(']');
    if (producible && PairOptionsFromText(OptionsToText(options)) != options)
        std::abort();
    return 0;
}
