#include "engine/run/RegexPairCheck.h"

#include "engine/match/RegexPair.h"
#include "settings/CellText.h"
#include "settings/Job.h"
#include "settings/PairOptions.h"

#include <variant>

QString RegexPairProblem(const Job &job)
{
    const QList<TextTable::Row> pairs = job.stringPairs().entries();
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const PairOptions options = PairOptionsFromText(pairs[i].value(2).toLatin1());
        if (!options.regularExpression)
            continue;
        const QString find = DecodeCellText(pairs[i].value(0));
        const CompiledRegexPair compiled =
            SharedRegexPair(find, DecodeCellText(pairs[i].value(1)), options.caseSensitive);
        if (const auto *error = std::get_if<RegexPairError>(&compiled))
            return QStringLiteral("String pair %1 (\"%2\") cannot be used:\n%3\n\nNothing was "
                                  "replaced.")
                .arg(QString::number(i + 1), find, error->message);
    }
    return {};
}
