#pragma once
// TSortGrid: a string grid that sorts its rows on a header click, tells by
// itself whether a column holds numbers, dates with times, times or text,
// draws a sort symbol, lets its owner format every cell, keeps footer rows
// out of sorting, and edits, searches, loads and saves its cells.
//
// Built on Qt's model/view for speed: a QTableView over SortGridModel. Every
// operation takes grid numbers: row 0 is the first fixed row, so RowCount,
// Cells, FixedRows, Row and Selection count the fixed rows. The fixed rows
// are drawn by the horizontal header (they stay in place while the rows
// scroll); fixed columns are drawn as fixed cells at the left but scroll
// with the rest.
//
// Events are std::function members named after the events; "assigned" means
// non-empty. Properties are read by a function of the property's name and
// written by Set<Name>. The locale used to read numbers, dates and times and
// to collate texts is the widget's locale (QWidget::setLocale).
//
// GUI thread only; one sort at a time.

#include "SortGridTypes.h"

#include <QImage>
#include <QTableView>

#include <functional>
#include <vector>

namespace brx {

class SortGridModel;
class SortGridHeader;

class TSortGrid : public QTableView {
    Q_OBJECT
public:
    explicit TSortGrid(QWidget* parent = nullptr);
    ~TSortGrid() override;

    // Events.
    std::function<void(TSortGrid* Sender, int Col, int Row, TGridDrawState State,
                       TFormatOptions& FormatOptions)>
        OnGetCellFormat;
    std::function<void(TSortGrid* Sender, int Col, int Row, TSortOptions& SortOptions)> OnClickSort;
    std::function<void(TSortGrid* Sender, int Col, TSortOptions& SortOptions)> OnBeginSort;
    std::function<void(TSortGrid* Sender, int Col)> OnEndSort;
    std::function<void(TSortGrid*Sender, int Index)> OnRowInsert, OnRowDelete, OnColumnInsert,
        OnColumnDelete;
    std::function<void(TSortGrid*Sender)> OnColumnWidthsChanged, OnRowHeightsChanged;
    std::function<void(TSortGrid* Sender, int OldColCount, int OldRowCount)> OnSizeChanged;
    std::function<void(TSortGrid* Sender, int Col, int Row, QString& Value, bool& Valid)>
        OnCellValidate;
    std::function<void(TSortGrid*Sender)> OnMouseEnter, OnMouseLeave, OnClick;
    // The base grid's notification after a cell is drawn; Canvas() paints on
    // the cell meanwhile (the owner's own decorations).
    std::function<void(TSortGrid* Sender, int Col, int Row, const QRect& Rect,
                       TGridDrawState State)>
        OnDrawCell;

