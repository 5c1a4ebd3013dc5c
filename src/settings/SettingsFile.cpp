#include "settings/SettingsFile.h"

#include "settings/AnsiText.h"
#include "settings/DisplayCharsets.h"
#include "settings/IniFile.h"
#include "settings/Job.h"
#include "settings/JobEntries.h"
#include "settings/ProfileValues.h"
#include "settings/SettingsFileError.h"
#include "settings/SettingsVersion.h"

#include <QtGlobal>

namespace {

const QByteArray VersionSection = "Sarvonex";
const QByteArray OptionsSection = "Options";
const QByteArray FoldersSection = "Directories";
const QByteArray FileTypesSection = "FileTypes";
const QByteArray ExcludedFileTypesSection = "ExcludeFileTypes";
const QByteArray StringsSection = "Strings";

// A version 2.1 file, or one without a version at all.
const QByteArray OldestVersion = "2.1";

// How many missing "Value" keys one table section may skip.
constexpr int MaximumSkippedKeys = 1000;

// More rows than any real job holds; a table beyond it marks a damaged file,
// which is refused rather than read at the cost of minutes and gigabytes.
constexpr qint64 MaximumGridRows = 100000;

QByteArray valueKey(qint64 number)
{
    return "Value" + QByteArray::number(number);
}

const DisplayCharset &ansiCharset()
{
    return DisplayCharsetOrDefault("Default");
}

// In UTF-8 a byte that a pair's charset did not spell (kept as U+DC00 + byte)
// is written as "{xNN}" in its cell text; a "{" of the text itself is always
// "{{}" there, so the two are never confused.
QByteArray keptBytesToTokens(const QString &cell)
{
    QString out;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (IsKeptByteAt(cell, i))
            out += QStringLiteral("{x%1}").arg(cell[i].unicode() - KeptByteBase, 2, 16,
                                               QLatin1Char('0'));
        else
            out += cell[i];
    }
    return out.toUtf8();
}

QString tokensToKeptBytes(const QByteArray &bytes)
{
    QString cell = QString::fromUtf8(bytes);
    for (qsizetype at = cell.indexOf(QLatin1String("{x")); at >= 0;
         at = cell.indexOf(QLatin1String("{x"), at + 1)) {
        bool ok = false;
        const uint byte = cell.mid(at + 2, 2).toUInt(&ok, 16);
        if (ok && cell.mid(at + 4, 1) == QLatin1String("}") && !cell[at + 2].isSpace())
            cell.replace(at, 5, QChar(char16_t(KeptByteBase + byte)));
    }
    return cell;
}

// How a file of one version spells its texts: UTF-8, or Windows-1252 with the
// texts of a string pair in the pair's charset.
class TextSpelling
{
public:
    explicit TextSpelling(bool utf8) : m_utf8(utf8) {}

    // The job's version guarantees a spelling (RequiredSettingsVersion).
    QByteArray spell(const QString &text) const
    {
        return m_utf8 ? text.toUtf8() : TextToAnsi(text).value();
    }
    QString read(const QByteArray &bytes) const
    {
        return m_utf8 ? QString::fromUtf8(bytes) : AnsiToText(bytes);
    }
    QByteArray spellPairText(const QString &cell, const DisplayCharset &charset) const
    {
        return m_utf8 ? keptBytesToTokens(cell) : EncodeInCharset(cell, charset).value();
    }
    QString readPairText(const QByteArray &bytes, const DisplayCharset &charset) const
    {
        return m_utf8 ? tokensToKeptBytes(bytes) : DecodeInCharset(bytes, charset);
    }

private:
    bool m_utf8;
};

using ByteRow = QList<QByteArray>;

// A table's rows as the file spells them; the find and replace texts of the
// string pairs in their charset.
QList<ByteRow> spellRows(const TextTable &table, bool pairs, const TextSpelling &spelling)
{
    QList<ByteRow> rows;
    for (const TextTable::Row &row : table.entries()) {
        ByteRow bytes;
        if (pairs) {
            const StringPair pair = StringPair::fromRow(row);
            bytes = {spelling.spellPairText(pair.find, pair.charset()),
                     spelling.spellPairText(pair.replace, pair.charset()),
                     spelling.spell(pair.options)};
        } else {
            for (const QString &cell : row)
                bytes.append(spelling.spell(cell));
        }
        rows.append(bytes);
    }
    return rows;
}

