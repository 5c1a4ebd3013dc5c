#include "settings/SettingsVersion.h"

#include "settings/Job.h"
#include "settings/PairOptions.h"

#include <algorithm>

namespace {

constexpr int StringPairOptionsColumn = 2;

bool holdsRegularExpressionPair(const Job &job)
{
    const QList<TextTable::Row> pairs = job.stringPairs().entries();
    return std::any_of(pairs.cbegin(), pairs.cend(), [](const TextTable::Row &pair) {
        return PairOptionsFromText(pair.value(StringPairOptionsColumn)).regularExpression;
    });
}

} // namespace

QByteArray RequiredSettingsVersion(const Job &job)
{
    if (holdsRegularExpressionPair(job))
        return "2.3";
    return "2.2";
}