    // The base string grid.
    int ColCount() const;
    void SetColCount(int value);
    int RowCount() const;
    void SetRowCount(int value);
    int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int value);
    int FixedRows() const;
    void SetFixedRows(int value);
    QString Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const QString& value);
    QVariant Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, const QVariant& value);
    QStringList Rows(int ARow) const;
    int Col() const;
    int Row() const;
    void SetCol(int value) { MoveTo(value, Row()); }
    void SetRow(int value) { MoveTo(Col(), value); }
    TGridRect Selection() const;
    void SetSelection(const TGridRect& value);
    int ColWidths(int ACol) const;
    void SetColWidths(int ACol, int value);
    int RowHeights(int ARow) const;
    void SetRowHeights(int ARow, int value);
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int value);
    int DefaultColWidth() const { return m_defaultColWidth; }
    void SetDefaultColWidth(int value);
    TGridOptions Options() const { return m_options; }
    void SetOptions(TGridOptions value);
    bool DefaultDrawing() const { return m_defaultDrawing; }
    void SetDefaultDrawing(bool value) {
        m_defaultDrawing = value;
        viewport()->update();
    }
    bool EditorMode() const;
    // The widget that shows the fixed rows; header clicks land there.
    QWidget* FixedRowsWidget() const;

    // Properties of the sortable grid.
    bool CaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool value) { m_caseSensitive = value; }
    TAlignment AlignmentHorz() const { return m_alignmentHorz; }
    void SetAlignmentHorz(TAlignment value);
    TVertAlignment AlignmentVert() const { return m_alignmentVert; }
    void SetAlignmentVert(TVertAlignment value);
    TCellBevelStyle BevelStyle() const { return m_bevelStyle; }
    void SetBevelStyle(TCellBevelStyle value);
    bool ProportionalScrollBars() const { return m_proportionalScrollBars; }
    void SetProportionalScrollBars(bool value);
    bool ExtendedKeys() const { return m_extendedKeys; }
    void SetExtendedKeys(bool value) { m_extendedKeys = value; }
    TSortSymbol SortSymbol() const { return m_sortSymbol; }
    void SetSortSymbol(TSortSymbol value);
    int SortSpacingHor() const { return m_sortSpacingHor; }
    void SetSortSpacingHor(int value);
    int SortSpacingVert() const { return m_sortSpacingVert; }
    void SetSortSpacingVert(int value);
    TSortDirection SortDirection() const { return m_sortDirection; }
    void SetSortDirection(TSortDirection value);
    QImage SortBitMapA() const { return m_sortBitMapA; }
    void SetSortBitMapA(const QImage& value);
    QImage SortBitMapD() const { return m_sortBitMapD; }
    void SetSortBitMapD(const QImage& value);
    int SortColumn() const { return m_sortColumn; }
    void SetSortColumn(int value);
    bool SortOnClick() const { return m_sortOnClick; }
    void SetSortOnClick(bool value);
    bool SortFooter() const { return m_sortFooter; }
    void SetSortFooter(bool value);
    int FooterRows() const { return m_footerRows; }
    void SetFooterRows(int value);
    QColor FooterColor() const { return m_footerColor; }
    void SetFooterColor(const QColor& value);
    TFont FooterFont() const { return m_footerFont; }
    void SetFooterFont(const TFont& value);
    TCellBevelStyle FooterBevelStyle() const { return m_footerBevelStyle; }
    void SetFooterBevelStyle(TCellBevelStyle value);

    // State.
    int ExcludedRows() const { return m_excludedRows; }
    bool IsSorting() const { return m_isSorting; }
    bool IsSorted() const { return m_isSorted; }
    bool Modified() const { return m_modified; }
    bool HasFocus() const { return m_hasFocus; }
    // The symbol drawn in the sorted column's header (null with sgNone).
    QImage SymbolBitmap() const { return m_symbol; }

    // Sorting.
    virtual void SortRows(int ACol, TSortOptions SortOptions);
    virtual TSortKind DetectSortKind(int ACol);
    virtual bool CanUndoSort();
    virtual void UndoSort();

    // Layout.
    virtual void AutoSizeCol(int ACol);
    virtual void AutoSizeColumns(bool IncludeFixed, int Extra);
    virtual void MoveTo(int ACol, int ARow);
    virtual void UpdateScrollPage();

    // Row and column editing.
    virtual void InsertRow(int ARow);
    virtual void InsertColumn(int ACol);
    virtual bool InsertRows(int ARow, int Count);
    virtual bool InsertColumns(int ACol, int Count);
    virtual void DeleteRow(int ARow);
    virtual void DeleteColumn(int ACol);
    virtual void MoveRow(int From, int To);
    virtual void MoveColumn(int From, int To);
    virtual void SwapRows(int A, int B);
    virtual void SwapColumns(int A, int B);
    virtual bool ClearRows(int First, int Last);
    virtual bool ClearColumns(int First, int Last);
    virtual bool RemoveRows(int First, int Last);
    virtual bool RemoveColumns(int First, int Last);
    virtual void Clear();
    virtual void ClearFrom(int ARow);

    // Search, text files, validation.
    virtual bool FindText(const QString& Value, int& ACol, int& ARow) const;
    virtual void LoadFromFile(const QString& FileName, QChar Separator);
    virtual void SaveToFile(const QString& FileName, QChar Separator) const;
    virtual void RememberCell();
    virtual void ValidateCell();

    // The painter of the cell being drawn; null outside drawing.
    QPainter* Canvas() const { return m_canvas; }

    // Draws one cell the way the grid does (used by the view and its header).
    void DrawCell(QPainter& painter, int ACol, int ARow, const QRect& rect, TGridDrawState state);
    TGridDrawState CellState(int ACol, int ARow) const;

