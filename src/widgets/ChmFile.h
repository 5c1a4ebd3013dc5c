#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

struct chmFile;

// A compiled help file (.chm) opened for reading its topics and images.
class ChmFile
{
public:
    explicit ChmFile(const QString &path);
    ~ChmFile();
    ChmFile(const ChmFile &) = delete;
    ChmFile &operator=(const ChmFile &) = delete;

    bool isOpen() const { return m_file != nullptr; }
    const QString &path() const { return m_path; }

    // The content of a file inside the help file ("Options.htm" or
    // "/Options.htm"); nothing when there is no such file.
    std::optional<QByteArray> read(const QString &name) const;

    // The start page named by the help project; "index.htm" when it names none.
    QString defaultTopic() const;

private:
    struct Closer {
        void operator()(chmFile *file) const;
    };

    QString m_path;
    std::unique_ptr<chmFile, Closer> m_file;
};
