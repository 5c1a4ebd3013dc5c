#include "settings/SettingsFile.h"

#include "settings/IniFile.h"
#include "settings/Job.h"
#include "settings/ProfileValues.h"
#include "settings/SettingsFileError.h"

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

void writeOptions(IniFile &ini, const RunOptions &o)
{
    writeBoolean(ini, "PreserveDateTime", o.preserveDateTime);
    writeInteger(ini, "BinaryFiles", o.binaryFiles);
    writeInteger(ini, "ReadOnlyFiles", o.readOnlyFiles);
    writeBoolean(ini, "SetArchiveAttribute", o.setArchiveAttribute);
    writeBoolean(ini, "SaveSettingsAutomatically", o.saveSettingsAutomatically);
    writeBoolean(ini, "PreferEquidistantFont", o.preferEquidistantFont);
    writeInteger(ini, "Backup", o.backupMode);
    ini.setValue(OptionsSection, "BackupFolder", o.backupFolder);
    ini.setValue(OptionsSection, "BackupPrefix", o.backupPrefix);
    ini.setValue(OptionsSection, "BackupSuffix", o.backupSuffix);
    writeBoolean(ini, "ShowFileList", o.showFileList);
    writeBoolean(ini, "PromptEachReplace", o.promptEachReplace);
    writeBoolean(ini, "ShowFinalStats", o.showFinalStats);
}

// Every option takes its default when its key is missing, except the back-up
// mode, which keeps its current value when the file names no valid mode.
RunOptions readOptions(const IniFile &ini, RunOptions o)
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
    o.backupFolder = ini.value(OptionsSection, "BackupFolder", defaults.backupFolder);
    o.backupPrefix = ini.value(OptionsSection, "BackupPrefix", defaults.backupPrefix);
    o.backupSuffix = ini.value(OptionsSection, "BackupSuffix", defaults.backupSuffix);
    o.showFileList = readBoolean(ini, "ShowFileList", defaults.showFileList);
    o.promptEachReplace = readBoolean(ini, "PromptEachReplace", defaults.promptEachReplace);
    o.showFinalStats = readBoolean(ini, "ShowFinalStats", defaults.showFinalStats);
    return o;
}

// Version 2.1 stored file types without the encoding column: (mask,
// description) becomes (mask, `middle`, description).
void insertEncodingColumn(TextTable &table, const QByteArray &middle)
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

QByteArray versionRefusedMessage(const QByteArray &version)
{
    return "Version of the file being loaded: " + version + "\n"
        + "Version expected (or lower): " + SettingsFormatVersion + "\n\n"
        + "This file can't be loaded.\n\n" + "Get a newer version of Sarvonex\n"
        + "from the vendor's web to open this file.";
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

void WriteGridSection(IniFile &ini, const TextTable &table, const QByteArray &section)
{
    const int width = table.columns();
    const int height = table.DataRowCount();
    ini.setValue(section, "GridWidth", QByteArray::number(width));
    ini.setValue(section, "GridHeight", QByteArray::number(height));
    for (int r = 1; r <= height; ++r) {
        for (int c = 0; c < width; ++c)
            ini.setValue(section, valueKey(qint64(r - 1) * width + c + 1), table.cell(r, c));
    }
}

void ReadGridSection(const IniFile &ini, TextTable &table, const QByteArray &section)
{
    const int width = readInteger(ini, section, "GridWidth", 0);
    const qint64 reach = highestValueNumber(ini, section);
    const qint64 rowCount = qMin(gridRowCount(ini, section, reach), MaximumGridRows);

    // Every cell looked at either takes a key of the file, skips one of the
    // 1000 missing ones or is one of the table's own columns, so a huge
    // "GridWidth" costs no more than the keys the file holds.
    QList<TextTable::Row> rows(rowCount, TextTable::Row(table.columns()));
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
    table.resetRows(rows);
}

void WriteSettingsFile(const QString &path, const Job &job)
{
    IniFile ini;
    ini.setValue(VersionSection, "Version", RequiredSettingsVersion(job));
    WriteGridSection(ini, job.folders(), FoldersSection);
    WriteGridSection(ini, job.fileTypes(), FileTypesSection);
    WriteGridSection(ini, job.excludedFileTypes(), ExcludedFileTypesSection);
    WriteGridSection(ini, job.stringPairs(), StringsSection);
    writeOptions(ini, job.options());
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
    ReadGridSection(ini, job.folders(), FoldersSection);
    ReadGridSection(ini, job.fileTypes(), FileTypesSection);
    ReadGridSection(ini, job.excludedFileTypes(), ExcludedFileTypesSection);
    ReadGridSection(ini, job.stringPairs(), StringsSection);
    if (version == OldestVersion) {
        insertEncodingColumn(job.fileTypes(), "Auto");
        insertEncodingColumn(job.excludedFileTypes(), QByteArray());
    }
    job.setOptions(readOptions(ini, job.options()));

    host.addRecentFile(path);
    host.markNotModified();
    return true;
}

bool ReadSettingsFile(const QString &path, Job &job)
{
    SettingsFileHost host;
    return ReadSettingsFile(path, job, host);
}