protected:
    virtual void ReorderRows(int ACol, const TSortOptions& SortOptions);
    // The base grid's veto on making a cell current.
    virtual bool SelectCell(int ACol, int ARow);
    TFormatOptions DefaultFormat(int ACol, int ARow, TGridDrawState state,
                                 const TFont& canvasFont) const;
    // The in-place editor stores a text.
    void SetEditText(int ACol, int ARow, const QString& Value);

    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void updateGeometries() override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class SortGridHeader;
    friend class SortGridDelegate;

    void headerMouseReleased(QMouseEvent* event, int ACol, int ARow, bool interactionNormal);
    void clickSort(int ACol, int ARow, Qt::MouseButton button);
    void rebuildSymbol();
    void repaintFixedRows();
    void repaintFooter(int rows);
    void recomputeExcludedRows();
    void sizeChanged(int oldColCount, int oldRowCount);
    void applyFixedRowsHeight();
    void focusChanged(QWidget* old, QWidget* now);
    void enterGrid();
    void leaveGrid();
    void editorReturnPressed();
    void paintCell(QPainter& painter, int ACol, int ARow, const QRect& rect, TGridDrawState state,
                   const TFormatOptions& format);
    void drawSymbol(QPainter& painter, const QRect& textRect, int textWidth);
    void drawBevel(QPainter& painter, const QRect& rect, const TFormatOptions& format);
    QModelIndex viewIndex(int ACol, int ARow) const;
    bool withoutAlwaysShowEditor(const std::function<void()>& action);
    bool rangeValid(int First, int Last, int count) const {
        return 0 <= First && First <= Last && Last < count;
    }

    SortGridModel* m_model;
    SortGridHeader* m_header;
    int m_fixedCols = 0;
    int m_defaultRowHeight = 24;
    int m_defaultColWidth = 64;
    TGridOptions m_options;
    bool m_defaultDrawing = true;

    bool m_caseSensitive = false;
    TAlignment m_alignmentHorz = taLeftJustify;
    TVertAlignment m_alignmentVert = taTopJustify;
    TCellBevelStyle m_bevelStyle = cbNone;
    bool m_proportionalScrollBars = true;
    bool m_extendedKeys = false;
    TSortSymbol m_sortSymbol = sgNone;
    int m_sortSpacingHor = 2;
    int m_sortSpacingVert = 0;
    TSortDirection m_sortDirection = sdAscending;
    QImage m_sortBitMapA;
    QImage m_sortBitMapD;
    int m_sortColumn = 1;
    bool m_sortOnClick = true;
    bool m_sortFooter = false;
    int m_footerRows = 0;
    QColor m_footerColor{0, 255, 255};
    TFont m_footerFont;
    TCellBevelStyle m_footerBevelStyle = cbNone;

    std::vector<TSortedListEntry> m_sortedList;
    int m_excludedRows = 0;
    bool m_isSorting = false;
    bool m_isSorted = false;
    bool m_modified = false;
    bool m_modifiedSnapshot = false;
    int m_rememberedCol = 0;
    int m_rememberedRow = 0;
    QString m_rememberedText;
    bool m_hasFocus = false;
    bool m_editorOptionSuspended = false;
    bool m_validateOnClose = false;
    QImage m_symbol;
    QPainter* m_canvas = nullptr;
};

} // namespace brx
