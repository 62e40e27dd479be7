#include "support/PeIcons.h"

#include <QList>

#include <cstdint>
#include <cstdlib>

namespace brx {

namespace {

constexpr uint32_t kTypeIcon = 3;       // RT_ICON
constexpr uint32_t kTypeGroupIcon = 14; // RT_GROUP_ICON
constexpr uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr int kMaxDirectoryEntries = 4096;

// Little-endian reads at absolute offsets; any read past the end clears ok,
// so a run of reads is checked once.
class Bytes {
public:
    explicit Bytes(const QByteArray& data) : m_data(data) {}

    bool ok = true;

    bool has(qint64 offset, qint64 count) const {
        return offset >= 0 && count >= 0 && offset <= m_data.size() &&
               count <= m_data.size() - offset;
    }
    uint32_t u8(qint64 offset) { return uint32_t(get(offset, 1)); }
    uint32_t u16(qint64 offset) { return uint32_t(get(offset, 2)); }
    uint32_t u32(qint64 offset) { return uint32_t(get(offset, 4)); }
    QByteArray slice(qint64 offset, qint64 count) {
        if (!has(offset, count)) return ok = false, QByteArray();
        return m_data.mid(offset, count);
    }

private:
    uint64_t get(qint64 offset, int size) {
        if (!has(offset, size)) return ok = false, 0;
        uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = (value << 8) | uint8_t(m_data.at(offset + i));
        return value;
    }

    const QByteArray& m_data;
};

struct Section {
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawPointer = 0;
};

// The parts of the headers the resource walk needs.
struct PeImage {
    QList<Section> sections;
    uint32_t resourceRva = 0;
};

std::optional<PeImage> readHeaders(Bytes& bytes) {
    if (bytes.u16(0) != 0x5A4D) return std::nullopt; // "MZ"
    const qint64 pe = bytes.u32(60);
    if (!bytes.ok || bytes.u32(pe) != 0x00004550) return std::nullopt; // "PE\0\0"
    const uint32_t sectionCount = bytes.u16(pe + 6);
    const qint64 optional = pe + 24;
    const qint64 sectionTable = optional + bytes.u16(pe + 20);
    // The data directories follow the optional header's fixed part, whose
    // length depends on PE32 (0x10B) or PE32+ (0x20B).
    const uint32_t magic = bytes.u16(optional);
    if (magic != 0x10B && magic != 0x20B) return std::nullopt;
    const qint64 countField = optional + (magic == 0x10B ? 92 : 108);
    if (bytes.u32(countField) < 3) return std::nullopt;
    PeImage image;
    image.resourceRva = bytes.u32(countField + 4 + 2 * 8);
    if (!bytes.ok || image.resourceRva == 0) return std::nullopt;
    for (uint32_t i = 0; i < sectionCount && bytes.ok; ++i) {
        const qint64 entry = sectionTable + qint64(i) * 40;
        image.sections.append(
            {bytes.u32(entry + 12), bytes.u32(entry + 16), bytes.u32(entry + 20)});
    }
    if (!bytes.ok) return std::nullopt;
    return image;
}

// The file offset of count bytes at rva, when they lie in one section's data.
std::optional<qint64> fileOffset(const PeImage& image, Bytes& bytes, uint32_t rva, qint64 count) {
    for (const Section& s : image.sections) {
        if (rva < s.virtualAddress) continue;
        const qint64 inside = qint64(rva) - s.virtualAddress;
        if (count > qint64(s.rawSize) || inside > qint64(s.rawSize) - count) continue;
        const qint64 offset = qint64(s.rawPointer) + inside;
        if (bytes.has(offset, count)) return offset;
    }
    return std::nullopt;
}

struct DirectoryEntry {
    uint32_t name = 0; // an id, or the high bit and a string offset
    uint32_t target = 0;
};

// A resource directory's entries, named ones first as they are stored.
// Offsets are relative to the resource root at rootOffset.
QList<DirectoryEntry> readDirectory(Bytes& bytes, qint64 rootOffset, uint32_t offset) {
    const qint64 at = rootOffset + offset;
    const int count = int(bytes.u16(at + 12) + bytes.u16(at + 14));
    QList<DirectoryEntry> entries;
    if (!bytes.ok || count > kMaxDirectoryEntries) return entries;
    for (int i = 0; i < count; ++i) {
        const DirectoryEntry entry{bytes.u32(at + 16 + 8 * i), bytes.u32(at + 20 + 8 * i)};
        if (!bytes.ok) return {};
        entries.append(entry);
    }
    return entries;
}

class ResourceTree {
public:
    ResourceTree(const PeImage& image, Bytes& bytes, qint64 root)
        : m_image(image)
        , m_bytes(bytes)
        , m_root(root) {}

