#pragma once
// Finds the widest of many short texts in one font without shaping each of
// them: a text's width is first predicted from the advances of its
// characters and the kerning of each neighbouring pair (each measured once),
// and only the texts predicted close to the widest (at most a few hundred)
// are measured in full, as QFontMetrics measures them. For a few hundred
// texts that is every one near the top, so the answer is exact; beyond, a
// text the pairs mispredict by more than a few pixels could be missed, which
// Latin text does not do.

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <vector>

namespace brx {

class TextWidthMeter {
public:
    explicit TextWidthMeter(const QFont& font);

    // The full measure of the widest text (0 for none).
    int widest(const std::vector<QString>& texts);
    // The predicted width of one text, in fractional pixels.
    qreal predicted(const QString& text);

    // The full measure of one text (each text measured once).
    int measured(const QString& text);

private:
    qreal advance(char16_t c);
    qreal kerning(char16_t left, char16_t right);

    QFontMetrics m_metrics;
    QFontMetricsF m_metricsF;
    // Latin-1 characters, the usual case, in flat tables (NaN: not measured
    // yet); any other character in the hashes.
    std::vector<qreal> m_latinAdvances;
    std::vector<qreal> m_latinKerning;
    QHash<char16_t, qreal> m_advances;
    QHash<quint32, qreal> m_kerning;
    QHash<QString, int> m_measured;
};

} // namespace brx
