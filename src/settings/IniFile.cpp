#include "settings/IniFile.h"

#include "settings/SettingsFileError.h"

#include <QFile>
#include <QSaveFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The blanks QByteArray::trimmed() drops from the ends of names and values.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

bool isQuote(char c)
{
    return c == '"' || c == '\'';
}

QByteArray readValue(const QByteArray &raw)
{
    const QByteArray value = raw.trimmed();
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

QByteArray writtenValue(const QByteArray &value)
{
    if (value.isEmpty())
        return value;
    const bool loses = isBlank(value.front()) || isBlank(value.back()) || isQuote(value.front())
        || isQuote(value.back());
    return loses ? '"' + value + '"' : value;
}

QByteArray folded(const QByteArray &name)
{
    return name.toLower();
}

} // namespace

IniFile IniFile::fromBytes(const QByteArray &text)
{
    IniFile ini;
    Section *current = nullptr;
    QByteArray body = text;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3); // a byte-order mark some editors add
    for (const QByteArray &rawLine : body.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            const QByteArray name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            current = &ini.sectionForWriting(name);
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!current || equals <= 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        if (!key.isEmpty())
            addEntry(*current, key, readValue(line.mid(equals + 1)));
    }
    return ini;
}

IniFile IniFile::load(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return IniFile();
    // Non-blocking, so that a named pipe given as the file cannot hang the
    // program; only a regular file of sensible size is read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw SettingsFileError(QStringLiteral("Unable to read %1").arg(path));
    const auto damaged = [&](const char *why) {
        return SettingsFileError(
            QStringLiteral("The settings file %1 is damaged: %2.\nThe file was not loaded.")
                .arg(path, QLatin1String(why)));
    };
    const char *const tooLarge = "it is larger than 16 MiB";
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        throw SettingsFileError(QStringLiteral("Unable to read %1").arg(path));
    }
    if (!regular || info.st_size > MaximumFileSize) {
        ::close(fd);
        throw damaged(regular ? tooLarge : "it is not a regular file");
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw SettingsFileError(QStringLiteral("Unable to read %1").arg(path));
    }
    // It may grow while it is read.
    const QByteArray text = file.read(MaximumFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw SettingsFileError(QStringLiteral("Unable to read %1").arg(path));
    if (text.size() > MaximumFileSize)
        throw damaged(tooLarge);
    return fromBytes(text);
}

bool IniFile::contains(const QByteArray &section, const QByteArray &key) const
{
    const Section *s = findSection(section);
    return s && s->entryByKey.contains(folded(key));
}

QByteArray IniFile::value(const QByteArray &section, const QByteArray &key,
                          const QByteArray &defaultValue) const
{
    const Section *s = findSection(section);
    if (!s)
        return defaultValue;
    const auto found = s->entryByKey.constFind(folded(key));
    return found == s->entryByKey.cend() ? defaultValue : s->entries[*found].value;
}

void IniFile::setValue(const QByteArray &section, const QByteArray &key, const QByteArray &value)
{
    Section &s = sectionForWriting(section);
    const auto found = s.entryByKey.constFind(folded(key));
    if (found == s.entryByKey.cend())
        addEntry(s, key, value);
    else
        s.entries[*found].value = value;
}

QList<QByteArray> IniFile::keys(const QByteArray &section) const
{
    QList<QByteArray> result;
    if (const Section *s = findSection(section)) {
        for (const Entry &e : s->entries)
            result.append(e.key);
    }
    return result;
}

QByteArray IniFile::toBytes() const
{
    QByteArray text;
    for (const Section &s : m_sections) {
        text += '[' + s.name + "]\r\n";
        for (const Entry &e : s.entries)
            text += e.key + '=' + writtenValue(e.value) + "\r\n";
    }
    return text;
}

void IniFile::save(const QString &path) const
{
    const QByteArray text = toBytes();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw SettingsFileError(QStringLiteral("Unable to write to %1").arg(path));
}

const IniFile::Section *IniFile::findSection(const QByteArray &name) const
{
    const auto found = m_sectionByName.constFind(folded(name));
    return found == m_sectionByName.cend() ? nullptr : &m_sections[*found];
}

IniFile::Section &IniFile::sectionForWriting(const QByteArray &name)
{
    const auto found = m_sectionByName.constFind(folded(name));
    if (found != m_sectionByName.cend())
        return m_sections[*found];
    m_sectionByName.insert(folded(name), m_sections.size());
    m_sections.append(Section{name, {}, {}});
    return m_sections.back();
}

void IniFile::addEntry(Section &section, const QByteArray &key, const QByteArray &value)
{
    if (section.entryByKey.contains(folded(key)))
        return;
    section.entryByKey.insert(folded(key), section.entries.size());
    section.entries.append(Entry{key, value});
}
