#pragma once
// The texts the archive manager's grid shows for one archive entry and for
// the totals row. Entry names keep the archive's "/" separators.

#include <QHash>
#include <QLocale>
#include <QString>
#include <cstdint>

namespace brx {

// The columns of the listing, left to right.
enum GridColumn : int {
    ColName = 0,
    ColDate = 1,
    ColRatio = 2,
    ColAfter = 3,  // compressed size
    ColBefore = 4, // uncompressed size
    ColFolder = 5,
    ColType = 6,
    kGridColumnCount = 7
};

// The part after the last "/" or ":".
QString EntryNamePart(const QString& fileName);
// The folder part up to and including the last "/"; empty at the top level.
QString EntryFolderPart(const QString& fileName);
// The extension of the name part, dot included, in lower case; empty when
// the name has no dot. A dot inside a folder name is not an extension.
QString EntryTypeText(const QString& fileName);

// The reduction in percent, rounded to the nearest integer with halves to
// the even neighbour; negative when the entry grew. 0 when uncompressed is 0.
qint64 CompressionRatio(qint64 compressed, qint64 uncompressed);

// "ddddd  t": the locale's short date, two blanks, its short time; empty
// when the DOS date and time is not a real calendar moment.
QString DosDateTimeText(std::uint32_t dosDateTime, const QLocale& locale);

// The date cells of one fill: each DOS date and each DOS time is formatted
// once (an archive holds many entries of one day), with the same texts as
// DosDateTimeText.
class DosDateTimeFormatter {
public:
    explicit DosDateTimeFormatter(const QLocale& locale);
    QString text(std::uint32_t dosDateTime);

private:
    QLocale m_locale;
    QString m_dateFormat;
    QString m_timeFormat;
    QHash<std::uint16_t, QString> m_dates; // a null text: no calendar date
    QHash<std::uint16_t, QString> m_times; // a null text: no time of day
};

// Column "%" of an entry row: "0% " when nothing was stored.
QString EntryRatioText(std::uint64_t compressed, std::uint64_t uncompressed);
// Column "%" of the totals row: "0 % " when the uncompressed sum is 0.
QString TotalRatioText(qint64 compressedSum, qint64 uncompressedSum);

} // namespace brx
