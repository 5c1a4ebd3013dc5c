#include "engine/run/ApplyStringPair.h"

#include "engine/match/BytePattern.h"
#include "engine/match/PreparedPair.h"
#include "engine/match/RegexPair.h"
#include "engine/run/PassMatcher.h"
#include "engine/text/Encodings.h"
#include "engine/text/TextHelpers.h"
#include "settings/CellText.h"
#include "settings/DisplayCharsets.h"
#include "settings/PairOptions.h"

#include <QFileInfo>
#include <chrono>
#include <cstring>
#include <optional>
#include <variant>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto ProgressInterval = std::chrono::milliseconds(500);
// How far the matcher scans between looks at the clock and the break flag.
constexpr qint64 ScanChunk = 64 * 1024;
constexpr int WizardReplaceStage = 9;
constexpr qsizetype MaxOptionsTextLength = 255;

// The pair's texts as a pass shows them.
struct PassTexts {
    QString findText;        // as entered
    QString shownPattern;    // the pattern the status bar names
    QString replacementText; // as entered
    QByteArray displayCharset;
};

// One string pair applied to one file: the scan's companion that copies the
// text into the destination, asks about matches and reports progress.
class StringPairPass
{
public:
    StringPairPass(ByteBuffer &source, PassMatcher &matcher, const PassTexts &texts,
                   const QString &path, FileCounters &counters, int encoding, int bomLength,
                   RunContext &run, PassRecording recording)
        : m_source(source),
          m_texts(texts),
          m_path(path),
          m_counters(counters),
          m_encoding(encoding),
          m_bomLength(bomLength),
          m_run(run),
          m_recording(recording),
          m_matcher(matcher)
    {
    }

    bool run();

private:
    bool goesOn() const
    {
        return !m_run.state.breakRequested() && !m_stopThisFile && !m_counters.outOfMemory;
    }
    void reportProgress(qint64 pos);
    bool confirm();
    bool asksAboutMatch() const;
    bool makeDestination();
    void replace();
    bool enlarge(qint64 needed, qint64 capacity);
    void finish();

    ByteBuffer &m_source;
    // Made at the first replacement: a pass that replaces nothing leaves the
    // source as it is and needs no memory.
    ByteBuffer m_destination;
    const PassTexts &m_texts;
    const QString &m_path;
    FileCounters &m_counters;
    const int m_encoding;
    const int m_bomLength;
    RunContext &m_run;
    const PassRecording m_recording;
    PassMatcher &m_matcher;

    Clock::time_point m_lastReport = Clock::now() - ProgressInterval;
    qint64 m_nextProgressCheck = 0;
    qint64 m_copied = 0;
    qint64 m_destinationLength = 0;
    bool m_askInThisFile = true;
    bool m_stopThisFile = false;
    std::optional<ReplaceAnswer> m_lastAnswer;
    bool m_changed = false;
};

bool StringPairPass::run()
{
    m_run.host.setStatus(QString());
    while (goesOn()) {
        reportProgress(m_matcher.position());
        const PassMatcher::Stop stop = m_matcher.scan(m_matcher.position() + ScanChunk);
        if (stop == PassMatcher::Stop::End)
            break;
        if (stop == PassMatcher::Stop::LimitReached) {
            m_counters.limitReached = true;
            break;
        }
        if (stop == PassMatcher::Stop::Match) {
            ++m_counters.occurrences;
            if (confirm())
                replace();
        }
    }
    finish();
    return m_changed;
}

void StringPairPass::reportProgress(qint64 pos)
{
    const qint64 length = m_source.length();
    // The clock is looked at once per chunk scanned, not at every match.
    if (length < 100 || pos < m_nextProgressCheck)
        return;
    m_nextProgressCheck = pos + ScanChunk;
    const Clock::time_point now = Clock::now();
    if (now - m_lastReport < ProgressInterval)
        return;
    m_run.host.setStatus(
        QStringLiteral("File: ") + ShortenText(QFileInfo(m_path).fileName(), 30)
        + QStringLiteral("[") + QString::number(pos / (length / 100)) + QStringLiteral("%], ")
        + QStringLiteral("(") + QString::fromLatin1(CodingName(m_encoding)) + QStringLiteral("), ")
        + QStringLiteral("Replacements: ") + QString::number(m_counters.replacements)
        + QStringLiteral(", \"") + ShortenText(EncodeCellText(m_texts.shownPattern), 20)
        + QStringLiteral("\" -> \"")
        + ShortenText(EncodeCellText(m_texts.replacementText), 20) + QStringLiteral("\""));
    m_run.host.pump();
    m_lastReport = Clock::now();
}

