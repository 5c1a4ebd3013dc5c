#pragma once

#include <QtGlobal>

// True when the match from `start` up to `end` (the position just after it)
// is not joined to a word character on either side. A word character is a
// letter of any script, a digit or "_"; in ANSI text it is judged on the
// byte's Windows-1252 character.
bool IsWholeWord(const char *data, qint64 length, int encoding, int bomLength, qint64 start,
                 qint64 end);

// True when the character just before `start` is a word character (never
// for a match at the start of the text).
bool FollowsWordCharacter(const char *data, qint64 length, int encoding, int bomLength,
                          qint64 start);
