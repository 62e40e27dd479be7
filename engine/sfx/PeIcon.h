#pragma once
// Icons inside a PE executable's resources: the 744-byte 32 x 32 16-colour
// image the self-extractor stub carries as RT_ICON 1, and the first icon of
// a self-extracting program when it is turned back into a ZIP.

#include <QByteArray>
#include <optional>

namespace brx {

inline constexpr int kStubIconImageSize = 744;
inline constexpr int kIconFileSize = 766; // 6-byte directory + 16-byte entry + image

enum class IconSearch {
    Found,
    NotPe,
    NoIcon
};

struct IconLocation {
    IconSearch result = IconSearch::NotPe;
    qint64 fileOffset = -1; // of the 744 image bytes, when found
};

// The walk the conversion relies on: "MZ" with "PE\0\0" at the offset held
// at 60, the section table after a 224-byte optional header, the ".rsrc"
// section holding data directory 2, then type 3, name 1, any language, the
// first data entry of exactly 744 bytes.
IconLocation findStubIcon(const QByteArray& pe);

// The image of the first icon (type 3; name 1 first, else the first one) of
// any size, wrapped as an .ico file; nothing when the file holds none.
std::optional<QByteArray> firstIconAsIco(const QByteArray& pe);

} // namespace brx
