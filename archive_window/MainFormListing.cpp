// Filling the archive manager's grid from the engine's directory.

#include "archive_window/GridTexts.h"
#include "archive_window/TMainForm.h"
#include "archive_window/TextWidthMeter.h"
#include "controls/Hints.h"
#include "controls/TSortGrid.h"
#include "engine/ZipEngine.h"
#include "support/TextFormat.h"

#include <QDate>

namespace brx {

void TMainForm::FillGrid() {
    TSortGrid* grid = this->grid();
    grid->SetRowCount(2);
    for (int col = 0; col < kGridColumnCount; ++col) grid->SetCells(col, 1, QString());
    const int count = m_engine->Count();
    if (count == 0) return;

    grid->SetRowCount(count + 2);
    m_sumCompressed = 0;
    m_sumUncompressed = 0;
    DosDateTimeFormatter dates{QLocale()};
    const QList<ZipDirEntry>& entries = m_engine->ZipContents();
    for (int i = 0; i < count; ++i) {
        const ZipDirEntry& entry = entries.at(i);
        const int row = i + 1;
        grid->SetCells(ColName, row, EntryNamePart(entry.FileName));
        grid->SetCells(ColDate, row, dates.text(entry.DateTime));
        grid->SetCells(ColRatio, row, EntryRatioText(entry.CompressedSize, entry.UncompressedSize));
        grid->SetCells(ColAfter, row, QString::number(entry.CompressedSize));
        grid->SetCells(ColBefore, row, QString::number(entry.UncompressedSize));
        grid->SetCells(ColFolder, row, EntryFolderPart(entry.FileName));
        grid->SetCells(ColType, row, EntryTypeText(entry.FileName));
        m_sumCompressed += entry.CompressedSize;
        m_sumUncompressed += entry.UncompressedSize;
    }

    TSortOptions options;
    options.SortKind = skAutomatic;
    options.SortDirection = m_sortDirection;
    options.CaseSensitive = false;
    grid->SortRows(m_sortColumn, options);
    grid->SetRow(1);

    autoSizeColumn(ColName);
    applyColumnItems();
    keepSortArrowRoom();
    SetHint(grid, summaryText());
}

void TMainForm::FillTotals() {
    TSortGrid* grid = this->grid();
    const int row = grid->RowCount();
    grid->SetRowCount(row + 1);
    grid->SetCells(ColName, row, QStringLiteral("Total"));
    grid->SetCells(ColDate, row, QString());
    grid->SetCells(ColRatio, row, TotalRatioText(m_sumCompressed, m_sumUncompressed));
    grid->SetCells(ColAfter, row, QString::number(m_sumCompressed));
    grid->SetCells(ColBefore, row, QString::number(m_sumUncompressed));
    grid->SetCells(ColFolder, row, QString());
    grid->SetCells(ColType, row, QString());
}

// What the grid's AutoSizeCol gives (the widest text in each cell's own font
// plus the width of "x" in the last row's font), measured fast enough for a
// grid of 65,535 rows. The window's cell format changes the font of the last
// row only, so every other row is measured in the grid's font.
void TMainForm::autoSizeColumn(int col) {
    TSortGrid* grid = this->grid();
    const int last = grid->RowCount() - 1;
    std::vector<QString> texts;
    texts.reserve(size_t(std::max(last, 0)));
    for (int row = 0; row < last; ++row) texts.push_back(grid->Cells(col, row));
    TFormatOptions lastFormat;
    lastFormat.Font = TFont(grid->font());
    StringGrid1GetCellFormat(col, last, lastFormat);
    const QFontMetrics lastMetrics(lastFormat.Font);
    const int widest = std::max(TextWidthMeter(grid->font()).widest(texts),
                                lastMetrics.horizontalAdvance(grid->Cells(col, last)));
    grid->SetColWidths(col, widest + lastMetrics.horizontalAdvance(QLatin1Char('x')));
}

QString TMainForm::summaryText() const {
    qint64 compressed = 0;
    qint64 uncompressed = 0;
    for (const ZipDirEntry& entry : m_engine->ZipContents()) {
        compressed += entry.CompressedSize;
        uncompressed += entry.UncompressedSize;
    }
    const qint64 ratio =
        compressed == 0 || uncompressed == 0 ? 0 : CompressionRatio(compressed, uncompressed);
    return QStringLiteral("|Date : ") +
           QLocale().toString(QDate::currentDate(), QLocale::ShortFormat) + QStringLiteral(" / ") +
           QString::number(m_engine->Count()) + QStringLiteral(" Fichier(s)") +
           QStringLiteral(" / ") + QStringLiteral("Réduction : ") + QString::number(ratio) +
           QStringLiteral("%") + QStringLiteral(" / ") +
           FormatByteSize(FileSizeOf(m_engine->ZipFileName()));
}

} // namespace brx
