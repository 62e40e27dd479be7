// Sorting of TSortGrid and its undo.

#include "TSortGrid.h"

#include "SortGridModel.h"
#include "SortKind.h"

#include <QApplication>

namespace brx {

namespace {
// Restores the cursor when a sort ends, also by an exception.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
} // namespace

void TSortGrid::clickSort(int ACol, int ARow, Qt::MouseButton button) {
    TSortOptions options;
    options.SortKind = skAutomatic;
    options.SortDirection = button == Qt::RightButton ? sdDescending : sdAscending;
    options.CaseSensitive = m_caseSensitive;
    options.CompareProc = nullptr;
    if (OnClickSort) OnClickSort(this, ACol, ARow, options);
    WaitCursor cursor;
    SortRows(ACol, options);
}

void TSortGrid::SortRows(int ACol, TSortOptions SortOptions) {
    if (EditorMode() || FixedRows() + 1 >= RowCount()) return;
    if (ACol < 0 || ACol >= ColCount()) return;
    // The kind is settled on the rows as they stand before OnBeginSort.
    if (SortOptions.SortKind == skAutomatic) SortOptions.SortKind = DetectSortKind(ACol);
    if (OnBeginSort) OnBeginSort(this, ACol, SortOptions);
    ReorderRows(ACol, SortOptions);
    if (OnEndSort) OnEndSort(this, ACol);
}

TSortKind TSortGrid::DetectSortKind(int ACol) {
    sortkeys::SortKindDetector detector(locale());
    const int last = RowCount() - m_excludedRows - 1;
    for (int row = FixedRows(); row <= last; ++row)
        if (!detector.feed(Cells(ACol, row))) break;
    return detector.result();
}

void TSortGrid::ReorderRows(int ACol, const TSortOptions& SortOptions) {
    struct SortingFlags {
        TSortGrid& grid;
        ~SortingFlags() {
            grid.m_isSorting = false;
            grid.m_isSorted = true;
        }
    } flags{*this};
    m_isSorting = true;
    m_sortedList.clear();
    SetSortDirection(SortOptions.SortDirection);
    m_sortColumn = ACol;

    const int first = FixedRows();
    const int last = RowCount() - m_excludedRows - 1;
    for (int row = first; row <= last; ++row) m_sortedList.push_back({Cells(ACol, row), row});
    sortkeys::SortComparer(SortOptions, locale()).sort(m_sortedList);

    // Rows move once through a scratch copy; fixed and footer rows stay put.
    std::vector<SortGridModel::GridRow> scratch;
    scratch.reserve(m_sortedList.size());
    for (const TSortedListEntry& entry : m_sortedList)
        scratch.push_back(m_model->gridRow(entry.SourceRow));
    const int currentRow = Row();
    m_model->replaceRows(first, std::move(scratch));

    for (std::size_t i = 0; i < m_sortedList.size(); ++i) {
        if (m_sortedList[i].SourceRow != currentRow) continue;
        MoveTo(Col(), first + static_cast<int>(i));
        break;
    }
}

bool TSortGrid::CanUndoSort() {
    const int sortable = RowCount() - FixedRows() - m_excludedRows;
    if (static_cast<int>(m_sortedList.size()) == sortable) return true;
    m_sortedList.clear();
    return false;
}

void TSortGrid::UndoSort() {
    if (CanUndoSort()) {
        const int first = FixedRows();
        const int count = static_cast<int>(m_sortedList.size());
        std::vector<SortGridModel::GridRow> restored(m_sortedList.size());
        for (int i = 0; i < count; ++i) {
            const int target = m_sortedList[i].SourceRow - first;
            if (target < 0 || target >= count) { // the fixed rows changed since the sort
                m_sortedList.clear();
                m_isSorted = false;
                return;
            }
            restored[target] = m_model->gridRow(first + i);
        }
        const int position = Row() - first;
        m_model->replaceRows(first, std::move(restored));
        if (position >= 0 && position < static_cast<int>(m_sortedList.size()))
            MoveTo(Col(), m_sortedList[position].SourceRow);
        m_sortedList.clear();
    }
    m_isSorted = false;
}

} // namespace brx
