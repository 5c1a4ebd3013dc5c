#include "settings/ProfileValues.h"

#include <limits>

namespace {

bool isDigitIn(char c, int base)
{
    if (c >= '0' && c <= '9')
        return true;
    const char lower = char(c | 0x20);
    return base == 16 && lower >= 'a' && lower <= 'f';
}

} // namespace

std::optional<int> ProfileInteger(const QByteArray &text)
{
    QByteArray digits = text;
    const bool negative = digits.startsWith('-');
    if (negative)
        digits.remove(0, 1);
    int base = 10;
    if (digits.startsWith("0x") || digits.startsWith("0X")) {
        base = 16;
        digits.remove(0, 2);
    } else if (digits.startsWith('$')) {
        base = 16;
        digits.remove(0, 1);
    }
    if (digits.isEmpty())
        return std::nullopt;
    for (char c : digits) {
        if (!isDigitIn(c, base))
            return std::nullopt;
    }
    bool ok = false;
    const qulonglong magnitude = digits.toULongLong(&ok, base);
    const qulonglong limit = qulonglong(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    if (!ok || magnitude > limit)
        return std::nullopt;
    return int(negative ? -qint64(magnitude) : qint64(magnitude));
}
