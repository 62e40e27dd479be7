#pragma once
// Builds ZIP archives byte by byte, so that tests control every field,
// including the wrong ones.

#include "ZipBuilder.h" // tests/archives

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

namespace brx::test {

struct RawEntry {
    QByteArray name;
    QByteArray data; // stored as is (method 0)
    uint16_t flags = 0;
    uint8_t host = 3;
    uint8_t version = 20;
    QByteArray comment;
    uint32_t crc = 0x12345678;
    uint32_t dosDateTime =
        (uint32_t((2020 - 1980) << 9 | 3 << 5 | 14) << 16) | (10u << 11 | 30u << 5 | 8u);
};

class ZipBytes {
public:
    static void put16(QByteArray& b, uint16_t v) { b.append(char(v & 0xFF)).append(char(v >> 8)); }
    static void put32(QByteArray& b, uint32_t v) {
        put16(b, uint16_t(v & 0xFFFF));
        put16(b, uint16_t(v >> 16));
    }

    // An archive of the entries (made by the shared test archive builder);
    // prefix goes in front. With rebase the offsets count from the start of
    // the file (prefix included), otherwise from the start of the archive
    // proper.
    static QByteArray archive(const QList<RawEntry>& entries,
                              const QByteArray& archiveComment = QByteArray(),
                              const QByteArray& prefix = QByteArray(), bool rebase = true) {
        std::vector<ziptest::BuildEntry> built;
        for (const RawEntry& e : entries)
            built.push_back({.name = e.name.toStdString(),
                             .data = e.data.toStdString(),
                             .method = 0,
                             .extraFlags = e.flags,
                             .host = e.host,
                             .version = e.version,
                             .dosTime = uint16_t(e.dosDateTime & 0xFFFF),
                             .dosDate = uint16_t(e.dosDateTime >> 16),
                             .crc = e.crc,
                             .comment = e.comment.toStdString()});
        return QByteArray::fromStdString(
            ziptest::buildZip(built, {.prefix = prefix.toStdString(),
                                      .rebase = rebase,
                                      .comment = archiveComment.toStdString()}));
    }

    static QByteArray centralHeader(const RawEntry& e, uint32_t offset) {
        QByteArray h;
        put32(h, 0x02014b50);
        h.append(char(e.version)).append(char(e.host));
        put16(h, 20);
        put16(h, e.flags);
        put16(h, 0);
        put32(h, e.dosDateTime);
        put32(h, e.crc);
        put32(h, uint32_t(e.data.size()));
        put32(h, uint32_t(e.data.size()));
        put16(h, uint16_t(e.name.size()));
        put16(h, 0);
        put16(h, uint16_t(e.comment.size()));
        put16(h, 0);
        put16(h, 0);
        put32(h, 0);
        put32(h, offset);
        return h + e.name + e.comment;
    }

    static QByteArray endRecord(uint16_t entries, uint32_t centralSize, uint32_t centralOffset,
                                const QByteArray& comment = QByteArray(), uint16_t thisDisk = 0,
                                uint16_t centralDisk = 0) {
        QByteArray r;
        put32(r, 0x06054b50);
        put16(r, thisDisk);
        put16(r, centralDisk);
        put16(r, entries);
        put16(r, entries);
        put32(r, centralSize);
        put32(r, centralOffset);
        put16(r, uint16_t(comment.size()));
        return r + comment;
    }
};

} // namespace brx::test
