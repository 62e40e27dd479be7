// How TSortGrid draws and measures its cells.

#include "TSortGrid.h"

#include "SortGridModel.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace brx {

TGridDrawState TSortGrid::CellState(int ACol, int ARow) const {
    TGridDrawState state;
    if (ARow < FixedRows() || ACol < m_fixedCols) return state | gdFixed;
    const bool current = ACol == Col() && ARow == Row();
    if (current && m_hasFocus) state |= gdFocused;
    const QModelIndex index = viewIndex(ACol, ARow);
    const bool selected = index.isValid() && selectionModel()->isSelected(index);
    if (selected && (!current || (m_options & goRowSelect))) state |= gdSelected;
    return state;
}

TFormatOptions TSortGrid::DefaultFormat(int ACol, int ARow, TGridDrawState state,
                                        const TFont& canvasFont) const {
    TFormatOptions format;
    format.Font = canvasFont;
    if (state & gdFixed)
        format.Brush = palette().button();
    else if (state & gdSelected)
        format.Brush = palette().highlight();
    else
        format.Brush = palette().base();
    if (ARow > RowCount() - m_footerRows - 1) {
        format.Font = m_footerFont;
        format.Brush = QBrush(m_footerColor);
        format.Bevel = m_footerBevelStyle;
    } else {
        format.Bevel = m_bevelStyle;
    }
    format.AlignmentHorz = m_alignmentHorz;
    format.AlignmentVert = m_alignmentVert;
    const QColor light = palette().light().color();
    const QColor dark = palette().dark().color();
    switch (format.Bevel) {
    case cbRaised:
        format.HighlightColor = light;
        format.ShadowColor = dark;
        break;
    case cbLowered:
        format.HighlightColor = dark;
        format.ShadowColor = light;
        break;
    default:
        format.HighlightColor = format.ShadowColor = palette().base().color();
        break;
    }
    return format;
}

static TFont canvasFontFor(const QWidget& widget, TGridDrawState state) {
    const QPalette& palette = widget.palette();
    QColor color = palette.text().color();
    if (state & gdFixed)
        color = palette.buttonText().color();
    else if (state & gdSelected)
        color = palette.highlightedText().color();
    return TFont(widget.font(), color);
}

// Where the text of a cell goes inside its rectangle.
static QRect textRectIn(const QRect& rect, const TFormatOptions& format, QSize text) {
    int dx = 2;
    if (format.AlignmentHorz == taRightJustify)
        dx = rect.width() - text.width() - 2;
    else if (format.AlignmentHorz == taCenter)
        dx = (rect.width() - text.width()) / 2;
    int dy = 2;
    if (format.AlignmentVert == taBottomJustify)
        dy = rect.height() - text.height() - 3;
    else if (format.AlignmentVert == taMiddle)
        dy = (rect.height() - text.height()) / 2;
    return {rect.left() + dx, rect.top() + dy, text.width(), text.height()};
}

void TSortGrid::paintCell(QPainter& painter, int ACol, int ARow, const QRect& rect,
                          TGridDrawState state, const TFormatOptions& format) {
    painter.setClipRect(rect);
    painter.fillRect(rect, format.Brush.style() == Qt::NoBrush ? QBrush(format.Brush.color())
                                                               : format.Brush);
    const QString text = Cells(ACol, ARow);
    const QFontMetrics metrics(format.Font);
    const QRect textRect =
        textRectIn(rect, format, QSize(metrics.horizontalAdvance(text), metrics.height()));
    if (!format.HideText) {
        painter.setFont(format.Font);
        painter.setPen(format.Font.Color);
        painter.drawText(textRect.left(), textRect.top() + metrics.ascent(), text);
    }
    if (ARow == 0 && ACol == m_sortColumn && FixedRows() > 0)
        drawSymbol(painter, textRect, textRect.width());
    if (format.Bevel != cbNone && ACol >= m_fixedCols && ARow >= FixedRows())
        drawBevel(painter, rect, format);
    if (state & gdFixed) { // fixed cells keep a frame whatever their format
        painter.setPen(palette().dark().color());
        painter.drawLine(rect.topRight(), rect.bottomRight());
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    }
}

