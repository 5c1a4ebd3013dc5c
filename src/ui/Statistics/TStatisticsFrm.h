#pragma once

#include "settings/CellTable.h"
#include "ui_TStatisticsFrm.h"

#include <QDialog>

// Shows after a run one line per file with its occurrences and replacements,
// and the totals under them. Created once and reused.
class TStatisticsFrm : public QDialog, public Ui::TStatisticsFrm
{
    Q_OBJECT
public:
    explicit TStatisticsFrm(QWidget *parent = nullptr);

    // Shows the table modally with the box unticked.
    void ShowStatistics(PathTable &statistics);

signals:
    // The box was clicked: the main window's option to show the statistics
    // becomes `show` at once.
    void showFinalStatsChanged(bool show);
};
