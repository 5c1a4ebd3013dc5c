#include "engine/preview/EditList.h"
#include "engine/preview/UnifiedDiff.h"
#include "settings/FileEncoding.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// Applies one pass of replacements (sorted, apart) to `text`, telling `edits`.
QByteArray applyPass(const QByteArray &text, const QList<std::pair<qint64, qint64>> &ranges,
                     const QByteArray &replacement, EditList &edits)
{
    QByteArray result;
    qint64 copied = 0;
    for (const auto &[start, end] : ranges) {
        result += text.mid(copied, start - copied) + replacement;
        edits.replaced(start, end, replacement.size());
        copied = end;
    }
    edits.passEnded();
    return result + text.mid(copied);
}

// The final text rebuilt from the original and the composed edits alone.
QByteArray rebuild(const QByteArray &original, const QByteArray &final, const QList<Edit> &edits)
{
    QByteArray result;
    qint64 copied = 0;
    for (const Edit &edit : edits) {
        result += original.mid(copied, edit.oldStart - copied)
            + final.mid(edit.newStart, edit.newEnd - edit.newStart);
        copied = edit.oldEnd;
    }
    return result + original.mid(copied);
}

TEST(EditListTest, ComposedEditsRebuildTheResultOfManyPasses)
{
    QRandomGenerator random(42);
    for (int round = 0; round < 500; ++round) {
        const QByteArray original = QByteArray("abcdefghij\n").repeated(1 + random.bounded(5));
        QByteArray text = original;
        EditList edits;
        for (int pass = 0; pass < 1 + random.bounded(4); ++pass) {
            QList<std::pair<qint64, qint64>> ranges;
            for (qint64 at = random.bounded(3); at < text.size(); at += 1 + random.bounded(6)) {
                const qint64 end = qMin<qint64>(text.size(), at + 1 + random.bounded(4));
                ranges.append({at, end});
                at = end;
            }
            const QByteArray replacement = QByteArray("XYZ\n").left(random.bounded(5));
            text = applyPass(text, ranges, replacement, edits);
        }
        ASSERT_EQ(rebuild(original, text, edits.edits()), text) << round;
        for (qsizetype i = 1; i < edits.edits().size(); ++i)
            ASSERT_LT(edits.edits()[i - 1].oldEnd, edits.edits()[i].oldStart);
    }
}

TEST(EditListTest, HunksShowChangedLinesWithContextAndMarks)
{
    const QByteArray before = "1\n2\n3\n4 old\n5\n6\n7\n8\n9\n10\n11\n12 old";
    EditList edits;
    QByteArray after = before;
    after.replace("old", "new");
    edits.replaced(8, 11, 3);
    edits.replaced(before.size() - 3, before.size(), 3);
    edits.passEnded();
    const QList<DiffHunk> hunks = UnifiedDiff(before, after, EncodingAnsi, 0, edits.edits()).hunks();
    ASSERT_EQ(hunks.size(), 2);
    EXPECT_EQ((std::array<qint64, 4>{hunks[0].oldStart, hunks[0].oldCount, hunks[0].newStart,
                                     hunks[0].newCount}),
              (std::array<qint64, 4>{1, 7, 1, 7}));
    EXPECT_EQ(hunks[0].lines[3].text, "4 old");
    EXPECT_EQ(hunks[0].lines[3].marks, (QList<std::pair<int, int>>{{2, 3}}));
    EXPECT_EQ(hunks[0].lines[4].kind, DiffLine::Added);
    EXPECT_EQ(hunks[1].oldStart, 9);
    EXPECT_TRUE(hunks[1].lines.last().missingNewline);
}

} // namespace
