#include "archive_window/TextWidthMeter.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace brx {

namespace {

// How far a prediction may be from the full measure before a text could be
// missed: rounding, and shaping that goes beyond pairs of characters.
qreal margin(qreal widestPredicted) {
    return 3.0 + widestPredicted * 0.03;
}

// Combining marks, other scripts and surrogate pairs shape in ways pairs of
// characters do not predict: such texts are always measured in full.
bool isPlain(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x0300; });
}

// At most this many texts predicted near the widest are measured in full.
constexpr size_t kMostMeasured = 256;

// A table entry not measured yet.
constexpr qreal kUnknown = std::numeric_limits<qreal>::quiet_NaN();

} // namespace

TextWidthMeter::TextWidthMeter(const QFont& font)
    : m_metrics(font)
    , m_metricsF(font)
    , m_latinAdvances(256, kUnknown)
    , m_latinKerning(256 * 256, kUnknown) {}

qreal TextWidthMeter::advance(char16_t c) {
    if (c < 256) {
        qreal& known = m_latinAdvances[c];
        if (std::isnan(known)) known = m_metricsF.horizontalAdvance(QString(QChar(c)));
        return known;
    }
    const auto found = m_advances.constFind(c);
    if (found != m_advances.constEnd()) return *found;
    const qreal width = m_metricsF.horizontalAdvance(QString(QChar(c)));
    m_advances.insert(c, width);
    return width;
}

qreal TextWidthMeter::kerning(char16_t left, char16_t right) {
    const auto measurePair = [&] {
        const QChar pair[2] = {QChar(left), QChar(right)};
        return m_metricsF.horizontalAdvance(QString(pair, 2)) - advance(left) - advance(right);
    };
    if (left < 256 && right < 256) {
        qreal& known = m_latinKerning[size_t(left) << 8 | right];
        if (std::isnan(known)) known = measurePair();
        return known;
    }
    const quint32 key = quint32(left) << 16 | right;
    const auto found = m_kerning.constFind(key);
    if (found != m_kerning.constEnd()) return *found;
    const qreal value = measurePair();
    m_kerning.insert(key, value);
    return value;
}

int TextWidthMeter::measured(const QString& text) {
    const auto found = m_measured.constFind(text);
    if (found != m_measured.constEnd()) return *found;
    const int width = m_metrics.horizontalAdvance(text);
    m_measured.insert(text, width);
    return width;
}

qreal TextWidthMeter::predicted(const QString& text) {
    qreal width = 0;
    char16_t previous = 0;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        width += advance(unit);
        if (previous != 0) width += kerning(previous, unit);
        previous = unit;
    }
    return width;
}

int TextWidthMeter::widest(const std::vector<QString>& texts) {
    struct Candidate {
        qreal prediction;
        const QString* text;
    };
    std::vector<Candidate> candidates;
    candidates.reserve(texts.size());
    qreal top = 0;
    int widest = 0;
    for (const QString& text : texts) {
        if (isPlain(text)) {
            candidates.push_back({predicted(text), &text});
            top = std::max(top, candidates.back().prediction);
        } else {
            widest = std::max(widest, measured(text));
        }
    }
    const qreal threshold = top - margin(top);
    std::erase_if(candidates, [threshold](const Candidate& c) { return c.prediction < threshold; });
    // Texts of one length in digits predict alike by the thousand: the ones
    // predicted widest stand for them all.
    if (candidates.size() > kMostMeasured) {
        std::nth_element(
            candidates.begin(), candidates.begin() + kMostMeasured, candidates.end(),
            [](const Candidate& a, const Candidate& b) { return a.prediction > b.prediction; });
        candidates.resize(kMostMeasured);
    }
    for (const Candidate& candidate : candidates)
        widest = std::max(widest, measured(*candidate.text));
    return widest;
}

} // namespace brx
