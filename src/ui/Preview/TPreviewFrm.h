#pragma once

#include "engine/preview/FilePreview.h"
#include "settings/CellTable.h"
#include "ui_TPreviewFrm.h"

#include <QDialog>

// What a run of the job would change, before anything is written: the files
// with their counts and, for the selected file, its hunks with the found text
// and the replacement highlighted as the replace confirmation shows them.
// Created once and reused; a preview run reports into it.
class TPreviewFrm : public QDialog, public Ui::TPreviewFrm, public PreviewReceiver
{
    Q_OBJECT
public:
    explicit TPreviewFrm(QWidget *parent = nullptr);

    // Forgets the last preview; called before a preview run.
    void clear();

    void fileWouldChange(const FilePreview &file, const UnifiedDiff &diff) override;
    void fileSkipped(const QString &path, const QString &reason) override;

    // Shows the preview modally; true when the user chose "Find && Replace".
    bool ShowPreview();

    PathTable &files() { return m_table; }

private:
    void FilesGrdSelectionChanged();

    PathTable m_table;
    QList<QList<DiffHunk>> m_hunks; // of each row of m_table, in order
    qint64 m_replacements = 0;
    int m_skipped = 0;
};
