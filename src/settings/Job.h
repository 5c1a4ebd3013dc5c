#pragma once

#include "settings/CellTable.h"
#include "settings/RunOptions.h"

#include <QObject>

// Everything the user defines before a run: the four lists as tables of text
// cells (three columns each, Unicode texts) and the run options.
class Job : public QObject
{
    Q_OBJECT
public:
    explicit Job(QObject *parent = nullptr);

    TextTable &folders() { return m_folders; }
    TextTable &fileTypes() { return m_fileTypes; }
    TextTable &excludedFileTypes() { return m_excludedFileTypes; }
    TextTable &stringPairs() { return m_stringPairs; }
    const TextTable &folders() const { return m_folders; }
    const TextTable &fileTypes() const { return m_fileTypes; }
    const TextTable &excludedFileTypes() const { return m_excludedFileTypes; }
    const TextTable &stringPairs() const { return m_stringPairs; }

    const RunOptions &options() const { return m_options; }
    void setOptions(const RunOptions &options);

    // A new job: every list empty, the run options at their defaults except
    // the two Miscellaneous options, which keep their values.
    void ClearJob();

signals:
    // Any change to a list or an option.
    void changed();

private:
    TextTable m_folders;
    TextTable m_fileTypes;
    TextTable m_excludedFileTypes;
    TextTable m_stringPairs;
    RunOptions m_options;
};