QList<TextTable::Row> readRows(const QList<ByteRow> &rows, bool pairs, const TextSpelling &spelling)
{
    QList<TextTable::Row> texts;
    for (const ByteRow &bytes : rows) {
        TextTable::Row row;
        for (const QByteArray &cell : bytes)
            row.append(spelling.read(cell));
        if (pairs) {
            const DisplayCharset &charset = StringPair::fromRow(row).charset();
            row[0] = spelling.readPairText(bytes.value(0), charset);
            row[1] = spelling.readPairText(bytes.value(1), charset);
        }
        texts.append(row);
    }
    return texts;
}

// The highest n of the section's "Value<n>" keys (written without leading
// zeros, as lookups spell them); 0 when there is none.
qint64 highestValueNumber(const IniFile &ini, const QByteArray &section)
{
    qint64 highest = 0;
    for (const QByteArray &key : ini.keys(section)) {
        if (key.size() <= 5 || key.left(5).toLower() != "value" || key[5] == '0')
            continue;
        bool ok = false;
        const qint64 number = key.mid(5).toLongLong(&ok);
        if (ok && key.mid(5) == QByteArray::number(number))
            highest = qMax(highest, number);
    }
    return highest;
}

int readInteger(const IniFile &ini, const QByteArray &section, const QByteArray &key,
                int defaultValue)
{
    return ProfileInteger(ini.value(section, key)).value_or(defaultValue);
}

bool readBoolean(const IniFile &ini, const QByteArray &key, bool defaultValue)
{
    return readInteger(ini, OptionsSection, key, defaultValue ? 1 : 0) != 0;
}

// A choice below -1 counts as no item chosen (-1), one above the last item as
// the last item.
int readChoice(const IniFile &ini, const QByteArray &key, int defaultValue)
{
    return qBound(-1, readInteger(ini, OptionsSection, key, defaultValue), 2);
}

void writeInteger(IniFile &ini, const QByteArray &key, int value)
{
    ini.setValue(OptionsSection, key, QByteArray::number(value));
}

void writeBoolean(IniFile &ini, const QByteArray &key, bool value)
{
    writeInteger(ini, key, value ? 1 : 0);
}

void writeOptions(IniFile &ini, const RunOptions &o, const TextSpelling &spelling)
{
    writeBoolean(ini, "PreserveDateTime", o.preserveDateTime);
    writeInteger(ini, "BinaryFiles", o.binaryFiles);
    writeInteger(ini, "ReadOnlyFiles", o.readOnlyFiles);
    writeBoolean(ini, "SetArchiveAttribute", o.setArchiveAttribute);
    writeBoolean(ini, "SaveSettingsAutomatically", o.saveSettingsAutomatically);
    writeBoolean(ini, "PreferEquidistantFont", o.preferEquidistantFont);
    writeInteger(ini, "Backup", o.backupMode);
    ini.setValue(OptionsSection, "BackupFolder", spelling.spell(o.backupFolder));
    ini.setValue(OptionsSection, "BackupPrefix", spelling.spell(o.backupPrefix));
    ini.setValue(OptionsSection, "BackupSuffix", spelling.spell(o.backupSuffix));
    writeBoolean(ini, "ShowFileList", o.showFileList);
    writeBoolean(ini, "PromptEachReplace", o.promptEachReplace);
    writeBoolean(ini, "ShowFinalStats", o.showFinalStats);
}

