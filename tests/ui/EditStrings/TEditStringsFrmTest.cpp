#include "ui/EditStrings/HtmlView.h"
#include "ui/EditStrings/TEditStringsFrm.h"
#include "ui/support/ModalDriver.h"

#include <QFontDatabase>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Button = QMessageBox::StandardButton;

constexpr int StarItem = 2;

const QString LeadingStar =
    "The multi-char replacement wildcard (* (asterisk)) can't be the first character of "
    "the find-what string,\nor preceded only by the single-char replacement wild card (";
const QString TrailingStar =
    "The multi-char replacement wildcard (* (asterisk)) can't be the last character of "
    "the find-what string,\nor followed only by the single-char replacement wild card (";
const QString SingleAbsent =
    "The character ? (question mark) is selected for a single-character replacement, but "
    "no such character is present the find-what text.\n\nDo you wish to set it to "
    "- not assigned -  ?";
const QString MultiAbsent =
    "The character * (asterisk) is selected for a multi-character replacement, but no "
    "such character is present the find-what text.\n\nDo you wish to set it to "
    "- not assigned -  ?";
const QString SameWildcard =
    "The same character is set for both single-character and multi-character "
    "substitution.\nMake them different or set only one of them.";

class EditStrings : public ::testing::Test
{
protected:
    TEditStringsFrm dlg;

    // Types `text` into a memo as the user would see it.
    static void type(QPlainTextEdit *memo, const char *utf8)
    {
        memo->setPlainText(QString::fromUtf8(utf8));
    }

    // Presses "Ok" on the shown dialog, answering the message boxes that come
    // up in order; a box beyond `answers` fails the test and is closed.
    // Returns true when the dialog closed with OK.
    bool pressOk(const QList<Button> &answers = {}, QStringList *messages = nullptr)
    {
        // Shown without modality, so that the only modal windows the driver
        // sees are the message boxes of the checks.
        dlg.setWindowModality(Qt::NonModal);
        dlg.show();
        ModalDriver driver;
        for (Button answer : answers)
            driver.answer(answer);
        driver.then([](QWidget *window) {
            const auto *box = qobject_cast<QMessageBox *>(window);
            ADD_FAILURE() << "unexpected window: "
                          << qPrintable(box ? box->text() : window->objectName());
            window->close();
        });
        dlg.OkBtn->click();
        if (messages)
            *messages = driver.messages();
        return !dlg.isVisible() && dlg.result() == QDialog::Accepted;
    }
};

struct OptionsCase {
    const char *text;
    const char *written;
};

class OptionsText : public EditStrings, public ::testing::WithParamInterface<OptionsCase>
{
};

TEST_P(OptionsText, ReadsAndWritesBack)
{
    dlg.OptionsFromText(GetParam().text);
    EXPECT_EQ(dlg.OptionsToText(), QByteArray(GetParam().written));
}

INSTANTIATE_TEST_SUITE_P(
    EditStrings, OptionsText,
    ::testing::Values(OptionsCase{"", "(--)[Default]"},
                      OptionsCase{"nN(?*)[Greek]", "n(?*)[Greek]"}, // "n" is looked for first
                      OptionsCase{"(**)", "(**)[Default]"},
                      OptionsCase{"ciw(?-)[Russian]", "ciw(?-)[Russian]"},
                      OptionsCase{"I(~.)[russian]", "I(~.)[Russian]"},
                      OptionsCase{"N", "N(--)[Default]"}, OptionsCase{"(?*", "(?*)[Default]"},
                      OptionsCase{"w(", "w(--)[Default]"},
                      OptionsCase{"c(x*)[No such charset]", "c(-*)[]"}, OptionsCase{"[]", "(--)[]"},
                      OptionsCase{"][Greek", "(--)[Default]"},
                      // A regular expression takes no white-space mode and no
                      // wildcards.
                      OptionsCase{"rcw(--)[Default]", "cwr(--)[Default]"},
                      OptionsCase{"Iwr(?*)[Greek]", "wr(--)[Greek]"}));

