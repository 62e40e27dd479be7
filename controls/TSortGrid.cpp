#include "TSortGrid.h"

#include "SortGridDelegate.h"
#include "SortGridHeader.h"
#include "SortGridModel.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QScrollBar>

#include <algorithm>

static void initSortGridResources() {
    Q_INIT_RESOURCE(sortgrid);
}

namespace brx {

TSortGrid::TSortGrid(QWidget* parent)
    : QTableView(parent)
    , m_model(new SortGridModel(this))
    , m_header(new SortGridHeader(this)) {
    initSortGridResources();
    m_options = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    m_footerFont = TFont(font());
    m_model->editTextHandler = [this](int col, int row, const QString& text) {
        SetEditText(col, row, text);
    };
    setHorizontalHeader(m_header);
    setModel(m_model);
    setItemDelegate(new SortGridDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(m_defaultRowHeight);
    m_header->setDefaultSectionSize(m_defaultColWidth);
    setWordWrap(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    connect(m_header, &QHeaderView::sectionResized, this, [this] {
        if (OnColumnWidthsChanged) OnColumnWidthsChanged(this);
        UpdateScrollPage();
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (OnRowHeightsChanged) OnRowHeightsChanged(this);
        UpdateScrollPage();
    });
    connect(qApp, &QApplication::focusChanged, this, &TSortGrid::focusChanged);
    m_model->setGridSize(5, 5);
    SetFixedRows(1);
    m_fixedCols = 1;
    SetOptions(m_options);
    RememberCell();
}

// The focus leaves while QWidget is torn down: no grid is left to tell.
TSortGrid::~TSortGrid() {
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

int TSortGrid::ColCount() const {
    return m_model->gridColCount();
}
int TSortGrid::RowCount() const {
    return m_model->gridRowCount();
}
int TSortGrid::FixedRows() const {
    return m_model->fixedRows();
}

void TSortGrid::SetColCount(int value) {
    value = std::max(value, 1);
    const int oldCols = ColCount();
    if (value == oldCols) return;
    if (m_fixedCols >= value) m_fixedCols = value - 1;
    m_model->setGridSize(value, RowCount());
    sizeChanged(oldCols, RowCount());
}

void TSortGrid::SetRowCount(int value) {
    value = std::max(value, 1);
    const int oldRows = RowCount();
    if (value == oldRows) return;
    if (FixedRows() >= value) SetFixedRows(value - 1);
    m_model->setGridSize(ColCount(), value);
    sizeChanged(ColCount(), oldRows);
}

void TSortGrid::SetFixedCols(int value) {
    value = std::clamp(value, 0, ColCount() - 1);
    if (value == m_fixedCols) return;
    m_fixedCols = value;
    if (Col() < m_fixedCols) MoveTo(m_fixedCols, Row());
    viewport()->update();
}

void TSortGrid::SetFixedRows(int value) {
    value = std::clamp(value, 0, std::max(RowCount() - 1, 0));
    if (value == FixedRows() && m_header->totalHeight() == value * m_defaultRowHeight) return;
    m_model->setFixedRows(value);
    m_header->setFixedRowCount(value, m_defaultRowHeight);
    applyFixedRowsHeight();
    RememberCell();
}

void TSortGrid::applyFixedRowsHeight() {
    m_header->setVisible(FixedRows() > 0);
    m_header->setFixedHeight(m_header->totalHeight());
    updateGeometries();
}

void TSortGrid::sizeChanged(int oldColCount, int oldRowCount) {
    UpdateScrollPage();
    if (OnSizeChanged) OnSizeChanged(this, oldColCount, oldRowCount);
}

QString TSortGrid::Cells(int ACol, int ARow) const {
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount()) return {};
    return m_model->text(ACol, ARow);
}

void TSortGrid::SetCells(int ACol, int ARow, const QString& value) {
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount()) return;
    m_model->setText(ACol, ARow, value);
}

QVariant TSortGrid::Objects(int ACol, int ARow) const {
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount()) return {};
    return m_model->object(ACol, ARow);
}

void TSortGrid::SetObjects(int ACol, int ARow, const QVariant& value) {
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount()) return;
    m_model->setObject(ACol, ARow, value);
}

QStringList TSortGrid::Rows(int ARow) const {
    QStringList texts;
    for (int col = 0; col < ColCount(); ++col) texts << Cells(col, ARow);
    return texts;
}

QModelIndex TSortGrid::viewIndex(int ACol, int ARow) const {
    return m_model->index(ARow - FixedRows(), ACol);
}

