// Keyboard, mouse and focus handling of TSortGrid, with cell validation.

#include "TSortGrid.h"

#include "SortGridModel.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace brx {

void TSortGrid::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) ValidateCell();
    QTableView::keyPressEvent(event);
    if (!m_extendedKeys || EditorMode()) return;
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool ctrl = mods == Qt::ControlModifier;
    const bool ctrlShift = mods == (Qt::ControlModifier | Qt::ShiftModifier);
    if (key == Qt::Key_Insert && ctrl)
        InsertRow(Row());
    else if (key == Qt::Key_Delete && ctrl && FixedRows() + 1 < RowCount())
        DeleteRow(Row());
    else if (key == Qt::Key_Insert && ctrlShift)
        InsertColumn(Col());
    else if (key == Qt::Key_Delete && ctrlShift && m_fixedCols + 1 < ColCount())
        DeleteColumn(Col());
    else
        return;
    event->accept();
}

// A plain release on a fixed row sorts: focus, no resize or move, no
// modifier key and no other button held.
void TSortGrid::headerMouseReleased(QMouseEvent* event, int ACol, int ARow,
                                    bool interactionNormal) {
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (!m_hasFocus || !m_sortOnClick || !interactionNormal || FixedRows() < 1) return;
    if (held != Qt::NoModifier || event->buttons() != Qt::NoButton) return;
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= FixedRows()) return;
    clickSort(ACol, ARow, event->button());
}

// Enter in the editor: the delegate stores the text and closes the editor
// later; the cell is validated once the text is in.
void TSortGrid::editorReturnPressed() {
    m_validateOnClose = true;
}

void TSortGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    if (!m_validateOnClose) return;
    m_validateOnClose = false;
    if (m_hasFocus) ValidateCell();
}

// A click on a cell: validation of the cell left, then the owner's OnClick.
void TSortGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (m_hasFocus) ValidateCell();
    if (OnClick) OnClick(this);
}

void TSortGrid::enterEvent(QEnterEvent* event) {
    QTableView::enterEvent(event);
    if (OnMouseEnter) OnMouseEnter(this);
}

void TSortGrid::leaveEvent(QEvent* event) {
    QTableView::leaveEvent(event);
    if (OnMouseLeave) OnMouseLeave(this);
}

// The in-place editor is part of the grid: focus moving between the two
// neither enters nor leaves the grid.
void TSortGrid::focusChanged(QWidget* old, QWidget* now) {
    const auto inside = [this](QWidget* widget) {
        return widget && (widget == this || isAncestorOf(widget));
    };
    if (inside(now) && !inside(old))
        enterGrid();
    else if (!inside(now) && inside(old))
        leaveGrid();
}

void TSortGrid::enterGrid() {
    m_hasFocus = true;
    RememberCell();
    viewport()->update();
}

void TSortGrid::leaveGrid() {
    if (m_hasFocus) ValidateCell();
    if (OnClick) OnClick(this);
    m_hasFocus = false;
    viewport()->update();
}

void TSortGrid::RememberCell() {
    m_rememberedCol = Col();
    m_rememberedRow = Row();
    m_rememberedText = Cells(m_rememberedCol, m_rememberedRow);
    m_modifiedSnapshot = m_modified;
}

void TSortGrid::ValidateCell() {
    const int col = m_rememberedCol;
    const int row = m_rememberedRow;
    const QString current = Cells(col, row);
    if (current != m_rememberedText) {
        QString value = current;
        bool valid = true;
        if (OnCellValidate) OnCellValidate(this, col, row, value, valid);
        if (valid) {
            if (value != current) SetCells(col, row, value);
        } else {
            SetCells(col, row, value != current ? value : m_rememberedText);
            m_modified = m_modifiedSnapshot;
        }
    }
    RememberCell();
}

void TSortGrid::SetEditText(int ACol, int ARow, const QString& Value) {
    if (Value != Cells(ACol, ARow)) m_modified = true;
    SetCells(ACol, ARow, Value);
}

} // namespace brx
