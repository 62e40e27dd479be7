#include "engine/span/VolumeNames.h"

namespace brx {

namespace {

// Position of the extension's dot in the last path component, or the length
// of the path when the name has no extension.
qsizetype extensionPos(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? dot : path.size();
}

std::optional<int> threeDigits(const QString& text) {
    if (text.size() != 3) return std::nullopt;
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0) return std::nullopt;
    return n;
}

} // namespace

QString volumeNumberText(int n) {
    return QString::number(n + 1000).mid(1);
}

QString volumeLabelFor(int n) {
    return kSpanLabelPrefix + volumeNumberText(n);
}

std::optional<int> volumeNumberOfLabel(const QString& label) {
    if (!label.startsWith(kSpanLabelPrefix)) return std::nullopt;
    return threeDigits(label.mid(kSpanLabelPrefix.size(), 3));
}

QString volumeFileNameForWrite(const QString& firstVolume, int n) {
    const qsizetype pos = extensionPos(firstVolume);
    return firstVolume.left(pos) + volumeNumberText(n) + firstVolume.mid(pos);
}

QString volumeFileNameForRead(const QString& anyVolume, int n) {
    const qsizetype pos = extensionPos(anyVolume);
    const qsizetype nameStart = anyVolume.lastIndexOf(QLatin1Char('/')) + 1;
    if (pos - nameStart < 3) return volumeFileNameForWrite(anyVolume, n);
    return anyVolume.left(pos - 3) + volumeNumberText(n) + anyVolume.mid(pos);
}

std::optional<int> volumeNumberOfFileName(const QString& path) {
    const qsizetype pos = extensionPos(path);
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    if (pos - nameStart < 3) return std::nullopt;
    return threeDigits(path.mid(pos - 3, 3));
}

} // namespace brx
