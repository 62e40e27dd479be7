#include "SortKind.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QTime>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace brx {

namespace sortkeys {
namespace {

constexpr double kMsecsPerDay = 86400000.0;
const QDate kDayZero(1899, 12, 30);

QStringList timeFormats(const QLocale& locale) {
    return {locale.timeFormat(QLocale::ShortFormat), locale.timeFormat(QLocale::LongFormat),
            QStringLiteral("H:mm:ss"), QStringLiteral("H:mm")};
}

// Two-digit years fall within fifty years of the current one.
QDate widenTwoDigitYear(QDate date) {
    const int now = QDate::currentDate().year();
    int year = date.year() % 100 + (now / 100) * 100;
    if (year > now + 50)
        year -= 100;
    else if (year <= now - 50)
        year += 100;
    return QDate(year, date.month(), date.day());
}

QDate toDate(const QString& text, const QLocale& locale) {
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
    QString longYear = shortFormat;
    QString shortYear = shortFormat;
    if (shortFormat.contains(QLatin1String("yyyy")))
        shortYear.replace(QLatin1String("yyyy"), QLatin1String("yy"));
    else
        longYear.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    const QDate full = locale.toDate(text, longYear);
    if (full.isValid()) return full;
    const QDate twoDigits = locale.toDate(text, shortYear);
    return twoDigits.isValid() ? widenTwoDigitYear(twoDigits) : QDate();
}

// Plain decimals ("-12", "3,5" in French) are read without the locale's
// general parser, which is slow on large columns; anything else goes to it.
std::optional<double> plainDecimal(QStringView text, QChar decimalPoint, bool plainMinus) {
    if (text.isEmpty() || text.size() > 40) return std::nullopt;
    char buffer[48];
    qsizetype length = 0;
    bool digits = false;
    bool point = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            buffer[length++] = char(c.unicode());
            digits = true;
        } else if (c == decimalPoint && !point && digits) {
            buffer[length++] = '.';
            point = true;
        } else if (c == QLatin1Char('-') && i == 0 && plainMinus) {
            buffer[length++] = '-';
        } else {
            return std::nullopt;
        }
    }
    if (!digits || buffer[length - 1] == '.') return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(buffer, buffer + length, value);
    if (error != std::errc() || end != buffer + length) return std::nullopt;
    return value;
}

bool hasLetter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

} // namespace

std::optional<double> toNumber(const QString& text, const QLocale& locale) {
    const QString decimal = locale.decimalPoint();
    if (decimal.size() == 1) {
        const bool plainMinus = locale.negativeSign() == QLatin1String("-");
        if (const auto value = plainDecimal(QStringView(text), decimal[0], plainMinus))
            return value;
    }
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> toTime(const QString& text, const QLocale& locale) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    for (const QString& format : timeFormats(locale)) {
        const QTime time = locale.toTime(trimmed, format);
        if (time.isValid()) return time.msecsSinceStartOfDay() / kMsecsPerDay;
    }
    return std::nullopt;
}

std::optional<double> toDateTime(const QString& text, const QLocale& locale) {
    static const QRegularExpression kBlanks(QStringLiteral("\\s+"));
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    const qsizetype gap = trimmed.indexOf(kBlanks);
    const QString datePart = gap < 0 ? trimmed : trimmed.left(gap);
    const QString timePart = gap < 0 ? QString() : trimmed.mid(gap).trimmed();
    const QDate date = toDate(datePart, locale);
    if (!date.isValid()) return toTime(trimmed, locale);
    double days = kDayZero.daysTo(date);
    if (timePart.isEmpty()) return days;
    const std::optional<double> time = toTime(timePart, locale);
    if (!time) return std::nullopt;
    return days + (days < 0 ? -*time : *time);
}

std::optional<double> toValue(TSortKind kind, const QString& text, const QLocale& locale) {
    switch (kind) {
    case skNumeric:
        return toNumber(text, locale);
    case skDateTime:
        return toDateTime(text, locale);
    case skTime:
        return toTime(text, locale);
    default:
        return std::nullopt;
    }
}

bool SortKindDetector::feed(const QString& text) {
    if (m_numeric && !toNumber(text, m_locale)) m_numeric = false;
    if (m_time && !toTime(text, m_locale)) m_time = false;
    if (m_dateTime && !toDateTime(text, m_locale)) m_dateTime = false;
    return m_numeric || m_dateTime || m_time;
}

TSortKind SortKindDetector::result() const {
    if (m_numeric) return skNumeric;
    if (m_dateTime) return skDateTime;
    if (m_time) return skTime;
    return skText;
}

SortComparer::SortComparer(const TSortOptions& options, const QLocale& locale)
    : m_options(options)
    , m_locale(locale)
    , m_collator(locale) {
    m_collator.setCaseSensitivity(Qt::CaseSensitive);
}

int SortComparer::compareKeys(const TSortedListEntry& l, const Item& li, const TSortedListEntry& r,
                              const Item& ri) const {
    switch (m_options.SortKind) {
    case skNumeric:
    case skDateTime:
    case skTime:
        if (!li.value || !ri.value) return 0;
        return *li.value < *ri.value ? -1 : (*li.value > *ri.value ? 1 : 0);
    case skCustom:
        return m_options.CompareProc ? m_options.CompareProc(l.Key, r.Key) : 0;
    default: {
        const int order = m_textKeys[li.entry].compare(m_textKeys[ri.entry]);
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    }
}

void SortComparer::sort(std::vector<TSortedListEntry>& entries) {
    const TSortKind kind = m_options.SortKind;
    const bool isText =
        kind != skNumeric && kind != skDateTime && kind != skTime && kind != skCustom;
    std::vector<Item> items;
    items.reserve(entries.size());
    m_textKeys.clear();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        TSortedListEntry& entry = entries[i];
        if (!m_options.CaseSensitive && hasLetter(entry.Key))
            entry.Key = m_locale.toUpper(entry.Key);
        if (isText) m_textKeys.push_back(m_collator.sortKey(entry.Key));
        items.push_back({i, toValue(kind, entry.Key, m_locale)});
    }
    const bool descending = m_options.SortDirection == sdDescending;
    // stable_sort stays within bounds even when a custom comparison or keys
    // that do not convert make the order inconsistent.
    std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        const TSortedListEntry& l = entries[a.entry];
        const TSortedListEntry& r = entries[b.entry];
        int result = compareKeys(l, a, r, b);
        if (result == 0) return l.SourceRow < r.SourceRow;
        return descending ? result > 0 : result < 0;
    });
    std::vector<TSortedListEntry> sorted;
    sorted.reserve(entries.size());
    for (const Item& item : items) sorted.push_back(std::move(entries[item.entry]));
    entries.swap(sorted);
}

} // namespace sortkeys

} // namespace brx
