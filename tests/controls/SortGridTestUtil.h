#pragma once
// Helpers shared by the grid tests: filling a grid from rows of texts and
// reading one column back.

#include "controls/TSortGrid.h"

#include <QStringList>

#include <initializer_list>

namespace gridtest {
using namespace brx;

// Row 0 is the header; FixedCols 0 as the archive listing uses it.
inline void fill(TSortGrid& grid, std::initializer_list<QStringList> rows) {
    grid.SetFixedCols(0);
    grid.SetColCount(static_cast<int>(rows.begin()->size()));
    grid.SetRowCount(static_cast<int>(rows.size()));
    int row = 0;
    for (const QStringList& texts : rows) {
        for (int col = 0; col < texts.size(); ++col) grid.SetCells(col, row, texts[col]);
        ++row;
    }
}

// One column from the first non-fixed row down.
inline QStringList column(const TSortGrid& grid, int col) {
    QStringList texts;
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row) texts << grid.Cells(col, row);
    return texts;
}

inline TSortOptions options(TSortKind kind = skAutomatic, TSortDirection direction = sdAscending,
                            bool caseSensitive = false) {
    TSortOptions result;
    result.SortKind = kind;
    result.SortDirection = direction;
    result.CaseSensitive = caseSensitive;
    return result;
}

} // namespace gridtest
