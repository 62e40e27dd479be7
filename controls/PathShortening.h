#pragma once
// The shortening of a long path to a width, as TFileLabel shows it: the
// drive part and the last component stay, "..." takes the place of the
// middle components that do not fit.

#include <QFontMetrics>
#include <QString>

#include <cstdint>

namespace brx {

enum TDirection : std::uint8_t {
    drFromLeft = 0, // keeps the components next to the last one
    drFromRight = 1 // keeps the components next to the drive part
};

QString ShortenPath(const QString& fileName, const QString& separator, TDirection direction,
                    const QFontMetrics& metrics, int width);

} // namespace brx
