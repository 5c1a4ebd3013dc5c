#pragma once

#include "settings/CellTable.h"
#include "ui_TFileListFrm.h"

#include <QDialog>

// Shows the files a run is about to process; the user may remove some, go on
// or cancel. Created once and reused; the grid views the run's own table, so
// a removed row is a file the run does not process.
class TFileListFrm : public QDialog, public Ui::TFileListFrm
{
    Q_OBJECT
public:
    explicit TFileListFrm(QWidget *parent = nullptr);

    // Shows `files` modally with the caption "Files found: " + their number
    // and the box unticked; true for "Continue >>".
    bool ShowFileList(PathTable &files);

signals:
    // The box was clicked: the main window's option to show the list becomes
    // `show` at once, whatever the answer.
    void showFileListChanged(bool show);

private:
    void RemoveBtnClick();
    void updateCaption();

    PathTable *m_files = nullptr;
};