bool StringPairPass::asksAboutMatch() const
{
    return m_run.state.PromptEachReplacement && m_askInThisFile && !m_run.state.unattended;
}

// Shows the match when it is to be confirmed and acts on the answer; true
// when the match is to be replaced.
bool StringPairPass::confirm()
{
    if (asksAboutMatch()) {
        const MatchContext context =
            BuildMatchContext(m_source.data(), m_source.length(), m_encoding, m_bomLength,
                              m_matcher.matchStart(), m_matcher.matchEnd() - 1,
                              DisplayCharsetOrDefault(m_texts.displayCharset));
        ReplaceConfirmation match;
        match.codingName = CodingName(m_encoding);
        match.codingReport = m_run.state.CodingReport;
        match.displayCharset = m_texts.displayCharset;
        match.equidistantFont = m_run.job.options().preferEquidistantFont;
        match.contextBefore = context.before;
        match.foundText = context.found;
        match.contextAfter = context.after;
        match.replacement = m_matcher.shownReplacement();
        match.findText = m_texts.findText;
        match.path = m_path;
        m_run.host.wizardStage(WizardReplaceStage);
        const ReplaceAnswer answer = m_run.host.confirmReplace(match);
        m_run.host.pump();
        m_lastAnswer = answer;
        switch (answer) {
        case ReplaceAnswer::Yes:
        case ReplaceAnswer::No: break;
        case ReplaceAnswer::YesToAllInFile: m_askInThisFile = false; break;
        case ReplaceAnswer::NoToAllInFile: m_stopThisFile = true; break;
        case ReplaceAnswer::YesToAllFiles: m_run.state.PromptEachReplacement = false; break;
        case ReplaceAnswer::Cancel: m_run.state.requestBreak(); break;
        }
    }
    if (m_run.state.unattended)
        return true;
    const bool stillAsking = m_run.state.PromptEachReplacement && m_askInThisFile
        && m_lastAnswer != ReplaceAnswer::Yes;
    return !stillAsking && !m_run.state.breakRequested() && !m_stopThisFile;
}

// Makes room for `needed` bytes in the destination, `capacity` bytes if it
// can; false when not even `needed` can be had.
bool StringPairPass::enlarge(qint64 needed, qint64 capacity)
{
    m_run.host.setStatus(QStringLiteral("Enlarging the destination buffer..."));
    m_run.host.pump();
    return m_destination.resize(capacity) || (capacity > needed && m_destination.resize(needed));
}

bool StringPairPass::makeDestination()
{
    if (!m_destination.isNull())
        return true;
    if (m_destination.allocate(qMax<qint64>(m_source.capacity(), 1)))
        return true;
    m_counters.outOfMemory = true;
    return false;
}

void StringPairPass::replace()
{
    if (!makeDestination())
        return;
    const qint64 matchStart = m_matcher.matchStart();
    const qint64 matchEnd = m_matcher.matchEnd();
    const QByteArray bytes = m_matcher.replacement();
    const qint64 kept = matchStart - m_copied;
    const qint64 needed = m_destinationLength + kept + bytes.size();
    if (needed > m_destination.capacity()) {
        // Grow by a fifth more than needed, so that a long series of
        // lengthening replacements enlarges the buffer rarely.
        const qint64 grown = qMax(needed, qMin(needed * 12 / 10, ByteBuffer::MaxSize));
        if (!enlarge(needed, grown)) {
            m_counters.outOfMemory = true;
            return;
        }
    }
    char *out = m_destination.data() + m_destinationLength;
    std::memcpy(out, m_source.data() + m_copied, size_t(kept));
    std::memcpy(out + kept, bytes.constData(), size_t(bytes.size()));
    m_destinationLength = needed;
    m_changed = true;
    ++m_counters.replacements;
    if (m_recording.sink)
        m_recording.sink->replaced(matchStart, matchEnd, bytes.size());
    m_copied = matchEnd;
}

