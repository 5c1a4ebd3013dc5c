#include "engine/preview/EditList.h"

namespace {

Edit edit(qint64 oldStart, qint64 oldEnd, qint64 newStart, qint64 newEnd)
{
    return {qint32(oldStart), qint32(oldEnd), qint32(newStart), qint32(newEnd)};
}

} // namespace

void EditList::replaced(qint64 start, qint64 end, qint64 replacementLength)
{
    const qint64 shift = m_pass.isEmpty() ? 0 : m_pass.last().newEnd - m_pass.last().oldEnd;
    m_pass.append(edit(start, end, start + shift, start + shift + replacementLength));
}

void EditList::passEnded()
{
    if (m_edits.isEmpty())
        takeFirstPass();
    else
        composePass();
    m_pass.clear();
}

// The first pass's edits are the composed ones, touching ones merged in
// place, so that they are not held twice.
void EditList::takeFirstPass()
{
    m_edits = std::move(m_pass);
    qsizetype kept = 0;
    for (qsizetype i = 0; i < m_edits.size(); ++i) {
        const Edit next = m_edits[i];
        if (kept > 0 && next.oldStart <= m_edits[kept - 1].oldEnd) {
            m_edits[kept - 1].oldEnd = next.oldEnd;
            m_edits[kept - 1].newEnd = next.newEnd;
        } else {
            m_edits[kept++] = next;
        }
    }
    m_edits.resize(kept);
}

// Both lists meet in the middle content: m_edits maps original -> middle by
// their new ranges, m_pass middle -> final by their old ranges. Every cluster
// of middle ranges that overlap or touch becomes one edit; its ends lie
// outside the other edits, so they translate by the shifts accumulated so far.
void EditList::composePass()
{
    QList<Edit> composed;
    qsizetype a = 0;
    qsizetype b = 0;
    qint64 shiftA = 0; // original - middle, left of the cluster
    qint64 shiftB = 0; // final - middle
    while (a < m_edits.size() || b < m_pass.size()) {
        const bool takeA =
            b == m_pass.size() || (a < m_edits.size() && m_edits[a].newStart <= m_pass[b].oldStart);
        const qint64 first = takeA ? m_edits[a].newStart : m_pass[b].oldStart;
        qint64 last = first;
        const qint64 oldStart = first + shiftA;
        const qint64 newStart = first + shiftB;
        for (;;) {
            if (a < m_edits.size() && m_edits[a].newStart <= last) {
                last = qMax<qint64>(last, m_edits[a].newEnd);
                shiftA = m_edits[a].oldEnd - m_edits[a].newEnd;
                ++a;
            } else if (b < m_pass.size() && m_pass[b].oldStart <= last) {
                last = qMax<qint64>(last, m_pass[b].oldEnd);
                shiftB = m_pass[b].newEnd - m_pass[b].oldEnd;
                ++b;
            } else {
                break;
            }
        }
        composed.append(edit(oldStart, last + shiftA, newStart, last + shiftB));
    }
    m_edits = std::move(composed);
}
