#pragma once

#include "settings/PairOptions.h"

#include <QString>

// Where the multi-character wildcard stands in a find text, as the string pair
// dialog judges it before accepting a pair: the matcher needs at least one
// character that is not the single-character wildcard before its first and
// after its last occurrence. In the Ignore modes the text is judged with its
// blanks (space, tab, no-break space) removed, and with "incl. End of
// Line" also its line breaks, as the matcher will see it.
enum class MultiWildcardPosition { Fine, Leading, Trailing };

// `single` and `multi` are 0 when not assigned; with no multi wildcard the
// position is always fine.
MultiWildcardPosition CheckMultiWildcardPosition(const QString &findText, WhiteSpaceMode mode,
                                                 char single, char multi);
