#include "widgets/HelpBrowser.h"

#include <QUrl>

HelpBrowser::HelpBrowser(QWidget *parent) : QTextBrowser(parent)
{
    setOpenExternalLinks(true);
    document()->setDocumentMargin(12);
}

HelpBrowser::~HelpBrowser() = default;

bool HelpBrowser::showTopic(const QString &helpPath, const QString &topic)
{
    if (!m_help || m_help->path() != helpPath) {
        auto help = std::make_unique<ChmFile>(helpPath);
        if (!help->isOpen())
            return false;
        m_help = std::move(help);
        clearHistory();
    }
    const QUrl topicUrl(topic);
    const bool known = !topic.isEmpty() && m_help->read(topicUrl.path()).has_value();
    // Topic paths are kept absolute inside the file, so that relative links
    // from pages in subfolders resolve as they do in the file.
    const QString page = known ? topicUrl.path() : m_help->defaultTopic();
    QUrl url(page.startsWith(QLatin1Char('/')) ? page : QLatin1Char('/') + page);
    if (known)
        url.setFragment(topicUrl.fragment());
    setSource(url);
    return true;
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    if (m_help && name.scheme().isEmpty()) {
        if (const auto content = m_help->read(name.path()))
            return *content;
    }
    return QTextBrowser::loadResource(type, name);
}
