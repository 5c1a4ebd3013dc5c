#include "ui/EditStrings/TEditStringsFrm.h"

#include "engine/match/RegexPair.h"
#include "engine/text/CodePage.h"
#include "settings/PairOptions.h"
#include "settings/DisplayCharsets.h"
#include "ui/EditStrings/HtmlView.h"
#include "ui/EditStrings/MultiWildcardPosition.h"
#include "widgets/TSizeGrip.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMessageBox>
#include <QTextDocument>
#include <iterator>
#include <utility>
#include <variant>

namespace {

// Item 0 stands for no wildcard; an item's character is its first one, so
// the "-" of item 0 is what the options text writes for "not assigned".
const char *const WildcardItems[] = {
    "- not assigned - ", "? (question mark)", "* (asterisk)",   "~ (tilda)",
    "@ (at sign)",       "# (hash mark)",     "$ (dollar)",     "% (percent sign)",
    "& (ampersand)",     "! (exclamation)",   "_ (underscore)", ". (period)",
};

constexpr int HtmlViewIndex = 1;
constexpr int MinimumMemoLines = 3;

int WildcardIndex(char c)
{
    for (int i = 0; i < int(std::size(WildcardItems)); ++i) {
        if (WildcardItems[i][0] == c)
            return i;
    }
    return 0;
}

char WildcardChar(const QComboBox *list)
{
    return list->currentIndex() > 0 ? WildcardItems[list->currentIndex()][0] : 0;
}

// The white-space letters in the order they are looked for: "n" wins over
// "N" and so on, whatever their order in the text.
int WhiteSpaceIndex(const QByteArray &flags)
{
    const char letters[] = {'n', 'N', 'i', 'I'};
    for (int i = 0; i < 4; ++i) {
        if (flags.contains(letters[i]))
            return i + 1;
    }
    return 0;
}

// The memo's text with its line breaks as CR LF. The raw text keeps a
// no-break space as it is (the plain text would turn it into a blank); a
// paragraph break and a Shift+Enter line break both become CR LF.
QString ShownText(const QPlainTextEdit *memo)
{
    QString text = memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    text.replace(QChar::LineSeparator, QLatin1String("\r\n"));
    return text;
}

// The first character of `text` that `charset` cannot spell.
QString FirstUnstorable(const QString &text, const DisplayCharset &charset)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!EncodeInCharset(character, charset))
            return character;
        i += length;
    }
    return {};
}