    // The entries under one resource type (level 1: names or ids).
    QList<DirectoryEntry> namesOfType(uint32_t type) {
        for (const DirectoryEntry& entry : readDirectory(m_bytes, m_root, 0))
            if (entry.name == type && (entry.target & kSubdirectoryFlag))
                return readDirectory(m_bytes, m_root, entry.target & ~kSubdirectoryFlag);
        return {};
    }

    // The data of a name's first language (level 2).
    std::optional<QByteArray> firstLanguageData(const DirectoryEntry& name) {
        if (!(name.target & kSubdirectoryFlag)) return std::nullopt;
        const auto languages = readDirectory(m_bytes, m_root, name.target & ~kSubdirectoryFlag);
        if (languages.isEmpty() || (languages.first().target & kSubdirectoryFlag))
            return std::nullopt;
        const qint64 dataEntry = m_root + languages.first().target;
        const uint32_t rva = m_bytes.u32(dataEntry);
        const uint32_t size = m_bytes.u32(dataEntry + 4);
        if (!m_bytes.ok) return std::nullopt;
        const auto offset = fileOffset(m_image, m_bytes, rva, size);
        if (!offset) return std::nullopt;
        return m_bytes.slice(*offset, size);
    }

private:
    const PeImage& m_image;
    Bytes& m_bytes;
    qint64 m_root;
};

// One entry of a group icon: the image's description and its RT_ICON id.
struct GroupEntry {
    QByteArray description; // width, height, colours, reserved, planes, bit count
    int side = 0;
    int depth = 0;
    uint32_t iconId = 0;
};

QList<GroupEntry> readGroup(const QByteArray& group) {
    Bytes bytes(group);
    const uint32_t count = bytes.u16(4);
    QList<GroupEntry> entries;
    if (!bytes.ok || bytes.u16(2) != 1) return entries;
    for (uint32_t i = 0; i < count; ++i) {
        const qint64 at = 6 + qint64(i) * 14;
        GroupEntry entry;
        entry.description = bytes.slice(at, 8);
        const uint32_t width = bytes.u8(at);
        entry.side = width == 0 ? 256 : int(width);
        const uint32_t colours = bytes.u8(at + 2);
        const uint32_t bitCount = bytes.u16(at + 6);
        entry.depth = bitCount != 0 ? int(bitCount) : colours == 0 ? 8 : colours <= 2 ? 1 : 4;
        entry.iconId = bytes.u16(at + 12);
        if (!bytes.ok) return {};
        entries.append(entry);
    }
    return entries;
}

// Whether a is a better pick than b: 32 x 32 first, then the nearest size
// (the larger of two equally near, as it shrinks better), then more colours.
bool betterEntry(const GroupEntry& a, const GroupEntry& b) {
    const int distanceA = std::abs(a.side - 32);
    const int distanceB = std::abs(b.side - 32);
    if (distanceA != distanceB) return distanceA < distanceB;
    if (a.side != b.side) return a.side > b.side;
    return a.depth > b.depth;
}

const GroupEntry* bestEntry(const QList<GroupEntry>& entries) {
    const GroupEntry* best = nullptr;
    for (const GroupEntry& entry : entries)
        if (best == nullptr || betterEntry(entry, *best)) best = &entry;
    return best;
}

void putLe(QByteArray& out, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out.append(char((value >> (8 * i)) & 0xFF));
}

QByteArray oneImageIco(const GroupEntry& entry, const QByteArray& image) {
    QByteArray ico;
    putLe(ico, 0, 2);
    putLe(ico, 1, 2); // an icon
    putLe(ico, 1, 2); // one image
    ico += entry.description;
    putLe(ico, uint32_t(image.size()), 4);
    putLe(ico, 6 + 16, 4); // the image follows the directory
    return ico + image;
}

} // namespace

std::optional<QByteArray> groupIconAsIco(const QByteArray& pe, int index) {
    if (index < 0) return std::nullopt;
    Bytes bytes(pe);
    const auto image = readHeaders(bytes);
    if (!image) return std::nullopt;
    const auto root = fileOffset(*image, bytes, image->resourceRva, 16);
    if (!root) return std::nullopt;
    ResourceTree tree(*image, bytes, *root);
    const QList<DirectoryEntry> groups = tree.namesOfType(kTypeGroupIcon);
    if (index >= groups.size()) return std::nullopt;
    const auto group = tree.firstLanguageData(groups.at(index));
    if (!group) return std::nullopt;
    const QList<GroupEntry> entries = readGroup(*group);
    const GroupEntry* best = bestEntry(entries);
    if (best == nullptr) return std::nullopt;
    for (const DirectoryEntry& icon : tree.namesOfType(kTypeIcon)) {
        if (icon.name != best->iconId) continue;
        const auto data = tree.firstLanguageData(icon);
        if (!data || data->isEmpty()) return std::nullopt;
        return oneImageIco(*best, *data);
    }
    return std::nullopt;
}

} // namespace brx
