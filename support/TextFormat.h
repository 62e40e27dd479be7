#pragma once
// Short French texts for durations, byte counts, file sizes and today's date,
// as shown in status lines, messages and the backup log. No state, no errors.

#include <QDate>
#include <QString>
#include <cstdint>

namespace brx {

class ILocaleInfo;

// "mm:ss Sec." for the time between two tick counts (minutes unbounded).
// The difference is taken modulo 2^32, so a wrapped counter still reads right.
QString FormatElapsed(uint32_t startMs, uint32_t stopMs);

// "<n> b", "<x> Ko" or "<x> Mo" with three significant digits and the locale's
// decimal separator; empty for negative counts and from 1 GiB on.
QString FormatByteSize(qint64 bytes);
QString FormatByteSize(qint64 bytes, const ILocaleInfo& locale);

// "<n> Octets" below 2048 bytes, else "<n div 1024> Ko"; " ? " when missing.
QString FileSizeText(const QString& path);
// The size of the file in bytes, 0 when missing (a folder counts 0).
qint64 FileSizeOf(const QString& path);

// Day and month of today (or of date) as four digits, "DDMM" when dayFirst,
// else "MMDD"; empty when not enabled.
QString DatePrefix(bool dayFirst, bool enabled);
QString DatePrefix(bool dayFirst, bool enabled, const QDate& date);

} // namespace brx