int TSortGrid::Col() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : m_fixedCols;
}

int TSortGrid::Row() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + FixedRows() : FixedRows();
}

TGridRect TSortGrid::Selection() const {
    const QItemSelection ranges = selectionModel()->selection();
    if (ranges.isEmpty()) return {Col(), Row(), Col(), Row()};
    TGridRect rect{ColCount(), RowCount(), -1, -1};
    for (const QItemSelectionRange& range : ranges) {
        rect.Left = std::min(rect.Left, range.left());
        rect.Right = std::max(rect.Right, range.right());
        rect.Top = std::min(rect.Top, range.top() + FixedRows());
        rect.Bottom = std::max(rect.Bottom, range.bottom() + FixedRows());
    }
    return rect;
}

void TSortGrid::SetSelection(const TGridRect& value) {
    const QModelIndex topLeft = viewIndex(value.Left, value.Top);
    const QModelIndex bottomRight = viewIndex(value.Right, value.Bottom);
    if (!topLeft.isValid() || !bottomRight.isValid()) return;
    selectionModel()->select(QItemSelection(topLeft, bottomRight),
                             QItemSelectionModel::ClearAndSelect);
}

int TSortGrid::ColWidths(int ACol) const {
    return m_header->sectionSize(ACol);
}

void TSortGrid::SetColWidths(int ACol, int value) {
    if (ACol >= 0 && ACol < ColCount()) m_header->resizeSection(ACol, std::max(value, 0));
}

int TSortGrid::RowHeights(int ARow) const {
    if (ARow < FixedRows()) return m_header->fixedRowHeight(ARow);
    return verticalHeader()->sectionSize(ARow - FixedRows());
}

void TSortGrid::SetRowHeights(int ARow, int value) {
    if (ARow < 0 || ARow >= RowCount()) return;
    if (ARow >= FixedRows()) {
        verticalHeader()->resizeSection(ARow - FixedRows(), std::max(value, 0));
        return;
    }
    m_header->setFixedRowHeight(ARow, std::max(value, 0));
    applyFixedRowsHeight();
}

void TSortGrid::SetDefaultRowHeight(int value) {
    m_defaultRowHeight = std::max(value, 0);
    verticalHeader()->setDefaultSectionSize(m_defaultRowHeight);
    for (int row = 0; row < FixedRows(); ++row)
        m_header->setFixedRowHeight(row, m_defaultRowHeight);
    applyFixedRowsHeight();
}

void TSortGrid::SetDefaultColWidth(int value) {
    m_defaultColWidth = std::max(value, 0);
    m_header->setDefaultSectionSize(m_defaultColWidth);
}

void TSortGrid::SetOptions(TGridOptions value) {
    m_options = value;
    setShowGrid(value & (goVertLine | goHorzLine));
    setSelectionBehavior(value & goRowSelect ? SelectRows : SelectItems);
    setSelectionMode(value & goRangeSelect ? ExtendedSelection : SingleSelection);
    m_header->setSectionResizeMode(value & goColSizing ? QHeaderView::Interactive
                                                       : QHeaderView::Fixed);
    m_header->setSectionsMovable(value & goColMoving);
    setEditTriggers(value & goEditing ? (DoubleClicked | EditKeyPressed | AnyKeyPressed)
                                      : NoEditTriggers);
    m_model->setEditable(value & goEditing);
    setVerticalScrollMode(ScrollPerItem);
    viewport()->update();
}

bool TSortGrid::EditorMode() const {
    return state() == EditingState;
}

QWidget* TSortGrid::FixedRowsWidget() const {
    return m_header->viewport();
}

bool TSortGrid::SelectCell(int ACol, int ARow) {
    return ACol >= 0 && ACol < ColCount() && ARow >= FixedRows() && ARow < RowCount();
}

void TSortGrid::MoveTo(int ACol, int ARow) {
    ACol = std::max(ACol, m_fixedCols);
    ARow = std::max(ARow, FixedRows());
    if (!SelectCell(ACol, ARow)) return;
    const QModelIndex target = viewIndex(ACol, ARow);
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (m_options & goRowSelect) flags |= QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(target, flags);
    scrollTo(target);
}

void TSortGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // Fixed columns never hold the current cell.
    if (current.isValid() && current.column() < m_fixedCols && m_fixedCols < ColCount()) {
        selectionModel()->setCurrentIndex(m_model->index(current.row(), m_fixedCols),
                                          QItemSelectionModel::NoUpdate);
        return;
    }
    QTableView::currentChanged(current, previous);
    viewport()->update();
}

} // namespace brx