void TSortGrid::DrawCell(QPainter& painter, int ACol, int ARow, const QRect& rect,
                         TGridDrawState state) {
    TFormatOptions format = DefaultFormat(ACol, ARow, state, canvasFontFor(*this, state));
    if (OnGetCellFormat) OnGetCellFormat(this, ACol, ARow, state, format);
    if (m_defaultDrawing) {
        painter.save();
        paintCell(painter, ACol, ARow, rect, state, format);
        painter.restore();
    }
    if (OnDrawCell) {
        m_canvas = &painter;
        painter.save();
        OnDrawCell(this, ACol, ARow, rect, state);
        painter.restore();
        m_canvas = nullptr;
    }
}

void TSortGrid::drawSymbol(QPainter& painter, const QRect& textRect, int textWidth) {
    if (m_sortSymbol == sgNone || m_symbol.isNull()) return;
    painter.drawImage(
        QPoint(textRect.left() + textWidth + m_sortSpacingHor, textRect.top() + m_sortSpacingVert),
        m_symbol);
}

void TSortGrid::drawBevel(QPainter& painter, const QRect& rect, const TFormatOptions& format) {
    const int right = rect.left() + rect.width() - 1;
    const int bottom = rect.top() + rect.height() - 1;
    if (m_options & goFixedVertLine) {
        painter.setPen(format.ShadowColor);
        painter.drawLine(right, rect.top(), right, bottom);
    }
    if (m_options & goFixedHorzLine) {
        painter.setPen(format.ShadowColor);
        painter.drawLine(rect.left(), bottom, right, bottom);
    }
    if (m_options & goFixedVertLine) {
        painter.setPen(format.HighlightColor);
        painter.drawLine(rect.left(), rect.top(), rect.left(), bottom);
    }
    if (m_options & goFixedHorzLine) {
        painter.setPen(format.HighlightColor);
        painter.drawLine(rect.left(), rect.top(), right, rect.top());
    }
}

// The canvas font is not reset between rows: a font set by OnGetCellFormat
// for one row also measures the rows after it.
void TSortGrid::AutoSizeCol(int ACol) {
    if (ACol < 0 || ACol >= ColCount()) return;
    TFont canvasFont(font());
    int widest = 0;
    for (int row = 0; row < RowCount(); ++row) {
        const TGridDrawState state = CellState(ACol, row);
        TFormatOptions format = DefaultFormat(ACol, row, state, canvasFont);
        if (OnGetCellFormat) OnGetCellFormat(this, ACol, row, state, format);
        canvasFont = format.Font;
        widest = std::max(widest, QFontMetrics(canvasFont).horizontalAdvance(Cells(ACol, row)));
    }
    SetColWidths(ACol, widest + QFontMetrics(canvasFont).horizontalAdvance(QLatin1Char('x')));
}

void TSortGrid::AutoSizeColumns(bool IncludeFixed, int Extra) {
    const auto sizeOne = [&](int col) {
        AutoSizeCol(col);
        if (Extra != 0) SetColWidths(col, ColWidths(col) + Extra);
    };
    if (IncludeFixed)
        for (int col = 0; col < m_fixedCols; ++col) sizeOne(col);
    for (int col = m_fixedCols; col < ColCount(); ++col) sizeOne(col);
}

// Thumb sized to the share of rows (columns) in view, fixed ones included.
void TSortGrid::UpdateScrollPage() {
    const auto setPage = [&](QScrollBar* bar, int visible, int fixed, int count) {
        int page = 0;
        if (m_proportionalScrollBars && count > 0) {
            const double share = double(visible + fixed) / count;
            page = std::max(1, int(std::lround(share * (bar->maximum() - bar->minimum() + 1))));
        }
        bar->setPageStep(page);
        bar->update();
    };
    if (verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff) {
        const int rowHeight = std::max(verticalHeader()->defaultSectionSize(), 1);
        setPage(verticalScrollBar(), viewport()->height() / rowHeight, FixedRows(), RowCount());
    }
    if (horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff) {
        const int colWidth = std::max(horizontalHeader()->defaultSectionSize(), 1);
        setPage(horizontalScrollBar(), viewport()->width() / colWidth, m_fixedCols, ColCount());
    }
}

void TSortGrid::updateGeometries() {
    QTableView::updateGeometries();
    UpdateScrollPage();
}

void TSortGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    UpdateScrollPage();
}

} // namespace brx
