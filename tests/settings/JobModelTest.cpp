#include "settings/CellText.h"
#include "settings/FileEncoding.h"
#include "settings/Job.h"
#include "settings/JobEntries.h"
#include "settings/PairOptions.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TextTable makeTable()
{
    return TextTable({"A", "B", "C"});
}

TEST(CellTable, EmptyTableHasOneBlankRowAndNoEntries)
{
    TextTable t = makeTable();
    EXPECT_EQ(t.rowTotal(), 1);
    EXPECT_EQ(t.DataRowCount(), 0);
    EXPECT_TRUE(t.entries().isEmpty());
}

TEST(CellTable, AppendFillsTheBlankRowFirst)
{
    TextTable t = makeTable();
    EXPECT_EQ(t.AppendRow({"a", "", ""}), 1);
    EXPECT_EQ(t.rowTotal(), 1);
    EXPECT_EQ(t.DataRowCount(), 1);
    EXPECT_EQ(t.AppendRow({"b", "x", "y"}), 2);
    EXPECT_EQ(t.DataRowCount(), 2);
    EXPECT_EQ(t.cell(2, 1), "x");
}

TEST(CellTable, DeletingTheOnlyEntryEmptiesTheRow)
{
    TextTable t = makeTable();
    t.AppendRow({"a", "b", "c"});
    t.AppendRow({"d", "e", "f"});
    t.DeleteCurrentRow(1);
    EXPECT_EQ(t.DataRowCount(), 1);
    EXPECT_EQ(t.cell(1, 0), "d");
    t.DeleteCurrentRow(1);
    EXPECT_EQ(t.rowTotal(), 1);
    EXPECT_EQ(t.DataRowCount(), 0);
}

TEST(CellTable, DuplicateAndSwap)
{
    TextTable t = makeTable();
    t.duplicateRow(1); // all empty: nothing
    EXPECT_EQ(t.DataRowCount(), 0);
    t.AppendRow({"a", "1", ""});
    t.AppendRow({"b", "2", ""});
    t.duplicateRow(1);
    ASSERT_EQ(t.DataRowCount(), 3);
    EXPECT_EQ(t.row(3), (TextTable::Row{"a", "1", ""}));
    t.swapRows(1, 2);
    EXPECT_EQ(t.cell(1, 0), "b");
    t.swapRows(0, 1); // moving up from the first row does nothing
    t.swapRows(3, 4); // moving down from the last row does nothing
    EXPECT_EQ(t.cell(1, 0), "b");
    EXPECT_EQ(t.cell(3, 0), "a");
}

TEST(CellTable, ClearGridLeavesOneBlankRow)
{
    TextTable t = makeTable();
    t.AppendRow({"a", "", ""});
    t.AppendRow({"b", "", ""});
    t.ClearGrid();
    EXPECT_EQ(t.rowTotal(), 1);
    EXPECT_EQ(t.DataRowCount(), 0);
}

TEST(CellTable, ABlankFirstRowMeansNoEntriesWhateverFollows)
{
    // As a settings file whose first row holds only empty values loads.
    TextTable t = makeTable();
    t.resetRows({{"", "", ""}, {"b", "2", ""}});
    EXPECT_EQ(t.DataRowCount(), 0);
    EXPECT_TRUE(t.isEmpty());
    EXPECT_TRUE(t.entries().isEmpty());
    EXPECT_EQ(t.AppendRow({"a", "1", ""}), 1);
    EXPECT_EQ(t.DataRowCount(), 2);
}

TEST(CellTable, ARowWithOnlyALaterCellCountsAsAnEntry)
{
    TextTable t = makeTable();
    t.setCell(1, 2, "x");
    EXPECT_EQ(t.DataRowCount(), 1);
}

