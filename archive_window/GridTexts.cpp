#include "archive_window/GridTexts.h"

#include <QDate>
#include <QTime>
#include <cfenv>
#include <cmath>

namespace brx {

namespace {

int lastNameSeparator(const QString& fileName) {
    return std::max(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char(':')));
}

} // namespace

QString EntryNamePart(const QString& fileName) {
    return fileName.mid(lastNameSeparator(fileName) + 1);
}

QString EntryFolderPart(const QString& fileName) {
    return fileName.left(fileName.lastIndexOf(QLatin1Char('/')) + 1);
}

QString EntryTypeText(const QString& fileName) {
    const QString name = EntryNamePart(fileName);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

qint64 CompressionRatio(qint64 compressed, qint64 uncompressed) {
    if (uncompressed == 0) return 0;
    const double ratio =
        (1.0 - static_cast<double>(compressed) / static_cast<double>(uncompressed)) * 100.0;
    // The default rounding mode sends halves to the even neighbour; make sure
    // no one changed it for this thread.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(ratio);
    std::fesetround(previous);
    return static_cast<qint64>(rounded);
}

QString DosDateTimeText(std::uint32_t dosDateTime, const QLocale& locale) {
    const std::uint32_t dosDate = dosDateTime >> 16;
    const std::uint32_t dosTime = dosDateTime & 0xFFFFu;
    const QDate date(1980 + static_cast<int>(dosDate >> 9), static_cast<int>((dosDate >> 5) & 0x0F),
                     static_cast<int>(dosDate & 0x1F));
    const QTime time(static_cast<int>(dosTime >> 11), static_cast<int>((dosTime >> 5) & 0x3F),
                     static_cast<int>(dosTime & 0x1F) * 2);
    if (!date.isValid() || !time.isValid()) return {};
    return locale.toString(date, QLocale::ShortFormat) + QStringLiteral("  ") +
           locale.toString(time, QLocale::ShortFormat);
}

QString EntryRatioText(std::uint64_t compressed, std::uint64_t uncompressed) {
    if (uncompressed == 0) return QStringLiteral("0% ");
    return QString::number(CompressionRatio(qint64(compressed), qint64(uncompressed))) +
           QStringLiteral("% ");
}

QString TotalRatioText(qint64 compressedSum, qint64 uncompressedSum) {
    if (uncompressedSum == 0) return QStringLiteral("0 % ");
    return QString::number(CompressionRatio(compressedSum, uncompressedSum)) + QStringLiteral("% ");
}

} // namespace brx
