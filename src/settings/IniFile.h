#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// An INI text held in memory: sections of "key=value" lines. Section names
// and keys compare without regard to (ASCII) case; values are bytes
// (Windows-1252), never decoded.
//
// Reading follows the profile-file rules settings files were always read
// with: a value is the text after the first "=", with blanks (spaces, tabs)
// dropped at both ends and then one pair of enclosing quotes (" or ') removed;
// lines may end in CR LF or LF; lines without "=" and keys before the first
// section are ignored; of two equal keys the first one counts, and a section
// that appears twice is read as one.
//
// Writing keeps sections and keys in the order they were first set, with CR LF
// line ends and no blank lines. A value that begins or ends with a blank or a
// quote is written inside double quotes, so that reading it back gives the
// value exactly.
class IniFile
{
public:
    static IniFile fromBytes(const QByteArray &text);

    // A settings file larger than this is damaged.
    static constexpr qint64 MaximumFileSize = 16 * 1024 * 1024;

    // The file's content; a file that does not exist gives an empty IniFile.
    // Throws SettingsFileError when the file exists but cannot be read, is
    // not a regular file or is larger than MaximumFileSize.
    static IniFile load(const QString &path);

    bool contains(const QByteArray &section, const QByteArray &key) const;
    QByteArray value(const QByteArray &section, const QByteArray &key,
                     const QByteArray &defaultValue = QByteArray()) const;
    void setValue(const QByteArray &section, const QByteArray &key, const QByteArray &value);

    // The keys of a section as written, in file order.
    QList<QByteArray> keys(const QByteArray &section) const;

    QByteArray toBytes() const;

    // Writes the whole text to a temporary file in the same folder and renames
    // it over `path`, so a failed save leaves an existing file as it was.
    // Throws SettingsFileError ("Unable to write to <path>").
    void save(const QString &path) const;

private:
    struct Entry {
        QByteArray key;
        QByteArray value;
    };
    struct Section {
        QByteArray name;
        QList<Entry> entries;
        QHash<QByteArray, qsizetype> entryByKey; // folded key -> first entry
    };

    const Section *findSection(const QByteArray &name) const;
    Section &sectionForWriting(const QByteArray &name);
    static void addEntry(Section &section, const QByteArray &key, const QByteArray &value);

    QList<Section> m_sections;
    QHash<QByteArray, qsizetype> m_sectionByName; // folded name -> first section
};