TEST_F(EditStrings, RegularExpressionDisablesWhiteSpaceAndWildcards)
{
    dlg.OptionsFromText("cI(?*)[Default]");
    dlg.RegularExpressionChk->setChecked(true);
    for (QWidget *control : {static_cast<QWidget *>(dlg.WhiteSpacesCBx),
                             static_cast<QWidget *>(dlg.SingleCharWildCardCBx),
                             static_cast<QWidget *>(dlg.MultiCharWildCardCBx)})
        EXPECT_FALSE(control->isEnabled());
    EXPECT_TRUE(dlg.RegularExpressionHintLbl->isEnabled());
    EXPECT_EQ(dlg.OptionsToText(), "cr(--)[Default]");
    // Unchecked again, the pair's own settings are back.
    dlg.RegularExpressionChk->setChecked(false);
    EXPECT_TRUE(dlg.WhiteSpacesCBx->isEnabled());
    EXPECT_EQ(dlg.OptionsToText(), "cI(?*)[Default]");
    dlg.RegularExpressionChk->setChecked(true);
    dlg.ResetOptions();
    EXPECT_FALSE(dlg.RegularExpressionChk->isChecked());
}

// OK refuses an invalid pattern with PCRE2's message and puts the cursor at
// the offset it names (a line break of the memo is one character); the
// wildcard checks do not run for a regular expression.
TEST_F(EditStrings, RegularExpressionChecks)
{
    dlg.OptionsFromText("r(--)[Default]");
    dlg.setFindText("a*\r\nget_(\\w+");
    QStringList messages;
    EXPECT_FALSE(pressOk({Button::Ok}, &messages));
    EXPECT_EQ(messages, QStringList{"The regular expression is not valid: missing closing "
                                    "parenthesis at offset 12."});
    EXPECT_EQ(dlg.FindWhatMmo->textCursor().position(), 11);

    dlg.setFindText("get_(\\w+)");
    dlg.setReplaceText("$2");
    EXPECT_FALSE(pressOk({Button::Ok}, &messages));
    EXPECT_EQ(messages, QStringList{"The replacement text refers to group 2, but the regular "
                                    "expression has only 1 group."});
    EXPECT_TRUE(dlg.ReplaceWithMmo->hasFocus() || !QApplication::focusWidget());

    dlg.setReplaceText("$1()");
    EXPECT_TRUE(pressOk());
}

TEST_F(EditStrings, ResetOptionsKeepsWholeWordsWildcardsAndCharset)
{
    dlg.OptionsFromText("cIw(?*)[Greek]");
    dlg.ResetOptions();
    EXPECT_EQ(dlg.OptionsToText(), "w(?*)[Greek]");
}

TEST_F(EditStrings, PickingTheOtherListsWildcardUnassignsTheOther)
{
    dlg.OptionsFromText("(*-)");
    dlg.MultiCharWildCardCBx->setCurrentIndex(StarItem);
    emit dlg.MultiCharWildCardCBx->activated(StarItem);
    EXPECT_EQ(dlg.OptionsToText(), "(-*)[Default]");
    dlg.SingleCharWildCardCBx->setCurrentIndex(StarItem);
    emit dlg.SingleCharWildCardCBx->activated(StarItem);
    EXPECT_EQ(dlg.OptionsToText(), "(*-)[Default]");
}

struct CloseCase {
    const char *name;
    const char *find;
    const char *options;
    QList<Button> answers;
    QStringList messages;
    bool accepted;
    const char *optionsAfter = nullptr; // null: unchanged
};

class CloseChecks : public EditStrings, public ::testing::WithParamInterface<CloseCase>
{
};

TEST_P(CloseChecks, ShowTheirMessageAndKeepTheDialogOpenOnFailure)
{
    const CloseCase &c = GetParam();
    dlg.OptionsFromText(c.options);
    type(dlg.FindWhatMmo, c.find);
    QStringList messages;
    EXPECT_EQ(pressOk(c.answers, &messages), c.accepted);
    EXPECT_EQ(messages, c.messages);
    EXPECT_EQ(dlg.OptionsToText(), QByteArray(c.optionsAfter ? c.optionsAfter : c.options));
}

