#include "widgets/ChmFile.h"

#include <QFile>
#include <QtEndian>
#include <chm_lib.h>

namespace {

// Record of the internal #SYSTEM file that holds the default topic.
constexpr quint16 SystemDefaultTopic = 2;

} // namespace

void ChmFile::Closer::operator()(chmFile *file) const
{
    chm_close(file);
}

ChmFile::ChmFile(const QString &path)
    : m_path(path), m_file(chm_open(QFile::encodeName(path).constData()))
{
}

ChmFile::~ChmFile() = default;

std::optional<QByteArray> ChmFile::read(const QString &name) const
{
    if (!m_file)
        return std::nullopt;
    const QString objectPath = name.startsWith(QLatin1Char('/')) ? name : QLatin1Char('/') + name;
    chmUnitInfo unit{};
    if (chm_resolve_object(m_file.get(), objectPath.toUtf8().constData(), &unit)
        != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    QByteArray content(static_cast<qsizetype>(unit.length), Qt::Uninitialized);
    const LONGINT64 got = chm_retrieve_object(m_file.get(), &unit,
                                              reinterpret_cast<unsigned char *>(content.data()),
                                              0, static_cast<LONGINT64>(unit.length));
    if (got != static_cast<LONGINT64>(unit.length))
        return std::nullopt;
    return content;
}

QString ChmFile::defaultTopic() const
{
    // #SYSTEM: a 4-byte version, then records of a 2-byte code, a 2-byte
    // length and that many bytes, all little endian; texts end in a zero.
    const QByteArray system = read(QStringLiteral("#SYSTEM")).value_or(QByteArray());
    for (qsizetype at = 4; at + 4 <= system.size();) {
        const auto code = qFromLittleEndian<quint16>(system.constData() + at);
        const auto length = qFromLittleEndian<quint16>(system.constData() + at + 2);
        at += 4;
        if (at + length > system.size())
            break;
        if (code == SystemDefaultTopic) {
            const char *topic = system.constData() + at;
            const QString text = QString::fromUtf8(topic, qstrnlen(topic, length));
            if (!text.isEmpty())
                return text;
        }
        at += length;
    }
    return QStringLiteral("index.htm");
}
