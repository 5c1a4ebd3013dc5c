#pragma once

#include <QByteArray>

class Job;

// The highest settings format version this program reads.
inline constexpr const char *SettingsFormatVersion = "2.3";

// The version a job is written as: the oldest one whose readers understand
// all of it. "2.2" unless the job holds something a 2.2 reader would take for
// something else: a regular-expression pair (it would search for the
// pattern's text) makes it "2.3", so that older versions refuse the file.
QByteArray RequiredSettingsVersion(const Job &job);