// Every option takes its default when its key is missing, except the back-up
// mode, which keeps its current value when the file names no valid mode.
RunOptions readOptions(const IniFile &ini, RunOptions o, const TextSpelling &spelling)
{
    const RunOptions defaults;
    o.preserveDateTime = readBoolean(ini, "PreserveDateTime", defaults.preserveDateTime);
    o.binaryFiles = readChoice(ini, "BinaryFiles", defaults.binaryFiles);
    o.readOnlyFiles = readChoice(ini, "ReadOnlyFiles", defaults.readOnlyFiles);
    o.setArchiveAttribute = readBoolean(ini, "SetArchiveAttribute", defaults.setArchiveAttribute);
    o.saveSettingsAutomatically =
        readBoolean(ini, "SaveSettingsAutomatically", defaults.saveSettingsAutomatically);
    o.preferEquidistantFont =
        readBoolean(ini, "PreferEquidistantFont", defaults.preferEquidistantFont);
    const int backup = readInteger(ini, OptionsSection, "Backup", defaults.backupMode);
    if (backup >= BackupNone && backup <= BackupRename)
        o.backupMode = backup;
    const auto text = [&](const char *key, const QString &defaultValue) {
        return ini.contains(OptionsSection, key) ? spelling.read(ini.value(OptionsSection, key))
                                                 : defaultValue;
    };
    o.backupFolder = text("BackupFolder", defaults.backupFolder);
    o.backupPrefix = text("BackupPrefix", defaults.backupPrefix);
    o.backupSuffix = text("BackupSuffix", defaults.backupSuffix);
    o.showFileList = readBoolean(ini, "ShowFileList", defaults.showFileList);
    o.promptEachReplace = readBoolean(ini, "PromptEachReplace", defaults.promptEachReplace);
    o.showFinalStats = readBoolean(ini, "ShowFinalStats", defaults.showFinalStats);
    return o;
}

// Version 2.1 stored file types without the encoding column: (mask,
// description) becomes (mask, `middle`, description).
void insertEncodingColumn(TextTable &table, const QString &middle)
{
    for (int r = 1; r <= table.DataRowCount(); ++r) {
        TextTable::Row row = table.row(r);
        row[2] = row[1];
        row[1] = middle;
        table.setRow(r, row);
    }
}

// Character code by character code; a prefix ranks lower than the longer text.
bool isNewerThanSupported(const QByteArray &version)
{
    return version > QByteArray(SettingsFormatVersion);
}

QString versionRefusedMessage(const QByteArray &version)
{
    return QStringLiteral("Version of the file being loaded: ") + QString::fromUtf8(version)
        + QStringLiteral("\nVersion expected (or lower): ") + QLatin1String(SettingsFormatVersion)
        + QStringLiteral("\n\nThis file can't be loaded.\n\nGet a newer version of Sarvonex\n"
                         "from the vendor's web to open this file.");
}

// The rows a table section loads. Rows starting beyond the highest key number
// can only be empty. They are kept as the file asks, unless "GridHeight" is
// wildly beyond the keys (a damaged or hand-edited file): then only the rows
// the keys reach count.
qint64 gridRowCount(const IniFile &ini, const QByteArray &section, qint64 reach)
{
    const int width = readInteger(ini, section, "GridWidth", 0);
    const int height = readInteger(ini, section, "GridHeight", 0);
    if (width <= 0 || height <= 0)
        return 0;
    const qint64 rowsWithKeys = reach / width + (reach % width != 0 ? 1 : 0);
    return height - MaximumSkippedKeys > rowsWithKeys ? rowsWithKeys : height;
}

// Checked before any table is loaded, so a refused file leaves the job whole.
void refuseOversizedTables(const QString &path, const IniFile &ini)
{
    for (const QByteArray &section :
         {FoldersSection, FileTypesSection, ExcludedFileTypesSection, StringsSection}) {
        if (gridRowCount(ini, section, highestValueNumber(ini, section)) > MaximumGridRows)
            throw SettingsFileError(
                QStringLiteral("The settings file %1 is damaged: its section [%2] asks for more "
                               "than %3 rows.\nThe file was not loaded.")
                    .arg(path, QString::fromLatin1(section), QString::number(MaximumGridRows)));
    }
}

class LoadingGuard
{
public:
    explicit LoadingGuard(SettingsFileHost &host) : m_host(host) { m_host.setLoading(true); }
    ~LoadingGuard() { m_host.setLoading(false); }
    LoadingGuard(const LoadingGuard &) = delete;
    LoadingGuard &operator=(const LoadingGuard &) = delete;

private:
    SettingsFileHost &m_host;
};

} // namespace

