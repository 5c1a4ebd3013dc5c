#include "engine/run/ApplyStringPair.h"

#include "engine/match/PairMatcher.h"
#include "engine/match/PreparedPair.h"
#include "engine/text/CodePage.h"
#include "engine/text/Encodings.h"
#include "engine/text/TextHelpers.h"
#include "settings/CellText.h"

#include <QFileInfo>
#include <chrono>
#include <cstring>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto ProgressInterval = std::chrono::milliseconds(500);
// How far the matcher scans between looks at the clock and the break flag.
constexpr qint64 ScanChunk = 64 * 1024;
constexpr int WizardReplaceStage = 9;
constexpr qsizetype MaxOptionsTextLength = 255;

// One string pair applied to one file: the scan's companion that copies the
// text into the destination, asks about matches and reports progress.
class StringPairPass
{
public:
    StringPairPass(ByteBuffer &source, const PreparedPair &pair, const QString &path,
                   FileCounters &counters, int encoding, int bomLength, RunContext &run,
                   ReplacementSink *sink)
        : m_source(source),
          m_pair(pair),
          m_path(path),
          m_counters(counters),
          m_encoding(encoding),
          m_bomLength(bomLength),
          m_run(run),
          m_sink(sink),
          m_matcher(pair, source.data(), source.length(), encoding, bomLength)
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
    const PreparedPair &m_pair;
    const QString &m_path;
    FileCounters &m_counters;
    const int m_encoding;
    const int m_bomLength;
    RunContext &m_run;
    ReplacementSink *m_sink;
    PairMatcher m_matcher;

    Clock::time_point m_lastReport = Clock::now() - ProgressInterval;
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
        const ScanState &s = m_matcher.state();
        reportProgress(s.pos);
        const PairMatcher::Stop stop = m_matcher.scan(s.pos + ScanChunk);
        if (stop == PairMatcher::Stop::End)
            break;
        if (stop == PairMatcher::Stop::Match) {
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
    if (length < 100)
        return;
    const Clock::time_point now = Clock::now();
    if (now - m_lastReport < ProgressInterval)
        return;
    const auto ansi = [](const QByteArray &text) { return CodePage::toQString(text); };
    m_run.host.setStatus(
        QStringLiteral("File: ") + ShortenText(QFileInfo(m_path).fileName(), 30)
        + QStringLiteral("[") + QString::number(pos / (length / 100)) + QStringLiteral("%], ")
        + QStringLiteral("(") + ansi(CodingName(m_encoding)) + QStringLiteral("), ")
        + QStringLiteral("Replacements: ") + QString::number(m_counters.replacements)
        + QStringLiteral(", \"") + ShortenText(ansi(EncodeCellText(m_pair.shownPattern)), 20)
        + QStringLiteral("\" -> \"")
        + ShortenText(ansi(EncodeCellText(m_pair.replacementText)), 20) + QStringLiteral("\""));
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
        const ScanState &s = m_matcher.state();
        const MatchContext context =
            BuildMatchContext(m_source.data(), m_source.length(), m_encoding, m_bomLength,
                              s.matchStart, s.matchEnd);
        ReplaceConfirmation match;
        match.codingName = CodingName(m_encoding);
        match.codingReport = m_run.state.CodingReport;
        match.displayCharset = m_pair.options.displayCharset;
        match.equidistantFont = m_run.job.options().preferEquidistantFont;
        match.contextBefore = context.before;
        match.foundText = context.found;
        match.contextAfter = context.after;
        match.replacement = m_pair.replacementText;
        match.findText = m_pair.findText;
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
    const ScanState &s = m_matcher.state();
    const QByteArray &bytes = m_pair.replacementBytes;
    const qint64 kept = s.matchStart - m_copied;
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
    if (m_sink)
        m_sink->replaced(s.matchStart, s.pos, bytes.size());
    m_copied = s.pos;
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
        m_source = std::move(m_destination);
    }
    if (m_sink)
        m_sink->passEnded();
    m_run.host.setStatus(QString());
}

} // namespace

bool ApplyStringPair(ByteBuffer &buffer, const QByteArray &findText,
                     const QByteArray &replacementText, const QByteArray &optionsText,
                     const QString &path, FileCounters &counters, int encoding, int bomLength,
                     RunContext &run, ReplacementSink *sink)
{
    const PreparedPair pair = PreparePair(findText, replacementText, optionsText, encoding);
    // An empty find text (only a hand-edited settings file holds one) would
    // make every character a match of its own: it matches nothing instead.
    if (pair.pattern.empty())
        return false;
    StringPairPass pass(buffer, pair, path, counters, encoding, bomLength, run, sink);
    return pass.run();
}

bool ApplyStringPairs(ByteBuffer &buffer, const QList<TextTable::Row> &pairs, const QString &path,
                      FileCounters &counters, int encoding, int bomLength, RunContext &run,
                      ReplacementSink *sink)
{
    bool changed = false;
    for (const TextTable::Row &pair : pairs) {
        if (ApplyStringPair(buffer, pair.value(0), pair.value(1),
                            pair.value(2).left(MaxOptionsTextLength), path, counters, encoding,
                            bomLength, run, sink))
            changed = true;
        if (counters.outOfMemory) {
            counters.occurrences = 0;
            return false;
        }
        run.host.pump();
        if (run.state.breakRequested())
            return false;
    }
    return changed;
}
