#pragma once
// Icons held in the resources of a PE executable or library (.exe, .dll):
// the group icons (RT_GROUP_ICON) and the images they name (RT_ICON).
// Every read is checked against the file's bytes; a damaged or hostile file
// gives no icon, never a read outside the data.

#include <QByteArray>
#include <optional>

namespace brx {

// Icon number index of the file (0 is the first group icon, in the order of
// the resource directory) as a one-image .ico file: its 32 x 32 image of the
// most colours, or the image nearest to 32 x 32 when it has none. Nothing
// when the file is no PE file or holds no such icon.
std::optional<QByteArray> groupIconAsIco(const QByteArray& pe, int index);

} // namespace brx
