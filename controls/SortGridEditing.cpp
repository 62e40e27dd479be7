// Row and column editing of TSortGrid.

#include "TSortGrid.h"

#include "SortGridHeader.h"
#include "SortGridModel.h"

#include <QItemSelectionModel>

#include <algorithm>

namespace brx {

// Deletes and moves run with the always-show-editor option off.
bool TSortGrid::withoutAlwaysShowEditor(const std::function<void()>& action) {
    const bool wasOn = m_options.testFlag(goAlwaysShowEditor);
    if (wasOn) {
        m_editorOptionSuspended = true;
        m_options.setFlag(goAlwaysShowEditor, false);
    }
    action();
    if (wasOn) {
        m_options.setFlag(goAlwaysShowEditor, true);
        m_editorOptionSuspended = false;
    }
    return wasOn;
}

void TSortGrid::InsertRow(int ARow) {
    SetRowCount(RowCount() + 1);
    MoveRow(RowCount() - 1, ARow);
    m_model->clearRow(ARow);
    MoveTo(Col(), ARow);
    m_isSorted = false;
    if (OnRowInsert) OnRowInsert(this, ARow);
}

void TSortGrid::InsertColumn(int ACol) {
    SetColCount(ColCount() + 1);
    MoveColumn(ColCount() - 1, ACol);
    m_model->clearColumn(ACol);
    MoveTo(ACol, Row());
    if (OnColumnInsert) OnColumnInsert(this, ACol);
}

bool TSortGrid::InsertRows(int ARow, int Count) {
    if (ARow < 0 || ARow >= RowCount()) return false;
    for (int i = 0; i < Count; ++i) InsertRow(ARow);
    return true;
}

bool TSortGrid::InsertColumns(int ACol, int Count) {
    if (ACol < 0 || ACol >= ColCount()) return false;
    for (int i = 0; i < Count; ++i) InsertColumn(ACol);
    return true;
}

void TSortGrid::DeleteRow(int ARow) {
    if (ARow < 0 || ARow >= RowCount() || RowCount() <= 1) return;
    m_model->clearRow(ARow);
    if (RowCount() - 1 <= FixedRows()) SetFixedRows(RowCount() - 2); // a data row must remain
    const int oldRows = RowCount();
    withoutAlwaysShowEditor([&] { m_model->deleteRow(ARow); });
    if (ARow < FixedRows()) m_header->setFixedRowCount(FixedRows(), m_defaultRowHeight);
    sizeChanged(ColCount(), oldRows);
    if (OnRowDelete) OnRowDelete(this, ARow);
    const int belowFixed = RowCount() - FixedRows();
    if (belowFixed < m_footerRows) SetFooterRows(belowFixed);
}

void TSortGrid::DeleteColumn(int ACol) {
    if (ACol < 0 || ACol >= ColCount() || ColCount() <= 1) return;
    m_model->clearColumn(ACol);
    const int oldCols = ColCount();
    withoutAlwaysShowEditor([&] { m_model->deleteColumn(ACol); });
    if (m_fixedCols > ColCount() - 1) m_fixedCols = ColCount() - 1;
    sizeChanged(oldCols, RowCount());
    if (OnColumnDelete) OnColumnDelete(this, ACol);
}

// The current row follows the moved row, as with the base grid.
void TSortGrid::MoveRow(int From, int To) {
    if (From < 0 || From >= RowCount() || To < 0 || To >= RowCount()) return;
    int current = Row();
    if (current == From)
        current = To;
    else if (From < current && current <= To)
        --current;
    else if (To <= current && current < From)
        ++current;
    withoutAlwaysShowEditor([&] { m_model->moveRow(From, To); });
    const QModelIndex target = viewIndex(Col(), current);
    if (target.isValid() && current != Row())
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    m_isSorted = false;
}

// Column widths travel with their columns.
void TSortGrid::MoveColumn(int From, int To) {
    if (From < 0 || From >= ColCount() || To < 0 || To >= ColCount() || From == To) return;
    std::vector<int> widths;
    for (int col = 0; col < ColCount(); ++col) widths.push_back(ColWidths(col));
    const int moving = widths[From];
    widths.erase(widths.begin() + From);
    widths.insert(widths.begin() + To, moving);
    withoutAlwaysShowEditor([&] { m_model->moveColumn(From, To); });
    for (int col = 0; col < ColCount(); ++col) SetColWidths(col, widths[col]);
}

void TSortGrid::SwapRows(int A, int B) {
    if (A < B) {
        MoveRow(B, A);
        MoveRow(A + 1, B);
    } else if (B < A) {
        MoveRow(A, B);
        MoveRow(B + 1, A);
    }
}

void TSortGrid::SwapColumns(int A, int B) {
    if (A < B) {
        MoveColumn(B, A);
        MoveColumn(A + 1, B);
    } else if (B < A) {
        MoveColumn(A, B);
        MoveColumn(B + 1, A);
    }
}

bool TSortGrid::ClearRows(int First, int Last) {
    if (!rangeValid(First, Last, RowCount())) return false;
    for (int row = First; row <= Last; ++row) m_model->clearRow(row);
    m_modified = false;
    m_isSorted = false;
    m_sortDirection = sdAscending; // the symbol is left as it is
    return true;
}

bool TSortGrid::ClearColumns(int First, int Last) {
    if (!rangeValid(First, Last, ColCount())) return false;
    for (int col = First; col <= Last; ++col) m_model->clearColumn(col);
    return true;
}

bool TSortGrid::RemoveRows(int First, int Last) {
    if (!rangeValid(First, Last, RowCount())) return false;
    for (int row = Last; row >= First; --row) DeleteRow(row);
    return true;
}

bool TSortGrid::RemoveColumns(int First, int Last) {
    if (!rangeValid(First, Last, ColCount())) return false;
    for (int col = Last; col >= First; --col) DeleteColumn(col);
    return true;
}

void TSortGrid::Clear() {
    ClearRows(0, RowCount() - 1);
}

void TSortGrid::ClearFrom(int ARow) {
    ClearRows(ARow, RowCount() - 1);
}

} // namespace brx