TEST(CellText, RoundTripsAndExactForms)
{
    const struct {
        QByteArray plain;
        QByteArray cell;
    } cases[] = {
        {"a\r\nb", "a{CR}{LF}b"},
        {"x\ty", "x{TAB}y"},
        {"{TAB}", "{{}TAB}"},
        {"{ }", "{{} }"},
        {"{CR}", "{{}CR}"},
        {"}", "}"},
        {"", ""},
        {"{{}}", "{{}{{}}}"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(EncodeCellText(c.plain), c.cell) << c.plain.constData();
        EXPECT_EQ(DecodeCellText(c.cell), c.plain) << c.cell.constData();
    }
}

TEST(CellText, TextThatMerelyResemblesATokenIsCopied)
{
    const QByteArray cases[] = {"{X}", "}", "{", "a{", "{TA", "{{"};
    for (const QByteArray &c : cases)
        EXPECT_EQ(DecodeCellText(c), c) << c.constData();
}

TEST(PairOptions, Readings)
{
    const struct {
        QByteArray text;
        bool caseSensitive;
        WhiteSpaceMode mode;
        bool wholeWords;
        char single;
        char multi;
        QByteArray charset;
    } cases[] = {
        {"(--)[Default]", false, WhiteSpaceMode::None, false, 0, 0, "Default"},
        {"N", false, WhiteSpaceMode::NormalizeInclEol, false, 0, 0, "Default"},
        {"cNw(?*)[Russian]", true, WhiteSpaceMode::NormalizeInclEol, true, '?', '*', "Russian"},
        {"n(?-)", false, WhiteSpaceMode::Normalize, false, '?', 0, "Default"},
        {"i(-*)", false, WhiteSpaceMode::Ignore, false, 0, '*', "Default"},
        {"I", false, WhiteSpaceMode::IgnoreInclEol, false, 0, 0, "Default"},
        {"(?*", false, WhiteSpaceMode::None, false, 0, 0, "Default"},     // no ")"
        {"(?*x)", false, WhiteSpaceMode::None, false, 0, 0, "Default"},   // ")" too far
        {"(--)(cw)", false, WhiteSpaceMode::None, false, 0, 0, "Default"}, // flags before "(" only
        {"]x[", false, WhiteSpaceMode::None, false, 0, 0, "Default"},
        {"nI", false, WhiteSpaceMode::IgnoreInclEol, false, 0, 0, "Default"},
    };
    for (const auto &c : cases) {
        const PairOptions o = PairOptionsFromText(c.text);
        EXPECT_EQ(o.caseSensitive, c.caseSensitive) << c.text.constData();
        EXPECT_EQ(o.whiteSpace, c.mode) << c.text.constData();
        EXPECT_EQ(o.wholeWords, c.wholeWords) << c.text.constData();
        EXPECT_EQ(o.singleWildcard, c.single) << c.text.constData();
        EXPECT_EQ(o.multiWildcard, c.multi) << c.text.constData();
        EXPECT_EQ(o.displayCharset, c.charset) << c.text.constData();
    }
}

TEST(PairOptions, TextRoundTrip)
{
    const QByteArray texts[] = {"(--)[Default]", "cNw(?*)[Russian]", "i(-~)[Greek]",
                                "Iw(#-)[Default]", "cn(..)[Thai]", "cwr(--)[Default]"};
    for (const QByteArray &t : texts)
        EXPECT_EQ(OptionsToText(PairOptionsFromText(t)), t);
}

// "r" is written after the other letters and read wherever it stands.
TEST(PairOptions, RegularExpressionLetter)
{
    EXPECT_TRUE(PairOptionsFromText("rcw(--)[Default]").regularExpression);
    EXPECT_TRUE(PairOptionsFromText("r").regularExpression);
    EXPECT_FALSE(PairOptionsFromText("cw(--)[Default]").regularExpression);
    EXPECT_FALSE(PairOptionsFromText("(--)[r]").regularExpression); // not a flag
    EXPECT_FALSE(PairOptionsFromText("[Greek]").regularExpression);
    EXPECT_EQ(OptionsToText(PairOptionsFromText("rwc(--)[Default]")), "cwr(--)[Default]");
}

TEST(PairOptions, TextBetween)
{
    EXPECT_EQ(TextBetween("c(--)[Greek]", '[', ']'), "Greek");
    EXPECT_EQ(TextBetween("no brackets", '[', ']'), "no brackets");
    EXPECT_EQ(TextBetween("]wrong[", '[', ']'), "]wrong[");
}

TEST(FileEncoding, NamesAndLookup)
{
    EXPECT_EQ(FileEncodingName(0), "Auto");
    EXPECT_EQ(FileEncodingName(4), "Unicode (big endian)");
    EXPECT_EQ(FileEncodingName(255), "");
    EXPECT_EQ(FileEncodingFromName("UTF-8"), 2);
    EXPECT_EQ(FileEncodingFromName("utf-8"), 0); // case-sensitive
    EXPECT_EQ(FileEncodingFromName(""), 0);
}

TEST(JobEntries, FolderEntryReading)
{
    EXPECT_EQ(FolderEntry::fromRow({"/a", "None", "-B"}).depth, 0);
    EXPECT_EQ(FolderEntry::fromRow({"/a", "", "-B"}).depth, 0);
    EXPECT_EQ(FolderEntry::fromRow({"/a", "1st level", ""}).depth, 1);
    EXPECT_EQ(FolderEntry::fromRow({"/a", "All levels", ""}).depth, FolderEntry::Unlimited);
    EXPECT_TRUE(FolderEntry::fromRow({"/a", "", ""}).skipBackups);
    EXPECT_TRUE(FolderEntry::fromRow({"/a", "", "+b"}).skipBackups);
    EXPECT_FALSE(FolderEntry::fromRow({"/a", "", "+B"}).skipBackups);
}

TEST(Job, ClearJobKeepsMiscellaneousOptionsAndSignalsChanges)
{
    Job job;
    QSignalSpy spy(&job, &Job::changed);
    job.stringPairs().AppendRow({"a", "b", "(--)[Default]"});
    RunOptions o;
    o.backupMode = BackupRename;
    o.promptEachReplace = false;
    o.saveSettingsAutomatically = true;
    o.preferEquidistantFont = true;
    job.setOptions(o);
    EXPECT_GE(spy.count(), 2);

    job.ClearJob();
    EXPECT_EQ(job.stringPairs().DataRowCount(), 0);
    EXPECT_EQ(job.options().backupMode, BackupToSubfolder);
    EXPECT_TRUE(job.options().promptEachReplace);
    EXPECT_TRUE(job.options().saveSettingsAutomatically);
    EXPECT_TRUE(job.options().preferEquidistantFont);
}

} // namespace
