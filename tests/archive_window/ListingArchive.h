#pragma once
// Writes small ZIP archives whose central directory declares the sizes a
// test chooses (the listing reads only the directory), with each entry's
// data present in full when it is small.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <cstdint>

namespace brx::test {

struct ListedEntry {
    QByteArray name;
    uint32_t compressed = 0;
    uint32_t uncompressed = 0;
    uint32_t dosDateTime = 0x52A57A00; // 2021-05-05 15:16:00
};

inline void put16(QByteArray& b, uint32_t v) {
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}
inline void put32(QByteArray& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

inline bool writeListingArchive(const QString& path, const QList<ListedEntry>& entries) {
    QByteArray out;
    QList<uint32_t> offsets;
    auto header = [](QByteArray& b, const ListedEntry& e) {
        put16(b, 20); // version needed
        put16(b, 0);  // flags
        put16(b, e.compressed == e.uncompressed ? 0 : 8);
        put32(b, e.dosDateTime);
        put32(b, 0); // crc
        put32(b, e.compressed);
        put32(b, e.uncompressed);
        put16(b, uint32_t(e.name.size()));
        put16(b, 0); // extra
    };
    for (const ListedEntry& e : entries) {
        offsets.append(uint32_t(out.size()));
        put32(out, 0x04034b50);
        header(out, e);
        out += e.name;
        if (e.compressed < 1u << 20) out += QByteArray(int(e.compressed), 'x');
    }
    const uint32_t centralStart = uint32_t(out.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        put32(out, 0x02014b50);
        put16(out, 0x0314); // made by: host 3, version 20
        header(out, entries[i]);
        put16(out, 0); // comment
        put16(out, 0); // disk
        put16(out, 0); // internal attributes
        put32(out, 0); // external attributes
        put32(out, offsets[i]);
        out += entries[i].name;
    }
    const uint32_t centralSize = uint32_t(out.size()) - centralStart;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, uint32_t(entries.size()));
    put16(out, uint32_t(entries.size()));
    put32(out, centralSize);
    put32(out, centralStart);
    put16(out, 0);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

} // namespace brx::test
