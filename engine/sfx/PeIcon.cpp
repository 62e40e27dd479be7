#include "engine/sfx/PeIcon.h"

#include <QtEndian>

namespace brx {
namespace {

constexpr quint32 kPeSignature = 0x00004550;  // "PE\0\0"
constexpr int kSectionTableOffset = 248;      // 4 + 20-byte file header + 224-byte optional header
constexpr int kResourceDirectoryOffset = 136; // data directory 2 of a PE32 optional header
constexpr int kSectionEntrySize = 40;
constexpr quint32 kRtIcon = 3;
constexpr int kMaxDepth = 3;

// Bounds-checked little-endian reads; out of range reads give nothing.
struct Bytes {
    const QByteArray& data;
    bool has(qint64 pos, qint64 n) const { return pos >= 0 && n >= 0 && pos + n <= data.size(); }
    std::optional<quint32> u32(qint64 pos) const {
        if (!has(pos, 4)) return std::nullopt;
        return qFromLittleEndian<quint32>(data.constData() + pos);
    }
    std::optional<quint16> u16(qint64 pos) const {
        if (!has(pos, 2)) return std::nullopt;
        return qFromLittleEndian<quint16>(data.constData() + pos);
    }
};

struct ResourceSection {
    qint64 virtualAddress = 0;
    qint64 rawPointer = 0;
    qint64 rawSize = 0;
    qint64 rootOffset = 0; // file offset of the resource directory root
    qint64 toFile(qint64 rva) const { return rva - virtualAddress + rawPointer; }
};

std::optional<ResourceSection> findResourceSection(const Bytes& b) {
    if (!b.has(0, 64) || b.data[0] != 'M' || b.data[1] != 'Z') return std::nullopt;
    const auto pe = b.u32(60);
    if (!pe || b.u32(*pe) != kPeSignature) return std::nullopt;
    const auto count = b.u16(*pe + 6);
    const auto directoryRva = b.u32(*pe + kResourceDirectoryOffset);
    for (int i = 0; count && directoryRva && i < *count; ++i) {
        const qint64 entry = *pe + kSectionTableOffset + qint64(i) * kSectionEntrySize;
        if (!b.has(entry, kSectionEntrySize) ||
            b.data.mid(entry, 8) != QByteArray(".rsrc\0\0\0", 8))
            continue;
        ResourceSection s{*b.u32(entry + 12), *b.u32(entry + 20), *b.u32(entry + 16), 0};
        const qint64 span = std::max<qint64>(*b.u32(entry + 8), s.rawSize);
        if (*directoryRva < s.virtualAddress || *directoryRva >= s.virtualAddress + span)
            return std::nullopt;
        s.rootOffset = s.toFile(*directoryRva);
        return s;
    }
    return std::nullopt;
}

struct DataEntry {
    qint64 fileOffset;
    qint64 size;
};

// Walks one directory; at level 0 only type 3, at level 1 only the wanted
// name (0 = any), named entries never. accept decides on each data entry.
template <typename Accept>
std::optional<DataEntry> walk(const Bytes& b, const ResourceSection& s, qint64 dir, int level,
                              quint32 wantedName, Accept accept) {
    const auto named = b.u16(s.rootOffset + dir + 12);
    const auto ids = b.u16(s.rootOffset + dir + 14);
    if (!named || !ids || level > kMaxDepth) return std::nullopt;
    for (int i = *named; i < *named + *ids; ++i) {
        const qint64 entry = s.rootOffset + dir + 16 + qint64(i) * 8;
        const auto id = b.u32(entry);
        const auto target = b.u32(entry + 4);
        if (!id || !target || (*id & 0x80000000u)) continue;
        if ((level == 0 && *id != kRtIcon) || (level == 1 && wantedName != 0 && *id != wantedName))
            continue;
        if (*target & 0x80000000u) {
            if (auto found = walk(b, s, *target & 0x7FFFFFFFu, level + 1, wantedName, accept))
                return found;
            continue;
        }
        const auto rva = b.u32(s.rootOffset + *target);
        const auto size = b.u32(s.rootOffset + *target + 4);
        if (rva && size && accept(*size)) return DataEntry{s.toFile(*rva), *size};
    }
    return std::nullopt;
}

// Directory entry fields from the image: BITMAPINFOHEADER or PNG IHDR.
QByteArray icoDirectoryFor(const QByteArray& image) {
    Bytes b{image};
    int width = 0, height = 0, bits = 0;
    if (image.startsWith("\x89PNG") && b.has(16, 8)) {
        width = qFromBigEndian<quint32>(image.constData() + 16);
        height = qFromBigEndian<quint32>(image.constData() + 20);
        bits = 32;
    } else if (b.has(0, 16)) {
        width = int(*b.u32(4));
        height = int(*b.u32(8)) / 2;
        bits = *b.u16(14);
    }
    QByteArray dir(22, '\0');
    qToLittleEndian<quint16>(1, dir.data() + 2);
    qToLittleEndian<quint16>(1, dir.data() + 4);
    dir[6] = char(width >= 256 ? 0 : width);
    dir[7] = char(height >= 256 ? 0 : height);
    dir[8] = char(bits > 0 && bits < 8 ? 1 << bits : 0);
    qToLittleEndian<quint16>(1, dir.data() + 10);
    qToLittleEndian<quint16>(quint16(bits), dir.data() + 12);
    qToLittleEndian<quint32>(quint32(image.size()), dir.data() + 14);
    qToLittleEndian<quint32>(22, dir.data() + 18);
    return dir;
}

} // namespace

IconLocation findStubIcon(const QByteArray& pe) {
    const Bytes b{pe};
    const auto section = findResourceSection(b);
    if (!section)
        return {b.has(0, 64) && pe.startsWith("MZ") && b.u32(*b.u32(60)) == kPeSignature
                    ? IconSearch::NoIcon
                    : IconSearch::NotPe};
    const auto entry =
        walk(b, *section, 0, 0, 1, [](qint64 size) { return size == kStubIconImageSize; });
    if (!entry || !b.has(entry->fileOffset, kStubIconImageSize)) return {IconSearch::NoIcon};
    return {IconSearch::Found, entry->fileOffset};
}

std::optional<QByteArray> firstIconAsIco(const QByteArray& pe) {
    const Bytes b{pe};
    const auto section = findResourceSection(b);
    if (!section) return std::nullopt;
    const auto any = [](qint64) { return true; };
    auto entry = walk(b, *section, 0, 0, 1, any);
    if (!entry) entry = walk(b, *section, 0, 0, 0, any);
    if (!entry || !b.has(entry->fileOffset, entry->size) || entry->size < 40) return std::nullopt;
    const QByteArray image = pe.mid(entry->fileOffset, entry->size);
    return icoDirectoryFor(image) + image;
}

} // namespace brx