namespace {

// One table under `section`: "GridWidth", "GridHeight" and a "Value<n>" key
// per cell in row-major order.
void writeGridSection(IniFile &ini, const TextTable &table, const QByteArray &section,
                      const TextSpelling &spelling)
{
    const int width = table.columns();
    const QList<ByteRow> rows = spellRows(table, section == StringsSection, spelling);
    ini.setValue(section, "GridWidth", QByteArray::number(width));
    ini.setValue(section, "GridHeight", QByteArray::number(rows.size()));
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < width; ++c)
            ini.setValue(section, valueKey(qint64(r) * width + c + 1), rows[r][c]);
    }
}

// Loads one table from `section`. A "Value<n>" key removed by hand shifts the
// following values back into place (up to 1000 missing keys per section);
// columns beyond the table's own are ignored, missing ones stay empty. Rows
// that no "Value" key of the section can reach stay out of the table, so a
// wild "GridHeight" does not create millions of empty rows; at most 100,000
// rows are loaded.
void readGridSection(const IniFile &ini, TextTable &table, const QByteArray &section,
                     const TextSpelling &spelling)
{
    const int width = readInteger(ini, section, "GridWidth", 0);
    const qint64 reach = highestValueNumber(ini, section);
    const qint64 rowCount = qMin(gridRowCount(ini, section, reach), MaximumGridRows);

    // Every cell looked at either takes a key of the file, skips one of the
    // 1000 missing ones or is one of the table's own columns, so a huge
    // "GridWidth" costs no more than the keys the file holds.
    QList<ByteRow> rows(rowCount, ByteRow(table.columns()));
    int skip = 0;
    for (qint64 r = 0; r < rowCount; ++r) {
        for (int c = 0; c < width; ++c) {
            const qint64 position = r * width + c + 1;
            if (position > reach || (c >= table.columns() && skip == MaximumSkippedKeys))
                break;
            qint64 n = position + skip;
            while (!ini.contains(section, valueKey(n)) && skip < MaximumSkippedKeys) {
                ++skip;
                ++n;
            }
            if (c < table.columns())
                rows[r][c] = ini.value(section, valueKey(n));
        }
    }
    table.resetRows(readRows(rows, section == StringsSection, spelling));
}

} // namespace

void WriteSettingsFile(const QString &path, const Job &job)
{
    const QByteArray version = RequiredSettingsVersion(job);
    const TextSpelling spelling(version == UnicodeSettingsVersion);
    IniFile ini;
    ini.setValue(VersionSection, "Version", version);
    writeGridSection(ini, job.folders(), FoldersSection, spelling);
    writeGridSection(ini, job.fileTypes(), FileTypesSection, spelling);
    writeGridSection(ini, job.excludedFileTypes(), ExcludedFileTypesSection, spelling);
    writeGridSection(ini, job.stringPairs(), StringsSection, spelling);
    writeOptions(ini, job.options(), spelling);
    ini.save(path);
}

bool ReadSettingsFile(const QString &path, Job &job, SettingsFileHost &host)
{
    if (!host.mayReplaceJob())
        return false;
    LoadingGuard loading(host);
    const IniFile ini = IniFile::load(path);

    const QByteArray version = ini.value(VersionSection, "Version", OldestVersion);
    if (isNewerThanSupported(version)) {
        host.showInformation(versionRefusedMessage(version));
        return false;
    }

    refuseOversizedTables(path, ini);
    const TextSpelling spelling(version >= UnicodeSettingsVersion);
    readGridSection(ini, job.folders(), FoldersSection, spelling);
    readGridSection(ini, job.fileTypes(), FileTypesSection, spelling);
    readGridSection(ini, job.excludedFileTypes(), ExcludedFileTypesSection, spelling);
    readGridSection(ini, job.stringPairs(), StringsSection, spelling);
    if (version == OldestVersion) {
        insertEncodingColumn(job.fileTypes(), QStringLiteral("Auto"));
        insertEncodingColumn(job.excludedFileTypes(), QString());
    }
    job.setOptions(readOptions(ini, job.options(), spelling));

    host.addRecentFile(path);
    host.markNotModified();
    return true;
}

bool ReadSettingsFile(const QString &path, Job &job)
{
    SettingsFileHost host;
    return ReadSettingsFile(path, job, host);
}
