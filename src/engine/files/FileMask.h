#pragma once

#include <QList>
#include <QString>

// A file-type mask as the directory search reads it: `*` any run of
// characters, `?` exactly one, every other character literal, compared
// without regard to case against the whole file name. A trailing ".*" may
// also stand for nothing, so "*.*" matches every name and "readme.*" matches
// "readme" as well as "readme.txt". An empty mask matches nothing.
class FileMask
{
public:
    explicit FileMask(const QString &mask);

    bool matches(const QString &fileName) const;

private:
    static bool matchesPattern(const QList<uint> &pattern, const QList<uint> &name);

    QList<uint> m_pattern;
    // The pattern without its trailing ".*", when it has one.
    QList<uint> m_withoutExtension;
    bool m_hasOptionalExtension = false;
};
