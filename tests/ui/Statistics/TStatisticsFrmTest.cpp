#include "engine/run/FileProcessor.h"
#include "ui/Statistics/TStatisticsFrm.h"
#include "ui/support/ModalDriver.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct TotalsCase {
    const char *name;
    QList<PathTable::Row> rows;
    QString totals;
};

TEST(Statistics, TheLineUnderTheGridSumsTheRows)
{
    const TotalsCase cases[] = {
        {"empty table", {}, "Files: 0, occurences: 0, replacements: 0"},
        // The replacements of a file the run then skipped (read-only, a
        // failed back-up, Cancel) are in its row: no figure claims it written.
        {"replaced, declined and skipped files",
         {{"/a", "3", "3"}, {"/b", "2", "0"}, {"/c", "5", "4"}},
         "Files: 3, occurences: 10, replacements: 7"},
        {"out of memory and unreadable",
         {{"/a", "1", "1"}, {"/b", "out of memory", "out of memory"},
          {"/c", "cannot be read", "cannot be read"}},
         "Files: 3, occurences: 1, replacements: 1"},
    };
    TStatisticsFrm dlg;
    for (const TotalsCase &c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<PathTable> statistics(newStatisticsTable());
        statistics->resetRows(c.rows);
        ModalDriver driver;
        driver.then([&](QWidget *window) {
            auto &shown = *dynamic_cast<TStatisticsFrm *>(window);
            EXPECT_EQ(shown.TotalsLbl->text(), c.totals);
            shown.CloseBtn->click();
        });
        dlg.ShowStatistics(*statistics);
        EXPECT_TRUE(driver.done());
    }
}

TEST(Statistics, TheDontShowBoxChangesTheOptionAtOnceAndOpensUnticked)
{
    std::unique_ptr<PathTable> statistics(newStatisticsTable());
    TStatisticsFrm dlg;
    QSignalSpy changes(&dlg, &TStatisticsFrm::showFinalStatsChanged);
    ModalDriver driver;
    driver.then([&](QWidget *window) {
        auto &shown = *dynamic_cast<TStatisticsFrm *>(window);
        shown.DontShowThisAgainChk->click();
        shown.DontShowThisAgainChk->click();
        EXPECT_EQ(changes.size(), 2);
        EXPECT_EQ(changes.at(0).at(0).toBool(), false);
        EXPECT_EQ(changes.at(1).at(0).toBool(), true);
        shown.DontShowThisAgainChk->click();
        window->close();
    });
    driver.then([](QWidget *window) {
        auto &shown = *dynamic_cast<TStatisticsFrm *>(window);
        EXPECT_FALSE(shown.DontShowThisAgainChk->isChecked());
        shown.CloseBtn->click();
    });
    dlg.ShowStatistics(*statistics);
    dlg.ShowStatistics(*statistics);
}

} // namespace
