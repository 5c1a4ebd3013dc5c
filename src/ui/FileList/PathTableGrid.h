#pragma once

#include "settings/CellTable.h"

class QTableView;

// Shows `table` in `grid`, columns 1 and 2 at the given widths (or what their
// texts need, when more) and column 0 taking the rest: widening the dialog
// widens only the file names.
void ShowPathTable(QTableView *grid, PathTable &table, int column1Width, int column2Width);