void Inform(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Information, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QMessageBox::StandardButton AskYesNoCancel(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

TEditStringsFrm::TEditStringsFrm(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    new TSizeGrip(this); // owned by the dialog, drawn over its corner
    for (const char *item : WildcardItems) {
        SingleCharWildCardCBx->addItem(QString::fromLatin1(item));
        MultiCharWildCardCBx->addItem(QString::fromLatin1(item));
    }
    for (const DisplayCharset &charset : DisplayCharsets)
        CharsetCBx->addItem(QString::fromLatin1(charset.name));
    CharsetCBx->setCurrentIndex(DisplayCharsetIndex("Default"));
    // Even at the dialog's smallest size each text shows a few lines: the
    // smallest height follows from the memos'.
    for (QPlainTextEdit *memo : {FindWhatMmo, ReplaceWithMmo})
        memo->setMinimumHeight(MinimumMemoLines * memo->fontMetrics().lineSpacing()
                               + 2 * memo->frameWidth() + 2 * int(memo->document()->documentMargin()));
    setMinimumHeight(qMax(minimumHeight(), layout()->totalMinimumSize().height()));

    connect(CharsetCBx, &QComboBox::currentIndexChanged, this, &TEditStringsFrm::CharsetCBxChange);
    for (QPlainTextEdit *memo : {FindWhatMmo, ReplaceWithMmo})
        connect(memo, &QPlainTextEdit::textChanged, this, &TEditStringsFrm::updateCharsetHint);
    connect(ViewAsCBx, &QComboBox::currentIndexChanged, this, &TEditStringsFrm::ViewAsCBxChange);
    // Only the user's pick keeps the two wildcards apart; options set from a
    // text are left for the close checks to judge.
    connect(SingleCharWildCardCBx, &QComboBox::activated, this,
            &TEditStringsFrm::SingleCharWildCardCBxChange);
    connect(MultiCharWildCardCBx, &QComboBox::activated, this,
            &TEditStringsFrm::MultiCharWildCardCBxChange);
    connect(RegularExpressionChk, &QCheckBox::toggled, this,
            &TEditStringsFrm::RegularExpressionChkChange);
    RegularExpressionChkChange();
}

void TEditStringsFrm::OptionsFromText(const QByteArray &optionsText)
{
    const qsizetype open = optionsText.indexOf('(');
    const QByteArray flags = open < 0 ? optionsText : optionsText.left(open);
    CaseSensitiveChk->setChecked(flags.contains('c'));
    WhiteSpacesCBx->setCurrentIndex(WhiteSpaceIndex(flags));
    WholeWordsChk->setChecked(flags.contains('w'));
    RegularExpressionChk->setChecked(HasRegularExpressionLetter(optionsText));

    const auto charAt = [&optionsText](qsizetype i) {
        return i < optionsText.size() ? optionsText[i] : '\0';
    };
    SingleCharWildCardCBx->setCurrentIndex(open < 0 ? 0 : WildcardIndex(charAt(open + 1)));
    MultiCharWildCardCBx->setCurrentIndex(open < 0 ? 0 : WildcardIndex(charAt(open + 2)));

    // A name not in the list leaves the list without a selection; it is then
    // written back as "[]".
    const qsizetype begin = optionsText.indexOf('[');
    const qsizetype end = optionsText.indexOf(']');
    const QByteArray name = begin >= 0 && end > begin ? optionsText.mid(begin + 1, end - begin - 1)
                                                      : QByteArray("Default");
    CharsetCBx->setCurrentIndex(
        CharsetCBx->findText(QString::fromLatin1(name), Qt::MatchFixedString));
}

QByteArray TEditStringsFrm::OptionsToText() const
{
    PairOptions options;
    options.caseSensitive = CaseSensitiveChk->isChecked();
    options.wholeWords = WholeWordsChk->isChecked();
    options.regularExpression = RegularExpressionChk->isChecked();
    if (!options.regularExpression) {
        options.whiteSpace = WhiteSpaceMode(WhiteSpacesCBx->currentIndex());
        options.singleWildcard = WildcardChar(SingleCharWildCardCBx);
        options.multiWildcard = WildcardChar(MultiCharWildCardCBx);
    }
    options.displayCharset = CharsetCBx->currentText().toLatin1();
    return ::OptionsToText(options);
}

void TEditStringsFrm::ResetOptions()
{
    CaseSensitiveChk->setChecked(false);
    RegularExpressionChk->setChecked(false);
    WhiteSpacesCBx->setCurrentIndex(0);
}

void TEditStringsFrm::SetEquidistantFont(bool on)
{
    if (on == m_equidistantFont)
        return;
    m_equidistantFont = on;
    const QString family = on ? QFontDatabase::systemFont(QFontDatabase::FixedFont).family()
                              : QApplication::font().family();
    for (QPlainTextEdit *memo : {FindWhatMmo, ReplaceWithMmo}) {
        QFont font = memo->font();
        font.setFamily(family);
        memo->setFont(font);
    }
}

void TEditStringsFrm::setFindText(const QString &text)
{
    showText(FindWhatMmo, m_find, text, false);
}

QString TEditStringsFrm::findText() const
{
    return memoText(FindWhatMmo, m_find);
}

void TEditStringsFrm::setReplaceText(const QString &text)
{
    showText(ReplaceWithMmo, m_replace, text, false);
}

QString TEditStringsFrm::replaceText() const
{
    return memoText(ReplaceWithMmo, m_replace);
}

void TEditStringsFrm::done(int result)
{
    // Back to the Text form at every closing, so that the next caller fills
    // the memos in the view their texts are in.
    if (htmlView())
        ViewAsCBx->setCurrentIndex(0); // converts both memos to the Text form
    if (result == Accepted && !closeChecksPass())
        return;
    QDialog::done(result);
}

void TEditStringsFrm::showEvent(QShowEvent *event)
{
    // The callers' texts are in the Text form: the view starts there without
    // converting them.
    const QSignalBlocker blocker(ViewAsCBx);
    ViewAsCBx->setCurrentIndex(0);
    // Each use starts in the find text, whatever had the focus last time.
    FindWhatMmo->setFocus();
    QDialog::showEvent(event);
}

void TEditStringsFrm::resizeEvent(QResizeEvent *event)
{
    // Both memos share the height left by the fixed rows; the find group is
    // higher by the options panel it holds.
    const int half = (height() - 100) / 2;
    MainLayout->setStretch(0, qMax(1, half + OptionsPnl->sizeHint().height() - 5));
    MainLayout->setStretch(1, qMax(1, half - 5));
    QDialog::resizeEvent(event);
}

void TEditStringsFrm::CharsetCBxChange()
{
    // The texts stay as they are; the charset only says how they are spelled
    // in ANSI files.
    updateCharsetHint();
}

// A pair whose texts its charset cannot spell does not occur in ANSI files;
// the charset list says so rather than refusing the pair.
void TEditStringsFrm::updateCharsetHint()
{
    QString missing;
    for (const QPlainTextEdit *memo : {FindWhatMmo, ReplaceWithMmo}) {
        const QString text = ShownText(memo);
        missing = FirstUnstorable(htmlView() ? TextToHtml(text) : text, selectedCharset());
        if (!missing.isEmpty())
            break;
    }
    CharsetCBx->setToolTip(
        missing.isEmpty()
            ? QString()
            : QStringLiteral("The charset \"%1\" has no spelling of \"%2\": the pair is not "
                             "looked for in ANSI files, only in UTF-8 and Unicode files.")
                  .arg(CharsetCBx->currentText(), missing));
}

void TEditStringsFrm::ViewAsCBxChange(int index)
{
    for (QPlainTextEdit *memo : {FindWhatMmo, ReplaceWithMmo}) {
        const QString text = ShownText(memo);
        memo->setPlainText(index == HtmlViewIndex ? HtmlToText(text) : TextToHtml(text));
    }
}

void TEditStringsFrm::SingleCharWildCardCBxChange()
{
    if (SingleCharWildCardCBx->currentText() == MultiCharWildCardCBx->currentText())
        MultiCharWildCardCBx->setCurrentIndex(0);
}

void TEditStringsFrm::MultiCharWildCardCBxChange()
{
    if (MultiCharWildCardCBx->currentText() == SingleCharWildCardCBx->currentText())
        SingleCharWildCardCBx->setCurrentIndex(0);
}

// The controls keep their values while disabled, so unchecking the box
// brings the pair's white-space mode and wildcards back.
void TEditStringsFrm::RegularExpressionChkChange()
{
    const bool literal = !RegularExpressionChk->isChecked();
    for (QWidget *control :
         std::initializer_list<QWidget *>{WhiteSpacesLbl, WhiteSpacesCBx, SingleCharWildCardLbl,
                                          SingleCharWildCardCBx, MultiCharWildCardLbl,
                                          MultiCharWildCardCBx})
        control->setEnabled(literal);
    RegularExpressionHintLbl->setEnabled(!literal);
}

bool TEditStringsFrm::htmlView() const
{
    return ViewAsCBx->currentIndex() == HtmlViewIndex;
}

const DisplayCharset &TEditStringsFrm::selectedCharset() const
{
    return DisplayCharsetOrDefault(CharsetCBx->currentText().toLatin1());
}

void TEditStringsFrm::showText(QPlainTextEdit *memo, MemoText &state, const QString &text,
                               bool asHtml)
{
    memo->setPlainText(asHtml ? HtmlToText(text) : text);
    state = {text, ShownText(memo), asHtml};
}

QString TEditStringsFrm::memoText(const QPlainTextEdit *memo, const MemoText &state) const
{
    const QString text = ShownText(memo);
    if (text == state.shown && htmlView() == state.shownAsHtml)
        return state.text;
    return htmlView() ? TextToHtml(text) : text;
}

bool TEditStringsFrm::closeChecksPass()
{
    if (ShownText(FindWhatMmo).isEmpty()) {
        Inform(this, QStringLiteral("No \"Find what\" string specified."));
        return false;
    }
    const QString find = findText();
    return RegularExpressionChk->isChecked() ? regularExpressionChecksPass(find)
                                             : wildcardChecksPass(find);
}

bool TEditStringsFrm::wildcardChecksPass(const QString &find)
{
    if (SingleCharWildCardCBx->currentIndex() > 0
        && SingleCharWildCardCBx->currentText() == MultiCharWildCardCBx->currentText()) {
        Inform(this, QStringLiteral("The same character is set for both single-character and "
                                    "multi-character substitution.\n"
                                    "Make them different or set only one of them."));
        return false;
    }
    if (!keepOrClearAbsentWildcard(SingleCharWildCardCBx, "a single-character replacement", find)
        || !keepOrClearAbsentWildcard(MultiCharWildCardCBx, "a multi-character replacement", find))
        return false;

    const MultiWildcardPosition position = CheckMultiWildcardPosition(
        find, WhiteSpaceMode(WhiteSpacesCBx->currentIndex()), WildcardChar(SingleCharWildCardCBx),
        WildcardChar(MultiCharWildCardCBx));
    if (position == MultiWildcardPosition::Fine)
        return true;
    const QString where =
        position == MultiWildcardPosition::Leading
            ? QStringLiteral("first character of the find-what string,\nor preceded")
            : QStringLiteral("last character of the find-what string,\nor followed");
    Inform(this, QStringLiteral("The multi-char replacement wildcard (%1) can't be the %2 only by "
                                "the single-char replacement wild card (%3).")
                     .arg(MultiCharWildCardCBx->currentText(), where,
                          SingleCharWildCardCBx->currentText()));
    return false;
}

// PCRE2's message names the offset in the pattern; the cursor is put there
// (the memo shows each CR LF as one line break).
bool TEditStringsFrm::regularExpressionChecksPass(const QString &find)
{
    const CompiledRegexPair compiled =
        CompileRegexPair(find, replaceText(), CaseSensitiveChk->isChecked());
    const auto *error = std::get_if<RegexPairError>(&compiled);
    if (!error)
        return true;
    Inform(this, error->message);
    QPlainTextEdit *memo = error->offset < 0 ? ReplaceWithMmo : FindWhatMmo;
    if (error->offset >= 0) {
        const QString before = find.left(error->offset);
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(int(before.size() - before.count(QLatin1String("\r\n"))));
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
    }
    memo->setFocus();
    return false;
}

// Asks whether to clear a wildcard whose character the find text lacks;
// false when the user cancels.
bool TEditStringsFrm::keepOrClearAbsentWildcard(QComboBox *list, const char *piece,
                                                const QString &find)
{
    const char wildcard = WildcardChar(list);
    if (!wildcard || find.contains(QLatin1Char(wildcard)))
        return true;
    const QString question =
        QStringLiteral("The character %1 is selected for %2, but no such character is present the "
                       "find-what text.\n\nDo you wish to set it to %3 ?")
            .arg(list->currentText(), QLatin1String(piece), list->itemText(0));
    switch (AskYesNoCancel(this, question)) {
    case QMessageBox::Yes:
        list->setCurrentIndex(0);
        return true;
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}
