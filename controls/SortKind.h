#pragma once
// Reading sort keys as numbers, dates and times in a given locale, telling
// the kind of a column from its texts, and ordering sort entries.

#include "SortGridTypes.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <optional>
#include <vector>

namespace brx {

namespace sortkeys {

std::optional<double> toNumber(const QString& text, const QLocale& locale);
// Fraction of a day.
std::optional<double> toTime(const QString& text, const QLocale& locale);
// Days since 30 December 1899 plus the fraction of the day; a time alone is
// a time on that day.
std::optional<double> toDateTime(const QString& text, const QLocale& locale);
// The conversion a kind compares with; none for text and custom kinds.
std::optional<double> toValue(TSortKind kind, const QString& text, const QLocale& locale);

// Fed with a column's texts top-down: numeric, date-time and time stay
// candidates until a text fails to convert.
class SortKindDetector {
public:
    explicit SortKindDetector(const QLocale& locale) : m_locale(locale) {}
    // Returns false once no candidate is left.
    bool feed(const QString& text);
    TSortKind result() const;

private:
    QLocale m_locale;
    bool m_numeric = true;
    bool m_dateTime = true;
    bool m_time = true;
};

// Orders the entries of one sort. Keys are upper-cased in place when the
// sort ignores case; conversions are done once per key. Equal keys (and
// keys that do not convert) keep the order of their source rows.
class SortComparer {
public:
    SortComparer(const TSortOptions& options, const QLocale& locale);
    void sort(std::vector<TSortedListEntry>& entries);

private:
    struct Item {
        std::size_t entry;
        std::optional<double> value;
    };
    int compareKeys(const TSortedListEntry& l, const Item& li, const TSortedListEntry& r,
                    const Item& ri) const;

    TSortOptions m_options;
    QLocale m_locale;
    QCollator m_collator;
    std::vector<QCollatorSortKey> m_textKeys;
};

} // namespace sortkeys

} // namespace brx
