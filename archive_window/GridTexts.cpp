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

DosDateTimeFormatter::DosDateTimeFormatter(const QLocale& locale)
    : m_locale(locale)
    , m_dateFormat(locale.dateFormat(QLocale::ShortFormat))
    , m_timeFormat(locale.timeFormat(QLocale::ShortFormat)) {}

QString DosDateTimeFormatter::text(std::uint32_t dosDateTime) {
    const auto dosDate = std::uint16_t(dosDateTime >> 16);
    const auto dosTime = std::uint16_t(dosDateTime & 0xFFFFu);
    auto date = m_dates.constFind(dosDate);
    if (date == m_dates.constEnd()) {
        const QDate value(1980 + (dosDate >> 9), (dosDate >> 5) & 0x0F, dosDate & 0x1F);
        date = m_dates.insert(dosDate,
                              value.isValid() ? m_locale.toString(value, m_dateFormat) : QString());
    }
    auto time = m_times.constFind(dosTime);
    if (time == m_times.constEnd()) {
        const QTime value(dosTime >> 11, (dosTime >> 5) & 0x3F, (dosTime & 0x1F) * 2);
        time = m_times.insert(dosTime,
                              value.isValid() ? m_locale.toString(value, m_timeFormat) : QString());
    }
    if (date->isNull() || time->isNull()) return {};
    return *date + QStringLiteral("  ") + *time;
}

QString DosDateTimeText(std::uint32_t dosDateTime, const QLocale& locale) {
    return DosDateTimeFormatter(locale).text(dosDateTime);
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
