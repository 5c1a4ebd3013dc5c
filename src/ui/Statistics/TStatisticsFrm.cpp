#include "ui/Statistics/TStatisticsFrm.h"

#include "ui/FileList/PathTableGrid.h"
#include "ui/Statistics/StatisticsTotals.h"
#include "widgets/TSizeGrip.h"

namespace {

constexpr int OccurrencesColumnWidth = 78;
constexpr int ReplacementsColumnWidth = 105;

} // namespace

TStatisticsFrm::TStatisticsFrm(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    new TSizeGrip(this); // owned by the dialog, drawn over its corner
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(DontShowThisAgainChk, &QCheckBox::clicked, this,
            [this](bool ticked) { emit showFinalStatsChanged(!ticked); });
}

void TStatisticsFrm::ShowStatistics(PathTable &statistics)
{
    ShowPathTable(StatisticsGrd, statistics, OccurrencesColumnWidth, ReplacementsColumnWidth);
    TotalsLbl->setText(TotalsText(SumStatistics(statistics)));
    DontShowThisAgainChk->setChecked(false);
    exec();
}
