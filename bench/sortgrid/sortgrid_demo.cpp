// A small archive-like listing in a TSortGrid, sorted by its size column,
// with a sort symbol and a bold red totals row set through OnGetCellFormat.
// With a file name as argument it saves a picture of the window and quits.

#include "controls/TSortGrid.h"

#include <QApplication>
#include <QTimer>

using namespace brx;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TSortGrid grid;
    grid.setWindowTitle(QStringLiteral("TSortGrid"));
    grid.SetFixedCols(0);
    grid.SetColCount(4);
    grid.SetRowCount(7);
    grid.SetDefaultRowHeight(20);
    grid.SetAlignmentVert(taMiddle);
    grid.SetBevelStyle(cbLowered);
    grid.SetSortSymbol(sgGlyph);
    grid.SetFooterRows(1);
    const QStringList rows[] = {
        {"Fichier", "Date", "Après", "Avant"},
        {"lisez-moi.txt", "03/12/2026  09:15", "250", "1000"},
        {"photo.jpg", "01/12/2026  18:40", "90412", "91022"},
        {"rapport.doc", "28/11/2026  11:05", "8120", "30720"},
        {"setup.exe", "02/12/2026  07:30", "512000", "1048576"},
        {"vide.dat", "03/12/2026  10:00", "0", "0"},
        {"Total", "", "610782", "1171318"},
    };
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 4; ++col) grid.SetCells(col, row, rows[row][col]);
    grid.OnGetCellFormat = [](TSortGrid* sender, int col, int row, TGridDrawState,
                              TFormatOptions& format) {
        if (row > 0 && col > 0) format.AlignmentHorz = taRightJustify;
        if (row == sender->RowCount() - 1) {
            format.Font.setBold(true);
            format.Font.Color = Qt::red;
        }
    };
    TSortOptions options;
    options.SortDirection = sdDescending;
    grid.SortRows(3, options);
    grid.AutoSizeColumns(false, 12);
    grid.resize(420, 200);
    grid.show();
    if (argc > 1) {
        const QString target = QString::fromLocal8Bit(argv[1]);
        QTimer::singleShot(300, &grid, [&grid, target] {
            grid.grab().save(target);
            QApplication::quit();
        });
    }
    return app.exec();
}