INSTANTIATE_TEST_SUITE_P(
    EditStrings, CloseChecks,
    ::testing::Values(
        CloseCase{"Empty",
                  "",
                  "(--)[Default]",
                  {Button::Ok},
                  {"No \"Find what\" string specified."},
                  false},
        CloseCase{"OnlyBlanks", " \r\n", "(--)[Default]", {}, {}, true},
        CloseCase{"SameWildcard", "abc", "(**)[Default]", {Button::Ok}, {SameWildcard}, false},
        CloseCase{"MultiAbsentYes",
                  "a?c",
                  "(?*)[Default]",
                  {Button::Yes},
                  {MultiAbsent},
                  true,
                  "(?-)[Default]"},
        CloseCase{"MultiAbsentNo", "a?c", "(?*)[Default]", {Button::No}, {MultiAbsent}, true},
        CloseCase{
            "SingleAbsentCancel", "abc", "(?-)[Default]", {Button::Cancel}, {SingleAbsent}, false},
        CloseCase{"BothAbsentYesYes",
                  "abc",
                  "(?*)[Default]",
                  {Button::Yes, Button::Yes},
                  {SingleAbsent, MultiAbsent},
                  true,
                  "(--)[Default]"},
        CloseCase{"Leading",
                  "*abc",
                  "(-*)[Default]",
                  {Button::Ok},
                  {LeadingStar + "- not assigned - )."},
                  false},
        CloseCase{"LeadingAfterSingles",
                  "?*abc",
                  "(?*)[Default]",
                  {Button::Ok},
                  {LeadingStar + "? (question mark))."},
                  false},
        CloseCase{"AnchoredBeforeSingle", "x?*abc", "(?*)[Default]", {}, {}, true},
        CloseCase{"TrailingBlankIgnored",
                  "abc* ",
                  "i(-*)[Default]",
                  {Button::Ok},
                  {TrailingStar + "- not assigned - )."},
                  false},
        CloseCase{"TrailingBlankKept", "abc* ", "(-*)[Default]", {}, {}, true},
        CloseCase{"LastStarTrailing",
                  "a*b*",
                  "(-*)[Default]",
                  {Button::Ok},
                  {TrailingStar + "- not assigned - )."},
                  false},
        CloseCase{"LastStarAnchored", "a*b*c", "(-*)[Default]", {}, {}, true},
        CloseCase{"LineBreakIgnoredWithEol",
                  "\r\n*b",
                  "I(-*)[Default]",
                  {Button::Ok},
                  {LeadingStar + "- not assigned - )."},
                  false},
        CloseCase{"LineBreakKeptWithoutEol", "\r\n*b", "i(-*)[Default]", {}, {}, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(EditStrings, CancelClosesWithoutChecks)
{
    dlg.show();
    dlg.CancelBtn->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST(HtmlView, ConvertsEachEntityOnceInOrder)
{
    EXPECT_EQ(HtmlToText("&amp;lt; &gt;&lt;"), "&lt; ><");
    EXPECT_EQ(TextToHtml("a<b&c>"), "a&lt;b&amp;c&gt;");
    EXPECT_EQ(TextToHtml("&amp;"), "&amp;amp;");
}

TEST_F(EditStrings, HtmlViewShowsEntitiesAndOkStoresTheTextForm)
{
    dlg.setFindText("&amp;lt;");
    dlg.show();
    dlg.ViewAsCBx->setCurrentIndex(1);
    EXPECT_EQ(dlg.FindWhatMmo->toPlainText(), "&lt;");

    type(dlg.FindWhatMmo, "a < b");
    type(dlg.ReplaceWithMmo, "x & y");
    EXPECT_TRUE(pressOk());
    EXPECT_EQ(dlg.ViewAsCBx->currentIndex(), 0);
    EXPECT_EQ(dlg.findText(), "a &lt; b");
    EXPECT_EQ(dlg.replaceText(), "x &amp; y");
}

TEST_F(EditStrings, ShowingStartsInTextViewWithoutConverting)
{
    dlg.ViewAsCBx->setCurrentIndex(1);
    dlg.setFindText("a &lt; b");
    dlg.show();
    EXPECT_EQ(dlg.ViewAsCBx->currentIndex(), 0);
    EXPECT_EQ(dlg.findText(), "a &lt; b");
}

TEST_F(EditStrings, AUseCancelledInHtmlViewLeavesTheNextPairUntouched)
{
    dlg.show();
    dlg.ViewAsCBx->setCurrentIndex(1);
    dlg.CancelBtn->click();
    EXPECT_EQ(dlg.ViewAsCBx->currentIndex(), 0);

    // Filled as Edit fills it: the texts, then the options with their charset.
    const QString kept = QStringLiteral("a") + QChar(0xDC98) + QStringLiteral("z");
    dlg.setFindText(kept);
    dlg.OptionsFromText("[Russian]");
    EXPECT_TRUE(pressOk());
    EXPECT_EQ(dlg.findText(), kept);
}

// Any script is kept as typed; the charset only says how the pair is spelled
// in ANSI files, and a hint on it tells when it cannot spell the texts.
TEST_F(EditStrings, TextsInAnyScriptAreKeptWhateverTheCharset)
{
    const struct {
        const char *charset;
        const char *find, *replace; // UTF-8
        bool hint;
    } cases[] = {
        {"Russian", "Привет", "мир", false},
        {"Default", "東京", "🙂", true},
        {"Russian", "abc", "αβγ", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.find);
        dlg.OptionsFromText(QByteArray("(--)[") + c.charset + "]");
        type(dlg.FindWhatMmo, c.find);
        type(dlg.ReplaceWithMmo, c.replace);
        EXPECT_TRUE(pressOk());
        EXPECT_EQ(dlg.findText(), QString::fromUtf8(c.find));
        EXPECT_EQ(dlg.replaceText(), QString::fromUtf8(c.replace));
        EXPECT_EQ(dlg.OptionsToText(), QByteArray("(--)[") + c.charset + "]");
        EXPECT_EQ(dlg.CharsetCBx->toolTip().isEmpty(), !c.hint);
    }
}

TEST_F(EditStrings, UntouchedBytesTheCharsetDoesNotSpellSurviveOk)
{
    dlg.OptionsFromText("[Russian]");
    const QString kept = QStringLiteral("a") + QChar(0xDC98) + QStringLiteral("z");
    dlg.setFindText(kept);
    EXPECT_TRUE(pressOk());
    EXPECT_EQ(dlg.findText(), kept);
}

TEST_F(EditStrings, TypedLineBreaksAreCrLfAndNoBreakSpacesStay)
{
    dlg.FindWhatMmo->setPlainText(QString("a\nb") + QChar(0xA0));
    QTest::keyClick(dlg.FindWhatMmo, Qt::Key_Tab);
    EXPECT_EQ(dlg.findText(), QStringLiteral("\ta\r\nb") + QChar(0xA0));
}

TEST_F(EditStrings, EquidistantFontChangesOnlyTheFamilyOfBothMemos)
{
    const int size = dlg.FindWhatMmo->font().pointSize();
    dlg.SetEquidistantFont(true);
    const QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    EXPECT_EQ(dlg.FindWhatMmo->font().family(), fixed);
    EXPECT_EQ(dlg.ReplaceWithMmo->font().family(), fixed);
    EXPECT_EQ(dlg.FindWhatMmo->font().pointSize(), size);
    dlg.SetEquidistantFont(false);
    EXPECT_EQ(dlg.ReplaceWithMmo->font().family(), QApplication::font().family());
}

TEST_F(EditStrings, OpensAt672By413WithTheButtonsAroundTheMiddle)
{
    dlg.show();
    EXPECT_EQ(dlg.size(), QSize(672, 413));
    EXPECT_EQ(dlg.minimumWidth(), 600);
    EXPECT_GE(dlg.minimumHeight(), 200);
    for (int width : {672, 900}) {
        dlg.resize(width, 500);
        dlg.layout()->activate();
        EXPECT_EQ(dlg.OkBtn->geometry().right() + 1, width / 2 - 2);
        EXPECT_EQ(dlg.CancelBtn->x(), width / 2 + 2);
    }
}

TEST_F(EditStrings, AtItsSmallestSizeBothTextsShowSomeLines)
{
    dlg.show();
    dlg.resize(dlg.minimumSize());
    dlg.layout()->activate();
    for (QPlainTextEdit *memo : {dlg.FindWhatMmo, dlg.ReplaceWithMmo})
        EXPECT_GE(memo->viewport()->height(), 2 * memo->fontMetrics().lineSpacing())
            << qPrintable(memo->objectName());
}

} // namespace
