#pragma once

#include <QByteArray>

class Job;

// The versions of the settings file this program writes. Both have the same
// sections and keys; they differ in how the texts are spelled.
//
// 2.2 (and 2.1, read only): Windows-1252, except the find and replace texts
// of a string pair, which are spelled in the pair's display charset.
inline constexpr const char *AnsiSettingsVersion = "2.2";
// 2.3: every text in UTF-8, without a byte-order mark.
inline constexpr const char *UnicodeSettingsVersion = "2.3";

// The highest version this program reads.
inline constexpr const char *SettingsFormatVersion = UnicodeSettingsVersion;

// The version `job` is written as: the oldest one whose files hold the whole
// job and whose readers understand all of it. A job with a text that has no
// ANSI spelling, or with a regular-expression pair (a 2.2 reader would search
// for the pattern's text), is 2.3, so that older versions refuse the file.
QByteArray RequiredSettingsVersion(const Job &job);
