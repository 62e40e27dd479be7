#pragma once
// Builds small PE32 files whose only section, ".rsrc", holds the resources a
// test chooses, and the icon images (DIBs of one colour) they carry.

#include <QByteArray>
#include <QList>
#include <cstdint>

namespace brx::test {

// size bytes of v, little-endian; bytes past the fourth are 0.
inline void putLe(QByteArray& b, uint32_t v, int size) {
    for (int i = 0; i < size; ++i) b.append(i < 4 ? char((v >> (8 * i)) & 0xFF) : '\0');
}

inline void setLe(QByteArray& b, qsizetype at, uint32_t v, int size) {
    for (int i = 0; i < size; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// The DIB of an icon image of side x side pixels, all of colour rgb (for
// bitCount 4 or 8: palette entry 1 is that colour), with an empty mask.
inline QByteArray iconImage(int side, int bitCount, uint32_t rgb) {
    QByteArray dib;
    putLe(dib, 40, 4);
    putLe(dib, uint32_t(side), 4);
    putLe(dib, uint32_t(side * 2), 4); // colour rows and mask rows
    putLe(dib, 1, 2);
    putLe(dib, uint32_t(bitCount), 2);
    putLe(dib, 0, 4);
    const int rowBytes = ((side * bitCount + 31) / 32) * 4;
    const int maskRowBytes = ((side + 31) / 32) * 4;
    putLe(dib, uint32_t(rowBytes * side + maskRowBytes * side), 4);
    dib.append(QByteArray(16, '\0'));
    // Palette entries and pixels are stored blue, green, red(, alpha): as
    // little-endian numbers, 0x(AA)RRGGBB.
    if (bitCount <= 8) {
        const int colours = 1 << bitCount;
        for (int i = 0; i < colours; ++i) putLe(dib, i == 1 ? rgb : 0, 4);
        const char index = bitCount == 4 ? char(0x11) : char(1);
        dib.append(QByteArray(rowBytes * side, index));
    } else {
        for (int i = 0; i < side * side; ++i) putLe(dib, 0xFF000000u | rgb, 4);
    }
    dib.append(QByteArray(maskRowBytes * side, '\0'));
    return dib;
}

struct Resource {
    uint32_t type = 0;
    uint32_t id = 0;
    QByteArray data;
};

struct GroupImage {
    int side = 32;
    int bitCount = 4;
    uint32_t bytes = 0;
    uint32_t iconId = 0;
};

inline QByteArray groupIcon(const QList<GroupImage>& images) {
    QByteArray group;
    putLe(group, 0, 2);
    putLe(group, 1, 2);
    putLe(group, uint32_t(images.size()), 2);
    for (const GroupImage& image : images) {
        putLe(group, uint32_t(image.side & 0xFF), 1);
        putLe(group, uint32_t(image.side & 0xFF), 1);
        putLe(group, image.bitCount == 4 ? 16 : 0, 1);
        putLe(group, 0, 1);
        putLe(group, 1, 2);
        putLe(group, uint32_t(image.bitCount), 2);
        putLe(group, image.bytes, 4);
        putLe(group, image.iconId, 2);
    }
    return group;
}

constexpr uint32_t kResourceRva = 0x1000;
constexpr uint32_t kResourceFileOffset = 0x200;

// The resource tree: root, one directory per type, one per name with one
// language (0x409), the data entries, then the data (types and names are
// grouped in the order given).
inline QByteArray resourceSection(const QList<Resource>& resources) {
    QList<uint32_t> types;
    for (const Resource& r : resources)
        if (!types.contains(r.type)) types.append(r.type);
    const auto namesOf = [&](uint32_t type) {
        QList<const Resource*> names;
        for (const Resource& r : resources)
            if (r.type == type) names.append(&r);
        return names;
    };
    // Offsets: root, type directories, language directories, data entries, data.
    uint32_t at = 16 + 8 * uint32_t(types.size());
    QList<uint32_t> typeDirs;
    for (uint32_t type : types) {
        typeDirs.append(at);
        at += 16 + 8 * uint32_t(namesOf(type).size());
    }
    const uint32_t languageDirs = at;
    at += uint32_t(resources.size()) * 24;
    const uint32_t dataEntries = at;
    at += uint32_t(resources.size()) * 16;
    QByteArray tree;
    auto directory = [&tree](int count) {
        putLe(tree, 0, 12);
        putLe(tree, 0, 2);
        putLe(tree, uint32_t(count), 2);
    };
    directory(int(types.size()));
    for (int t = 0; t < types.size(); ++t) {
        putLe(tree, types[t], 4);
        putLe(tree, 0x80000000u | typeDirs[t], 4);
    }
    // Resources in tree order, to number their language directories.
    QList<const Resource*> ordered;
    for (uint32_t type : types) ordered += namesOf(type);
    for (uint32_t type : types) {
        const auto names = namesOf(type);
        directory(int(names.size()));
        for (const Resource* r : names) {
            putLe(tree, r->id, 4);
            putLe(tree, 0x80000000u | (languageDirs + 24 * uint32_t(ordered.indexOf(r))), 4);
        }
    }
    for (int i = 0; i < ordered.size(); ++i) {
        directory(1);
        putLe(tree, 0x409, 4);
        putLe(tree, dataEntries + 16 * uint32_t(i), 4);
    }
    QByteArray data;
    for (const Resource* r : ordered) {
        putLe(tree, kResourceRva + at + uint32_t(data.size()), 4);
        putLe(tree, uint32_t(r->data.size()), 4);
        putLe(tree, 0, 8);
        data += r->data;
        while (data.size() % 4) data.append('\0');
    }
    return tree + data;
}

// A PE32 file whose ".rsrc" section holds the resources.
inline QByteArray peFile(const QList<Resource>& resources) {
    const QByteArray section = resourceSection(resources);
    QByteArray pe("MZ");
    pe.append(QByteArray(58, '\0'));
    putLe(pe, 64, 4); // e_lfanew
    pe += QByteArray("PE\0\0", 4);
    putLe(pe, 0x14C, 2); // i386
    putLe(pe, 1, 2);     // one section
    putLe(pe, 0, 12);
    putLe(pe, 224, 2);
    putLe(pe, 0x2102, 2); // executable, 32-bit, DLL
    QByteArray optional(224, '\0');
    setLe(optional, 0, 0x10B, 2);
    setLe(optional, 92, 16, 4); // data directories
    setLe(optional, 96 + 2 * 8, kResourceRva, 4);
    setLe(optional, 96 + 2 * 8 + 4, uint32_t(section.size()), 4);
    pe += optional;
    QByteArray header(".rsrc\0\0\0", 8);
    putLe(header, uint32_t(section.size()), 4);
    putLe(header, kResourceRva, 4);
    putLe(header, uint32_t(section.size()), 4);
    putLe(header, kResourceFileOffset, 4);
    putLe(header, 0, 12);
    putLe(header, 0x40000040, 4);
    pe += header;
    pe.append(QByteArray(kResourceFileOffset - pe.size(), '\0'));
    return pe + section;
}

// Two group icons: the first holds a 16 x 16 green image, a 32 x 32
// 16-colour blue one and a 32 x 32 true-colour red one; the second a 32 x 32
// 16-colour yellow one.
inline QByteArray twoIconLibrary() {
    const QByteArray green = iconImage(16, 8, 0x00FF00);
    const QByteArray blue = iconImage(32, 4, 0x0000FF);
    const QByteArray red = iconImage(32, 32, 0xFF0000);
    const QByteArray yellow = iconImage(32, 4, 0xFFFF00);
    return peFile({
        {3, 1, green},
        {3, 2, blue},
        {3, 3, red},
        {3, 7, yellow},
        {14, 101,
         groupIcon({{16, 8, uint32_t(green.size()), 1},
                    {32, 4, uint32_t(blue.size()), 2},
                    {32, 32, uint32_t(red.size()), 3}})},
        {14, 102, groupIcon({{32, 4, uint32_t(yellow.size()), 7}})},
    });
}

} // namespace brx::test
