// Fills a TSortGrid with 65,535 rows of 7 columns, sorts it by a numeric
// column, then by a text column, and prints each time in milliseconds.

#include "controls/TSortGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>

using namespace brx;

namespace {
constexpr int kRows = 65535;
constexpr int kCols = 7;

qint64 timed(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    QCoreApplication::processEvents();
    return timer.elapsed();
}

// The texts of an archive-like listing, made before the clock starts.
std::vector<QStringList> makeRows() {
    QRandomGenerator random(42);
    std::vector<QStringList> rows;
    rows.reserve(kRows);
    for (int row = 1; row <= kRows; ++row) {
        const quint32 size = random.bounded(10000000u);
        rows.push_back({QStringLiteral("file%1.txt").arg(random.bounded(100000u)),
                        QStringLiteral("12/%1/2026  10:%2")
                            .arg(1 + row % 28)
                            .arg(row % 60, 2, 10, QLatin1Char('0')),
                        QStringLiteral("%1% ").arg(row % 100), QString::number(size / 2),
                        QString::number(size), QStringLiteral("folder%1/").arg(row % 50),
                        QStringLiteral(".txt")});
    }
    return rows;
}

void fill(TSortGrid& grid, const std::vector<QStringList>& rows) {
    grid.SetColCount(kCols);
    grid.SetRowCount(kRows + 1);
    for (int row = 1; row <= kRows; ++row)
        for (int col = 0; col < kCols; ++col) grid.SetCells(col, row, rows[row - 1][col]);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TSortGrid grid;
    grid.SetFixedCols(0);
    grid.resize(800, 600);
    grid.show();
    const std::vector<QStringList> rows = makeRows();
    const qint64 fillMs = timed([&] { fill(grid, rows); });
    TSortOptions options;
    const qint64 detectMs =
        timed([&] { std::printf("kind of column 4: %d\n", int(grid.DetectSortKind(4))); });
    const qint64 numericMs = timed([&] { grid.SortRows(4, options); });
    options.SortDirection = sdDescending;
    const qint64 numericDescMs = timed([&] { grid.SortRows(4, options); });
    options = TSortOptions{};
    const qint64 textMs = timed([&] { grid.SortRows(0, options); });
    const qint64 undoMs = timed([&] { grid.UndoSort(); });
    std::printf("fill %d rows x %d columns: %lld ms\n", kRows, kCols,
                static_cast<long long>(fillMs));
    std::printf("detect kind: %lld ms\n", static_cast<long long>(detectMs));
    std::printf("sort by numeric column, ascending: %lld ms\n", static_cast<long long>(numericMs));
    std::printf("sort by numeric column, descending: %lld ms\n",
                static_cast<long long>(numericDescMs));
    std::printf("sort by text column: %lld ms\n", static_cast<long long>(textMs));
    std::printf("undo sort: %lld ms\n", static_cast<long long>(undoMs));
    return 0;
}
