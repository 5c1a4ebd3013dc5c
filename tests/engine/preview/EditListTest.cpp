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
    const QList<DiffHunk> hunks =
        UnifiedDiff(before, after, EncodingAnsi, 0, edits.edits()).hunks();
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

// The hunks as text: marks in brackets, a missing final break as "\\".
QString rendered(const QList<DiffHunk> &hunks)
{
    QString out;
    for (const DiffHunk &hunk : hunks) {
        out += QStringLiteral("@@ -%1,%2 +%3,%4 @@\n")
                   .arg(hunk.oldStart)
                   .arg(hunk.oldCount)
                   .arg(hunk.newStart)
                   .arg(hunk.newCount);
        for (const DiffLine &line : hunk.lines) {
            out += QChar(line.kind);
            int at = 0;
            for (const auto &[start, length] : line.marks) {
                out += line.text.mid(at, start - at) + '[' + line.text.mid(start, length) + ']';
                at = start + length;
            }
            out += line.text.mid(at) + (line.missingNewline ? "\\\n" : "\n");
        }
    }
    return out;
}

TEST(EditListTest, HunksOfReplacementPassesAreTheChangedLinesWithTheirMarks)
{
    using Pairs = QList<std::pair<QByteArray, QByteArray>>;
    const struct {
        const char *name;
        QByteArray before;
        Pairs pairs; // applied in order, each to every occurrence
        QString expected;
    } cases[] = {
        {"many matches on one line", QByteArray("abcX").repeated(5000) + '\n', Pairs{{"X", "YY"}},
         "@@ -1,1 +1,1 @@\n-" + QString("abc[X]").repeated(5000) + "\n+"
             + QString("abc[YY]").repeated(5000) + "\n"},
        {"touching matches make one mark", "aXXb\n", Pairs{{"X", "Y"}},
         "@@ -1,1 +1,1 @@\n-a[XX]b\n+a[YY]b\n"},
        {"a pass over the text of the one before", "ab\n", Pairs{{"a", "xx"}, {"xb", "Q"}},
         "@@ -1,1 +1,1 @@\n-[ab]\n+[xQ]\n"},
        {"changes seven lines apart", "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl\n",
         Pairs{{"b", "B"}, {"j", "J"}},
         "@@ -1,5 +1,5 @@\n a\n-[b]\n+[B]\n c\n d\n e\n"
         "@@ -7,6 +7,6 @@\n g\n h\n i\n-[j]\n+[J]\n k\n l\n"},
        {"changes six lines apart share a hunk", "a\nb\nc\nd\ne\nf\ng\nh\ni\n",
         Pairs{{"b", "B"}, {"i", "I"}},
         "@@ -1,9 +1,9 @@\n a\n-[b]\n+[B]\n c\n d\n e\n f\n g\n h\n-[i]\n+[I]\n"},
        {"a replacement that joins lines", "one\ntwo\nthree\n", Pairs{{"\ntwo", " 2"}},
         "@@ -1,3 +1,2 @@\n-one\n-[two]\n+one[ 2]\n three\n"},
        {"a break put at the end of the text", "a\nb", Pairs{{"b", "b\n"}},
         "@@ -1,2 +1,2 @@\n a\n-[b]\\\n+[b]\n"},
        {"carriage returns stay out of the lines", "x\r\ny\r\n", Pairs{{"x", "z"}},
         "@@ -1,2 +1,2 @@\n-[x]\n+[z]\n y\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EditList edits;
        QByteArray after = c.before;
        for (const auto &[find, replacement] : c.pairs) {
            QList<std::pair<qint64, qint64>> ranges;
            for (qsizetype at = after.indexOf(find); at >= 0;
                 at = after.indexOf(find, at + find.size()))
                ranges.append({at, at + find.size()});
            after = applyPass(after, ranges, replacement, edits);
        }
        const UnifiedDiff diff(c.before, after, EncodingAnsi, 0, edits.edits());
        EXPECT_EQ(rendered(diff.hunks()).toStdString(), c.expected.toStdString());
    }
}

} // namespace