void StringPairPass::finish()
{
    if (!m_destination.isNull()) {
        const qint64 rest = m_source.length() - m_copied;
        const qint64 needed = m_destinationLength + rest;
        if (needed > m_destination.capacity() && !enlarge(needed, needed))
            m_counters.outOfMemory = true;
        if (!m_counters.outOfMemory) {
            std::memcpy(m_destination.data() + m_destinationLength, m_source.data() + m_copied,
                        size_t(rest));
            m_destinationLength = needed;
        }
        m_destination.setLength(m_destinationLength);
        if (m_recording.original && m_recording.original->isNull())
            *m_recording.original = std::move(m_source);
        m_source = std::move(m_destination);
    }
    if (m_recording.sink)
        m_recording.sink->passEnded();
    m_run.host.setStatus(QString());
}

// White-space modes and wildcards do not apply to a regular expression. A
// pair that cannot be compiled (a run refuses it before it starts) is one
// this file cannot be searched for.
bool applyRegexPair(ByteBuffer &buffer, const QString &findCell, const QString &replacementCell,
                    const PairOptions &options, const QString &path, FileCounters &counters,
                    int encoding, int bomLength, RunContext &run, PassRecording recording)
{
    const QString find = DecodeCellText(findCell);
    const QString replacement = DecodeCellText(replacementCell);
    if (find.isEmpty())
        return false;
    const CompiledRegexPair compiled = SharedRegexPair(find, replacement, options.caseSensitive);
    const auto *pair = std::get_if<std::shared_ptr<const RegexPair>>(&compiled);
    if (!pair) {
        counters.limitReached = true;
        return false;
    }
    const PassTexts texts{find, find, replacement, options.displayCharset};
    RegexPassMatcher matcher(**pair, buffer.data(), buffer.length(), encoding, bomLength,
                             options.wholeWords);
    StringPairPass pass(buffer, matcher, texts, path, counters, encoding, bomLength, run,
                        recording);
    return pass.run();
}

} // namespace

bool ApplyStringPair(ByteBuffer &buffer, const QString &findText,
                     const QString &replacementText, const QString &optionsText,
                     const QString &path, FileCounters &counters, int encoding, int bomLength,
                     RunContext &run, PassRecording recording)
{
    const PairOptions options = PairOptionsFromText(optionsText.toLatin1());
    if (options.regularExpression)
        return applyRegexPair(buffer, findText, replacementText, options, path, counters,
                              encoding, bomLength, run, recording);
    const PreparedPair pair = PreparePair(findText, replacementText, optionsText, encoding);
    // An empty find text (only a hand-edited settings file holds one) would
    // make every character a match of its own: it matches nothing instead.
    if (pair.pattern.empty())
        return false;
    const PassTexts texts{pair.findText, pair.shownPattern, pair.replacementText,
                          pair.options.displayCharset};
    const auto runPass = [&](PassMatcher &matcher) {
        return StringPairPass(buffer, matcher, texts, path, counters, encoding, bomLength, run,
                              recording)
            .run();
    };
    if (std::optional<QByteArray> bytes =
            PlainBytePattern(pair, buffer.data(), buffer.length(), encoding, bomLength)) {
        BytePassMatcher matcher(pair, std::move(*bytes), buffer.data(), buffer.length(),
                                bomLength);
        return runPass(matcher);
    }
    LiteralPassMatcher matcher(pair, buffer.data(), buffer.length(), encoding, bomLength);
    return runPass(matcher);
}

bool ApplyStringPairs(ByteBuffer &buffer, const QList<TextTable::Row> &pairs, const QString &path,
                      FileCounters &counters, int encoding, int bomLength, RunContext &run,
                      PassRecording recording)
{
    bool changed = false;
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const TextTable::Row &pair = pairs[i];
        if (ApplyStringPair(buffer, pair.value(0), pair.value(1),
                            pair.value(2).left(MaxOptionsTextLength), path, counters, encoding,
                            bomLength, run, recording))
            changed = true;
        if (counters.outOfMemory) {
            counters.occurrences = 0;
            return false;
        }
        if (counters.limitReached) {
            counters.limitReachedPair = int(i) + 1;
            return false;
        }
        run.host.pump();
        if (run.state.breakRequested())
            return false;
    }
    return changed;
}
