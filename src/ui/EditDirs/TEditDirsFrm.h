#pragma once

#include "ui_TEditDirsFrm.h"

#include <QDialog>

class Job;

// Edits one folder entry of the job: the folder, how deep below it files are
// searched, and whether back-ups are skipped. Created once and reused; the
// caller fills the controls, runs exec() and reads them back on Accepted.
class TEditDirsFrm : public QDialog, public Ui::TEditDirsFrm
{
    Q_OBJECT
public:
    // The job's back-up options give the skip boxes' captions and enabling at
    // each showing.
    explicit TEditDirsFrm(const Job &job, QWidget *parent = nullptr);

    // Trims the folder on every closing; OK is refused (the dialog stays
    // open) for an empty folder, one the job cannot store, or a missing folder
    // the user does not want to keep.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Button1Click();
    void LevelsCBxChange();
    void SetBackupCaptions();
    bool AcceptFolder(const QString &path);

    const Job &m_job;
};
