#include "engine/files/FileMask.h"

namespace {

// Case folding per code point, so `?` stands for one character even beyond
// the 16-bit range.
QList<uint> foldedCodePoints(const QString &text)
{
    return text.toCaseFolded().toUcs4();
}

} // namespace

FileMask::FileMask(const QString &mask) : m_pattern(foldedCodePoints(mask))
{
    const qsizetype n = m_pattern.size();
    if (n >= 2 && m_pattern[n - 2] == U'.' && m_pattern[n - 1] == U'*') {
        m_hasOptionalExtension = true;
        m_withoutExtension = m_pattern.first(n - 2);
    }
}

bool FileMask::matches(const QString &fileName) const
{
    if (m_pattern.isEmpty())
        return false;
    const QList<uint> name = foldedCodePoints(fileName);
    if (matchesPattern(m_pattern, name))
        return true;
    return m_hasOptionalExtension && matchesPattern(m_withoutExtension, name);
}

// Greedy matching with one back-track point: on a mismatch after a `*`, the
// star takes one more character. Linear in practice, never exponential.
bool FileMask::matchesPattern(const QList<uint> &pattern, const QList<uint> &name)
{
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starAt = -1;
    qsizetype starMatchEnd = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starAt = p++;
            starMatchEnd = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++starMatchEnd;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}
