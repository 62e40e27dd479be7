// Setters of TSortGrid's own properties and what each repaints.

#include "TSortGrid.h"

#include "SortGridHeader.h"

#include <algorithm>

namespace brx {

namespace {
// Six-letter resource names: arrow up/down, then glyph A-Z/Z-A.
const QString kSymbolNames = QStringLiteral("SORTUPSORTDNSORTAZSORTZA");
const QColor kBuiltInTransparent(0, 255, 255);

QImage withTransparent(const QImage& source, QColor transparent) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparent.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] | 0xff000000u) == key) line[x] = 0;
    }
    return image;
}
} // namespace

void TSortGrid::repaintFixedRows() {
    m_header->viewport()->update();
}

void TSortGrid::repaintFooter(int rows) {
    if (rows > 0) viewport()->update();
}

void TSortGrid::SetAlignmentHorz(TAlignment value) {
    m_alignmentHorz = value;
    viewport()->update();
    repaintFixedRows();
}

void TSortGrid::SetAlignmentVert(TVertAlignment value) {
    m_alignmentVert = value;
    viewport()->update();
    repaintFixedRows();
}

void TSortGrid::SetBevelStyle(TCellBevelStyle value) {
    m_bevelStyle = value;
    viewport()->update();
}

void TSortGrid::SetProportionalScrollBars(bool value) {
    m_proportionalScrollBars = value;
    UpdateScrollPage();
}

void TSortGrid::rebuildSymbol() {
    m_symbol = QImage();
    const bool descending = m_sortDirection == sdDescending;
    if (m_sortSymbol == sgArrow || m_sortSymbol == sgGlyph) {
        const int slot = (m_sortSymbol == sgArrow ? 0 : 2) + (descending ? 1 : 0);
        const QImage image(QStringLiteral(":/sortgrid/%1.png").arg(kSymbolNames.mid(slot * 6, 6)));
        if (!image.isNull()) m_symbol = withTransparent(image, kBuiltInTransparent);
    } else if (m_sortSymbol == sgCustom) {
        const QImage& custom = descending ? m_sortBitMapD : m_sortBitMapA;
        if (!custom.isNull()) m_symbol = withTransparent(custom, custom.pixelColor(0, 0));
    }
}

void TSortGrid::SetSortSymbol(TSortSymbol value) {
    m_sortSymbol = value;
    rebuildSymbol();
    repaintFixedRows();
}

void TSortGrid::SetSortDirection(TSortDirection value) {
    m_sortDirection = value;
    rebuildSymbol();
    repaintFixedRows();
}

void TSortGrid::SetSortBitMapA(const QImage& value) {
    m_sortBitMapA = value.copy();
    rebuildSymbol();
    repaintFixedRows();
}

void TSortGrid::SetSortBitMapD(const QImage& value) {
    m_sortBitMapD = value.copy();
    rebuildSymbol();
    repaintFixedRows();
}

void TSortGrid::SetSortSpacingHor(int value) {
    if (value == m_sortSpacingHor) return;
    m_sortSpacingHor = value;
    repaintFixedRows();
}

void TSortGrid::SetSortSpacingVert(int value) {
    if (value == m_sortSpacingVert) return;
    m_sortSpacingVert = value;
    repaintFixedRows();
}

void TSortGrid::SetSortColumn(int value) {
    if (value == m_sortColumn || value < 0 || value >= ColCount()) return;
    m_sortColumn = value;
    repaintFixedRows();
}

void TSortGrid::SetSortOnClick(bool value) {
    if (value == m_sortOnClick) return;
    m_sortOnClick = value;
    repaintFixedRows();
}

void TSortGrid::recomputeExcludedRows() {
    m_excludedRows = m_sortFooter ? 0 : m_footerRows;
}

void TSortGrid::SetSortFooter(bool value) {
    m_sortFooter = value;
    recomputeExcludedRows();
}

void TSortGrid::SetFooterRows(int value) {
    if (value < 0 || value > RowCount() - FixedRows() || value == m_footerRows) return;
    const int repaint = std::max(value, m_footerRows);
    m_footerRows = value;
    if (!m_sortFooter) recomputeExcludedRows();
    repaintFooter(repaint);
}

void TSortGrid::SetFooterColor(const QColor& value) {
    if (value == m_footerColor) return;
    m_footerColor = value;
    repaintFooter(m_footerRows);
}

void TSortGrid::SetFooterFont(const TFont& value) {
    m_footerFont = value;
    repaintFooter(m_footerRows);
}

void TSortGrid::SetFooterBevelStyle(TCellBevelStyle value) {
    if (value == m_footerBevelStyle) return;
    m_footerBevelStyle = value;
    repaintFooter(m_footerRows);
}

} // namespace brx
