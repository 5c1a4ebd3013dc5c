#include "engine/preview/EditList.h"

void EditList::replaced(qint64 start, qint64 end, qint64 replacementLength)
{
    const qint64 shift = m_pass.isEmpty() ? 0 : m_pass.last().newEnd - m_pass.last().oldEnd;
    m_pass.append({start, end, start + shift, start + shift + replacementLength});
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
        const Edit edit = m_edits[i];
        if (kept > 0 && edit.oldStart <= m_edits[kept - 1].oldEnd) {
            m_edits[kept - 1].oldEnd = edit.oldEnd;
            m_edits[kept - 1].newEnd = edit.newEnd;
        } else {
            m_edits[kept++] = edit;
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
                last = qMax(last, m_edits[a].newEnd);
                shiftA = m_edits[a].oldEnd - m_edits[a].newEnd;
                ++a;
            } else if (b < m_pass.size() && m_pass[b].oldStart <= last) {
                last = qMax(last, m_pass[b].oldEnd);
                shiftB = m_pass[b].newEnd - m_pass[b].oldEnd;
                ++b;
            } else {
                break;
            }
        }
        composed.append({oldStart, last + shiftA, newStart, last + shiftB});
    }
    m_edits = std::move(composed);
}
