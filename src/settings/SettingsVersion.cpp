#include "settings/SettingsVersion.h"

#include "settings/AnsiText.h"
#include "settings/DisplayCharsets.h"
#include "settings/Job.h"
#include "settings/JobEntries.h"
#include "settings/PairOptions.h"

#include <algorithm>

namespace {

bool hasAnsiSpelling(const QString &text)
{
    return TextToAnsi(text).has_value();
}

bool tableHasAnsiSpelling(const TextTable &table)
{
    for (const TextTable::Row &row : table.entries())
        for (const QString &cell : row)
            if (!hasAnsiSpelling(cell))
                return false;
    return true;
}

// A spelling that reads back as another text (bytes kept apart that spell a
// character together) does not hold the text.
bool hasCharsetSpelling(const QString &text, const DisplayCharset &charset)
{
    const std::optional<QByteArray> spelled = EncodeInCharset(text, charset);
    return spelled && DecodeInCharset(*spelled, charset) == text;
}

bool pairsHaveCharsetSpelling(const TextTable &pairs)
{
    for (const TextTable::Row &row : pairs.entries()) {
        const StringPair pair = StringPair::fromRow(row);
        if (!hasCharsetSpelling(pair.find, pair.charset())
            || !hasCharsetSpelling(pair.replace, pair.charset()) || !hasAnsiSpelling(pair.options))
            return false;
    }
    return true;
}

bool holdsAnsiJob(const Job &job)
{
    const RunOptions &o = job.options();
    return tableHasAnsiSpelling(job.folders()) && tableHasAnsiSpelling(job.fileTypes())
        && tableHasAnsiSpelling(job.excludedFileTypes()) && pairsHaveCharsetSpelling(job.stringPairs())
        && hasAnsiSpelling(o.backupFolder) && hasAnsiSpelling(o.backupPrefix)
        && hasAnsiSpelling(o.backupSuffix);
}

bool holdsRegularExpressionPair(const Job &job)
{
    const QList<TextTable::Row> pairs = job.stringPairs().entries();
    return std::any_of(pairs.cbegin(), pairs.cend(), [](const TextTable::Row &row) {
        return PairOptionsFromText(StringPair::fromRow(row).options.toLatin1()).regularExpression;
    });
}

} // namespace

QByteArray RequiredSettingsVersion(const Job &job)
{
    return holdsAnsiJob(job) && !holdsRegularExpressionPair(job) ? AnsiSettingsVersion
                                                                 : UnicodeSettingsVersion;
}
