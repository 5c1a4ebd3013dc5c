#include "services/Preferences.h"

#include "engine/text/CodePage.h"
#include "services/ProgramInfo.h"

#include <QSettings>

namespace {

constexpr int MessageKeyLength = 48;

// One group of the preference store, open for the life of the object.
class PreferenceGroup : public QSettings
{
public:
    explicit PreferenceGroup(const char *group)
        : QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Plimwick"),
                    ProductKey())
    {
        beginGroup(QLatin1String(group));
    }
};

QString valueName(const QString &name)
{
    return QString::fromLatin1(ApplicationTitle).remove(QLatin1Char(' ')) + QLatin1Char('.') + name;
}

} // namespace

void WritePreference(const QString &name, const QString &text)
{
    PreferenceGroup("Default").setValue(valueName(name), text);
}

QString ReadPreference(const QString &name)
{
    return PreferenceGroup("Default").value(valueName(name)).toString();
}

void SaveListToPreferences(const QString &listName, const QStringList &list)
{
    PreferenceGroup store("Default");
    store.setValue(valueName(listName + ".ItemsCount"), QString::number(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i)
        store.setValue(valueName(listName + ".Item" + QString::number(i)), list[i]);
}

QStringList LoadListFromPreferences(const QString &listName)
{
    PreferenceGroup store("Default");
    const int count = store.value(valueName(listName + ".ItemsCount")).toString().toInt();
    // A count larger than the values stored can only name missing (empty)
    // items; it is not worth a long loop.
    const qsizetype stored = qMin<qsizetype>(count, store.childKeys().size());
    QStringList list;
    for (qsizetype i = 0; i < stored; ++i)
        list.append(store.value(valueName(listName + ".Item" + QString::number(i))).toString());
    return list;
}

QString MessageKey(const QString &message)
{
    const QByteArray firstLine = CodePage::fromQString(message.section(QLatin1Char('\n'), 0, 0));
    QByteArray key;
    for (char c : firstLine) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 33 && code <= 175 && key.size() < MessageKeyLength)
            key += c;
    }
    return CodePage::toQString(key).toLower();
}

QString MessageMarkName(const QString &message, const QString &ownerName)
{
    const QString owner = ownerName.isEmpty() ? QStringLiteral("NoForm") : ownerName;
    return valueName(owner + QLatin1Char(':') + MessageKey(message));
}

bool HasMessageMark(const QString &message, const QString &ownerName)
{
    return PreferenceGroup("Common").contains(MessageMarkName(message, ownerName));
}

bool WriteMessageMark(const QString &message, const QString &ownerName)
{
    PreferenceGroup store("Common");
    store.setValue(MessageMarkName(message, ownerName), QStringLiteral(""));
    store.sync();
    return store.status() == QSettings::NoError;
}
