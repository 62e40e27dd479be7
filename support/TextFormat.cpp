#include "support/TextFormat.h"

#include "platform/LocaleInfo.h"

#include <QFileInfo>

namespace brx {

namespace {

constexpr qint64 kKibi = 1024;
constexpr qint64 kMebi = kKibi * kKibi;
constexpr qint64 kGibi = kMebi * kKibi;

QString twoDigits(qint64 value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// General notation with three significant digits: trailing zeros dropped,
// scientific form (exponent of two digits at least) once the rounded value
// needs four digits before the separator, i.e. from 999.5 on.
QString threeDigits(double value, QChar separator) {
    QString text = QString::number(value, 'G', 3);
    text.replace(QLatin1Char('.'), separator);
    return text;
}

} // namespace

QString FormatElapsed(uint32_t startMs, uint32_t stopMs) {
    const uint32_t totalSeconds = (stopMs - startMs) / 1000;
    return twoDigits(totalSeconds / 60) + QLatin1Char(':') + twoDigits(totalSeconds % 60) +
           QStringLiteral(" Sec.");
}

QString FormatByteSize(qint64 bytes) {
    return FormatByteSize(bytes, SystemLocaleInfo());
}

QString FormatByteSize(qint64 bytes, const ILocaleInfo& locale) {
    if (bytes < 0 || bytes >= kGibi) return {};
    if (bytes < kKibi) return QString::number(bytes) + QStringLiteral(" b");
    if (bytes < kMebi)
        return threeDigits(double(bytes) / kKibi, locale.decimalSeparator()) +
               QStringLiteral(" Ko");
    return threeDigits(double(bytes) / kMebi, locale.decimalSeparator()) + QStringLiteral(" Mo");
}

QString FileSizeText(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return QStringLiteral(" ? ");
    const qint64 size = FileSizeOf(path);
    if (size < 2048) return QString::number(size) + QStringLiteral(" Octets");
    return QString::number(size / kKibi) + QStringLiteral(" Ko");
}

qint64 FileSizeOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) return 0;
    return info.size();
}

QString DatePrefix(bool dayFirst, bool enabled) {
    return DatePrefix(dayFirst, enabled, QDate::currentDate());
}

QString DatePrefix(bool dayFirst, bool enabled, const QDate& date) {
    if (!enabled) return {};
    const QString day = twoDigits(date.day());
    const QString month = twoDigits(date.month());
    return dayFirst ? day + month : month + day;
}

} // namespace brx
