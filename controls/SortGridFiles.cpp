// Separated text files and text search of TSortGrid.

#include "TSortGrid.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <stdexcept>

namespace brx {

void TSortGrid::SaveToFile(const QString& FileName, QChar Separator) const {
    QByteArray text;
    for (int row = 0; row < RowCount(); ++row) {
        text += Rows(row).join(Separator).toUtf8();
        text += '\n';
    }
    // Written beside the target and put in its place only when complete.
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw std::runtime_error(
            QStringLiteral("Cannot write %1: %2").arg(FileName, file.errorString()).toStdString());
}

static QStringList readLines(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString()).toStdString());
    QString text = QString::fromUtf8(file.readAll());
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error(
            QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString()).toStdString());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast(); // the last line's break
    return lines;
}

void TSortGrid::LoadFromFile(const QString& FileName, QChar Separator) {
    const QStringList lines = readLines(FileName);
    Clear();
    SetRowCount(static_cast<int>(lines.size()));
    SetColCount(m_fixedCols + 1);
    std::vector<QStringList> rows;
    rows.reserve(lines.size());
    int widest = ColCount();
    for (const QString& line : lines) {
        rows.push_back(line.split(Separator));
        widest = std::max(widest, static_cast<int>(rows.back().size()));
    }
    SetColCount(widest);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        for (int col = 0; col < static_cast<int>(rows[row].size()); ++col)
            SetCells(col, row, rows[row][col]);
}

bool TSortGrid::FindText(const QString& Value, int& ACol, int& ARow) const {
    for (int col = 0; col < ColCount(); ++col) {
        for (int row = 0; row < RowCount(); ++row) {
            if (Cells(col, row).compare(Value, Qt::CaseInsensitive) != 0) continue;
            ACol = col;
            ARow = row;
            return true;
        }
    }
    return false;
}

} // namespace brx
