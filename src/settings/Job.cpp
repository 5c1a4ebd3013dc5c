#include "settings/Job.h"

namespace {

void forwardChanges(TextTable &table, Job *job)
{
    QObject::connect(&table, &QAbstractItemModel::dataChanged, job, &Job::changed);
    QObject::connect(&table, &QAbstractItemModel::rowsInserted, job, &Job::changed);
    QObject::connect(&table, &QAbstractItemModel::rowsRemoved, job, &Job::changed);
    QObject::connect(&table, &QAbstractItemModel::modelReset, job, &Job::changed);
}

} // namespace

Job::Job(QObject *parent)
    : QObject(parent),
      m_folders({"Folders", "Include subfolders", "Skip back-ups"}),
      m_fileTypes({"Files mask", "File Encoding", "Description"}),
      m_excludedFileTypes({"Files mask", "", "Description"}),
      m_stringPairs({"Find what", "Replace with", "Options"})
{
    for (TextTable *t : {&m_folders, &m_fileTypes, &m_excludedFileTypes, &m_stringPairs})
        forwardChanges(*t, this);
}

void Job::setOptions(const RunOptions &options)
{
    if (options == m_options)
        return;
    m_options = options;
    emit changed();
}

void Job::ClearJob()
{
    for (TextTable *t : {&m_folders, &m_fileTypes, &m_excludedFileTypes, &m_stringPairs})
        t->ClearGrid();
    RunOptions fresh;
    fresh.saveSettingsAutomatically = m_options.saveSettingsAutomatically;
    fresh.preferEquidistantFont = m_options.preferEquidistantFont;
    setOptions(fresh);
}
