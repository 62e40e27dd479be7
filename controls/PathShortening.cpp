#include "PathShortening.h"

#include <QStringList>

namespace brx {

namespace {

// "C:" and the like: longer than one character and ending with ":".
bool isDrivePart(const QString& component) {
    return component.size() > 1 && component.endsWith(QLatin1Char(':'));
}

struct Pieces {
    QStringList components;
    QString drive;    // D: drive part and separator, or empty
    QString ellipsis; // E: "..." and separator
    QString last;     // L
    qsizetype firstMiddle = 0;
};

Pieces splitPath(const QString& fileName, const QString& separator) {
    Pieces pieces;
    // Every separator splits, however long the path is.
    pieces.components = fileName.split(separator);
    pieces.last = pieces.components.last();
    pieces.ellipsis = QStringLiteral("...") + separator;
    if (isDrivePart(pieces.components.first())) {
        pieces.drive = pieces.components.first() + separator;
        pieces.firstMiddle = 1;
    }
    return pieces;
}

} // namespace

QString ShortenPath(const QString& fileName, const QString& separator, TDirection direction,
                    const QFontMetrics& metrics, int width) {
    auto w = [&metrics](const QString& text) { return metrics.horizontalAdvance(text); };
    if (fileName.isEmpty() || separator.isEmpty() || w(fileName) <= width) return fileName;

    const Pieces p = splitPath(fileName, separator);
    const int fixed = w(p.last) + w(p.ellipsis);
    if (fixed >= width) return p.last;
    if (fixed + w(p.drive) >= width) return p.ellipsis + p.last;

    const int room = width - fixed - w(p.drive);
    const qsizetype lastMiddle = p.components.size() - 2;
    QString kept;
    if (direction == drFromLeft) {
        for (qsizetype i = lastMiddle; i >= p.firstMiddle; --i) {
            const QString candidate = p.components[i] + separator + kept;
            if (w(candidate) > room) break;
            kept = candidate;
        }
        return p.drive + p.ellipsis + kept + p.last;
    }
    for (qsizetype i = p.firstMiddle; i <= lastMiddle; ++i) {
        const QString candidate = kept + p.components[i] + separator;
        if (w(candidate) > room) break;
        kept = candidate;
    }
    return p.drive + kept + p.ellipsis + p.last;
}

} // namespace brx
