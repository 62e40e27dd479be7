#pragma once
// Minimal PE32 files for the icon tests: headers, a .text section and,
// when asked, a .rsrc section holding one RT_ICON 1 (language 0x409) of the
// given size, plus a decoy RT_BITMAP of 744 bytes that must not be taken.

#include <QByteArray>
#include <QtEndian>

namespace sfxtest {

struct PeShape {
    bool withResources = true;
    int iconSize = 744;
    char iconFill = 'I';
};

// File offset of the icon data in the built file (when it has resources).
inline constexpr int kIconDataOffset = 0x600 + 0x100;

inline void put16(QByteArray& b, int pos, quint16 v) {
    qToLittleEndian<quint16>(v, b.data() + pos);
}
inline void put32(QByteArray& b, int pos, quint32 v) {
    qToLittleEndian<quint32>(v, b.data() + pos);
}

inline void section(QByteArray& pe, int index, const char* name, quint32 va, quint32 size,
                    quint32 raw) {
    const int at = 0x80 + 248 + index * 40;
    pe.replace(at, int(qstrlen(name)), name);
    put32(pe, at + 8, size);
    put32(pe, at + 12, va);
    put32(pe, at + 16, size);
    put32(pe, at + 20, raw);
}

// One directory with one id entry pointing at target (a sub-directory when
// high bit set), at offset dir of the resource section.
inline void directory(QByteArray& pe, int rsrc, int dir, quint32 id, quint32 target) {
    put16(pe, rsrc + dir + 14, 1);
    put32(pe, rsrc + dir + 16, id);
    put32(pe, rsrc + dir + 20, target);
}

inline QByteArray buildPe(const PeShape& shape) {
    const int rsrcRaw = 0x600;
    const quint32 rsrcVa = 0x3000;
    QByteArray pe(rsrcRaw + 0x100 + qMax(shape.iconSize, 744) + 0x40, '\0');
    pe[0] = 'M';
    pe[1] = 'Z';
    put32(pe, 60, 0x80);
    pe.replace(0x80, 4, QByteArray("PE\0\0", 4));
    put16(pe, 0x84, 0x14c);                       // i386
    put16(pe, 0x86, shape.withResources ? 2 : 1); // sections
    put16(pe, 0x94, 224);                         // optional header size
    put16(pe, 0x98, 0x10b);                       // PE32
    section(pe, 0, ".text", 0x1000, 0x200, 0x400);
    if (!shape.withResources) return pe;
    section(pe, 1, ".rsrc", rsrcVa, quint32(pe.size() - rsrcRaw), rsrcRaw);
    put32(pe, 0x80 + 136, rsrcVa); // data directory 2
    put32(pe, 0x80 + 140, 0x100);
    // Root: type 2 (bitmap, decoy) then type 3 (icon).
    put16(pe, rsrcRaw + 14, 2);
    put32(pe, rsrcRaw + 16, 2);
    put32(pe, rsrcRaw + 20, 0x80000000u | 0x30);
    put32(pe, rsrcRaw + 24, 3);
    put32(pe, rsrcRaw + 28, 0x80000000u | 0x60);
    directory(pe, rsrcRaw, 0x30, 1, 0x80000000u | 0x48);
    directory(pe, rsrcRaw, 0x48, 0x409, 0xE0); // decoy data entry
    directory(pe, rsrcRaw, 0x60, 1, 0x80000000u | 0x78);
    directory(pe, rsrcRaw, 0x78, 0x409, 0xF0); // icon data entry
    put32(pe, rsrcRaw + 0xE0, rsrcVa);         // decoy points at the directory itself
    put32(pe, rsrcRaw + 0xE4, 744);
    put32(pe, rsrcRaw + 0xF0, rsrcVa + 0x100);
    put32(pe, rsrcRaw + 0xF4, quint32(shape.iconSize));
    pe.replace(kIconDataOffset, shape.iconSize, QByteArray(shape.iconSize, shape.iconFill));
    // A plausible BITMAPINFOHEADER at the front of the icon image.
    put32(pe, kIconDataOffset, 40);
    put32(pe, kIconDataOffset + 4, 32);
    put32(pe, kIconDataOffset + 8, 64);
    put16(pe, kIconDataOffset + 14, 4);
    return pe;
}

} // namespace sfxtest
