#include "app/replace/ReplaceArguments.h"

#include "engine/files/PathHelpers.h"
#include "engine/match/RegexPair.h"

#include <QDir>
#include <functional>

namespace {

const QStringList CodingNames = {"auto", "ansi", "utf-8", "utf-16le", "utf-16be"};
constexpr int MaxThreads = 256;

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

class Parser
{
public:
    ParsedReplace parse(const QStringList &arguments);

private:
    using Handler = std::function<QString(const QString &value)>;
    struct Option {
        QString longName;
        QChar shortName;
        bool takesValue;
        Handler handle;
    };

    QList<Option> options();
    QString takeLong(const QString &argument, const QStringList &arguments, int &i);
    QString takeShort(const QString &argument, const QStringList &arguments, int &i);
    QString checked();

    ReplaceRequest m_request;
    QStringList m_positional;
    QList<Option> m_options = options();
};

QString setChoice(const QString &option, const QString &value,
                  const QList<std::pair<QString, int>> &choices, int &target)
{
    QStringList names;
    for (const auto &[name, number] : choices) {
        if (value.compare(name, Qt::CaseInsensitive) == 0) {
            target = number;
            return QString();
        }
        names.append(name);
    }
    const QString last = names.takeLast();
    return option + QStringLiteral(" takes ") + names.join(QStringLiteral(", "))
        + QStringLiteral(" or ") + last + QStringLiteral(", not ") + quoted(value);
}

QString addMask(const QString &option, const QString &mask, QStringList &masks)
{
    if (mask.isEmpty())
        return option + QStringLiteral(" needs a mask");
    if (mask.contains(u'/'))
        return option + u' ' + quoted(mask)
            + QStringLiteral(": a mask matches file names, which hold no \"/\"");
    masks.append(mask);
    return QString();
}

QString setBackup(const QString &value, ReplaceRequest &request)
{
    const QString mode = value.section(u'=', 0, 0);
    const bool named = value.contains(u'=');
    const QString name = value.section(u'=', 1);
    if (mode == QStringLiteral("none") && !named) {
        request.backupMode = BackupNone;
    } else if (mode == QStringLiteral("folder")) {
        request.backupMode = BackupToSubfolder;
        request.backupName = named ? name : QStringLiteral("_BACKUP_");
        if (!IsValidFolderName(request.backupName))
            return QStringLiteral("--backup folder=") + name
                + QStringLiteral(": not a folder name");
    } else if (mode == QStringLiteral("rename")) {
        request.backupMode = BackupRename;
        request.backupName = named ? name : QStringLiteral("~");
        // An empty prefix would name the copy after the file itself.
        if (request.backupName.isEmpty() || !IsPlainNamePart(request.backupName))
            return QStringLiteral("--backup rename=") + name
                + QStringLiteral(": the prefix must be a plain, non-empty part of a file name");
    } else {
        return QStringLiteral("--backup takes none, folder[=NAME] or rename[=PREFIX], not ")
            + quoted(value);
    }
    return QString();
}

QList<Parser::Option> Parser::options()
{
    ReplaceRequest &r = m_request;
    const auto flag = [](bool &target) {
        return [&target](const QString &) {
            target = true;
            return QString();
        };
    };
    return {
        {"glob", u'g', true, [&r](const QString &v) { return addMask("--glob", v, r.globs); }},
        {"exclude", u'x', true,
         [&r](const QString &v) { return addMask("--exclude", v, r.excludes); }},
        {"depth", QChar(), true,
         [&r](const QString &v) {
             return setChoice("--depth", v, {{"0", 0}, {"1", 1}, {"all", FolderEntry::Unlimited}},
                              r.depth);
         }},
        {"ignore-case", u'i', false, flag(r.ignoreCase)},
        {"word", u'w', false, flag(r.wholeWords)},
        {"regex", u'e', false, flag(r.regex)},
        {"encoding", QChar(), true,
         [&r](const QString &v) {
             QList<std::pair<QString, int>> choices;
             for (int coding = 0; coding < CodingNames.size(); ++coding)
                 choices.append({CodingNames[coding], coding});
             return setChoice("--encoding", v, choices, r.encoding);
         }},
        {"backup", QChar(), true, [&r](const QString &v) { return setBackup(v, r); }},
        {"binary", QChar(), true,
         [&r](const QString &v) {
             return setChoice("--binary", v, {{"skip", BinarySkip}, {"text", BinaryTreatAsText}},
                              r.binaryFiles);
         }},
        {"read-only", QChar(), true,
         [&r](const QString &v) {
             return setChoice("--read-only", v,
                              {{"skip", ReadOnlySkip}, {"modify", ReadOnlyModifyAnyway}},
                              r.readOnlyFiles);
         }},
        {"preview", QChar(), false, flag(r.preview)},
        {"json", QChar(), false, flag(r.json)},
        {"save-job", QChar(), true,
         [&r](const QString &v) {
             if (v.isEmpty())
                 return QStringLiteral("--save-job needs a file name");
             r.saveJob = v;
             return QString();
         }},
        {"threads", u'j', true,
         [&r](const QString &v) {
             bool ok = false;
             const int threads = v.toInt(&ok);
             if (!ok || threads < 1 || threads > MaxThreads)
                 return QStringLiteral("--threads takes a number from 1 to %1, not ")
                            .arg(MaxThreads)
                     + quoted(v);
             r.threads = threads;
             return QString();
         }},
        {"help", u'h', false, flag(r.help)},
    };
}

// "--name", "--name=value" or "--name value".
QString Parser::takeLong(const QString &argument, const QStringList &arguments, int &i)
{
    const QString name = argument.mid(2).section(u'=', 0, 0);
    const bool inline_ = argument.contains(u'=');
    const QString value = argument.section(u'=', 1);
    if (name == QStringLiteral("color")) {
        // As GNU tools have it: "--color" alone is "--color=always".
        m_request.color = inline_ ? value : QStringLiteral("always");
        int unused = 0;
        return setChoice("--color", m_request.color, {{"auto", 0}, {"always", 1}, {"never", 2}},
                         unused);
    }
    for (const Option &option : std::as_const(m_options)) {
        if (option.longName != name)
            continue;
        if (!option.takesValue)
            return inline_ ? QStringLiteral("--") + name + QStringLiteral(" takes no value")
                           : option.handle(QString());
        if (inline_)
            return option.handle(value);
        if (++i >= arguments.size())
            return QStringLiteral("--") + name + QStringLiteral(" needs a value");
        return option.handle(arguments[i]);
    }
    return QStringLiteral("unknown option ") + quoted(argument);
}

// "-iw", "-j4", "-j 4", "-ig*.c".
QString Parser::takeShort(const QString &argument, const QStringList &arguments, int &i)
{
    for (int at = 1; at < argument.size(); ++at) {
        const auto option
            = std::find_if(m_options.cbegin(), m_options.cend(),
                           [&](const Option &o) { return o.shortName == argument[at]; });
        if (option == m_options.cend())
            return QStringLiteral("unknown option ") + quoted(QStringLiteral("-") + argument[at]);
        if (!option->takesValue) {
            if (const QString error = option->handle(QString()); !error.isEmpty())
                return error;
            continue;
        }
        if (at + 1 < argument.size())
            return option->handle(argument.mid(at + 1));
        if (++i >= arguments.size())
            return QStringLiteral("-") + argument[at] + QStringLiteral(" needs a value");
        return option->handle(arguments[i]);
    }
    return QString();
}

// What the options and texts mean together.
QString Parser::checked()
{
    ReplaceRequest &r = m_request;
    if (m_positional.size() < 2)
        return QStringLiteral("FIND and REPLACE are required");
    r.find = m_positional[0];
    r.replace = m_positional[1];
    if (r.find.isEmpty())
        return QStringLiteral("FIND is empty");
    const QString current = QDir::currentPath();
    for (const QString &path : m_positional.mid(2)) {
        if (path.isEmpty())
            return QStringLiteral("a PATH is empty");
        r.paths.append(QDir::cleanPath(QDir(current).absoluteFilePath(path)));
    }
    if (r.paths.isEmpty())
        r.paths.append(current);
    if (r.globs.isEmpty())
        r.globs.append(QStringLiteral("*"));

    if (r.regex) {
        const CompiledRegexPair compiled = CompileRegexPair(r.find, r.replace, !r.ignoreCase);
        if (const auto *error = std::get_if<RegexPairError>(&compiled))
            return QStringLiteral("-e: ") + error->message;
    }
    if (r.json && r.preview)
        return QStringLiteral("--json and --preview do not go together: the preview prints diffs");
    if (!r.saveJob.isEmpty() && (r.json || r.preview))
        return QStringLiteral("--save-job runs nothing, so it takes neither --json nor --preview");
    if (r.color != QStringLiteral("auto") && !r.preview)
        return QStringLiteral("--color goes with --preview");

    return QString();
}

ParsedReplace Parser::parse(const QStringList &arguments)
{
    bool optionsEnded = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        QString error;
        if (optionsEnded || !argument.startsWith(u'-') || argument == QStringLiteral("-"))
            m_positional.append(argument);
        else if (argument == QStringLiteral("--"))
            optionsEnded = true;
        else if (argument.startsWith(QStringLiteral("--")))
            error = takeLong(argument, arguments, i);
        else
            error = takeShort(argument, arguments, i);
        if (!error.isEmpty())
            return {std::nullopt, error};
    }
    if (m_request.help)
        return {m_request, QString()};
    if (const QString error = checked(); !error.isEmpty())
        return {std::nullopt, error};
    return {m_request, QString()};
}

} // namespace

ParsedReplace ParseReplaceArguments(const QStringList &arguments)
{
    return Parser().parse(arguments);
}

QString CodingOptionName(int coding)
{
    return CodingNames.value(coding);
}
