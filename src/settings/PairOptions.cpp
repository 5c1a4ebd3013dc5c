#include "settings/PairOptions.h"

PairOptions PairOptionsFromText(const QByteArray &text)
{
    PairOptions o;
    const qsizetype open = text.indexOf('(');
    const QByteArray flags = open < 0 ? text : text.left(open);

    o.caseSensitive = flags.contains('c');
    o.wholeWords = flags.contains('w');
    o.regularExpression = HasRegularExpressionLetter(text);
    const bool normalize = flags.contains('n') || flags.contains('N');
    const bool ignore = flags.contains('i') || flags.contains('I');
    const bool endOfLine = flags.contains('N') || flags.contains('I');
    if (ignore)
        o.whiteSpace = endOfLine ? WhiteSpaceMode::IgnoreInclEol : WhiteSpaceMode::Ignore;
    else if (normalize)
        o.whiteSpace = endOfLine ? WhiteSpaceMode::NormalizeInclEol : WhiteSpaceMode::Normalize;

    const qsizetype close = text.indexOf(')');
    if (open >= 0 && close == open + 3) {
        const char single = text[open + 1];
        const char multi = text[open + 2];
        o.singleWildcard = single == '-' ? 0 : single;
        o.multiWildcard = multi == '-' ? 0 : multi;
    }

    const qsizetype bracket = text.indexOf('[');
    const qsizetype closeBracket = text.indexOf(']');
    if (bracket >= 0 && closeBracket > bracket)
        o.displayCharset = text.mid(bracket + 1, closeBracket - bracket - 1);
    return o;
}

QByteArray OptionsToText(const PairOptions &o)
{
    QByteArray text;
    if (o.caseSensitive)
        text += 'c';
    switch (o.whiteSpace) {
    case WhiteSpaceMode::None: break;
    case WhiteSpaceMode::Normalize: text += 'n'; break;
    case WhiteSpaceMode::NormalizeInclEol: text += 'N'; break;
    case WhiteSpaceMode::Ignore: text += 'i'; break;
    case WhiteSpaceMode::IgnoreInclEol: text += 'I'; break;
    }
    if (o.wholeWords)
        text += 'w';
    if (o.regularExpression)
        text += 'r';
    text += '(';
    text += o.singleWildcard ? o.singleWildcard : '-';
    text += o.multiWildcard ? o.multiWildcard : '-';
    text += ')';
    text += '[' + o.displayCharset + ']';
    return text;
}

bool HasRegularExpressionLetter(const QByteArray &optionsText)
{
    for (char c : optionsText) {
        if (c == '(' || c == '[')
            return false;
        if (c == 'r')
            return true;
    }
    return false;
}

QByteArray TextBetween(const QByteArray &text, char open, char close)
{
    const qsizetype a = text.indexOf(open);
    const qsizetype b = text.indexOf(close);
    if (a >= 0 && b > a)
        return text.mid(a + 1, b - a - 1);
    return text;
}
