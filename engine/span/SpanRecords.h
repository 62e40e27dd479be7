#pragma once
// The fixed parts of the ZIP records the volume copier rewrites, kept as raw
// little-endian bytes so that everything it does not touch is copied as is.

#include <QByteArray>

#include <cstdint>

namespace brx {

inline constexpr uint32_t kSpanSignature = 0x08074b50;
inline constexpr uint32_t kLocalSignature = 0x04034b50;
inline constexpr uint32_t kCentralSignature = 0x02014b50;
inline constexpr uint32_t kEndSignature = 0x06054b50;

inline constexpr int kLocalSize = 30;
inline constexpr int kCentralSize = 46;
inline constexpr int kEndSize = 22;
inline constexpr int kDescriptorSize = 16;

uint16_t getLe16(const QByteArray& bytes, int pos);
uint32_t getLe32(const QByteArray& bytes, int pos);
void setLe16(QByteArray& bytes, int pos, uint16_t value);
void setLe32(QByteArray& bytes, int pos, uint32_t value);
QByteArray le32Bytes(uint32_t value);

// Local header: flags at 6, compressed size at 18, name length at 26, extra at 28.
struct VolumeLocalHeader {
    QByteArray raw; // kLocalSize bytes
    uint32_t signature() const { return getLe32(raw, 0); }
    uint16_t flags() const { return getLe16(raw, 6); }
    uint32_t compressedSize() const { return getLe32(raw, 18); }
    uint16_t nameLength() const { return getLe16(raw, 26); }
    uint16_t extraLength() const { return getLe16(raw, 28); }
    bool hasDescriptor() const { return flags() & 0x0008; }
};

// Central header: compressed size at 20, lengths at 28/30/32, disk at 34,
// local-header offset at 42.
struct VolumeCentralHeader {
    QByteArray raw; // kCentralSize bytes
    uint32_t signature() const { return getLe32(raw, 0); }
    uint32_t compressedSize() const { return getLe32(raw, 20); }
    uint16_t nameLength() const { return getLe16(raw, 28); }
    uint16_t extraLength() const { return getLe16(raw, 30); }
    uint16_t commentLength() const { return getLe16(raw, 32); }
    uint16_t diskNumberStart() const { return getLe16(raw, 34); }
    uint32_t localHeaderOffset() const { return getLe32(raw, 42); }
    void setDiskNumberStart(uint16_t disk) { setLe16(raw, 34, disk); }
    void setLocalHeaderOffset(uint32_t offset) { setLe32(raw, 42, offset); }
};

// End of central directory record.
struct VolumeEndRecord {
    QByteArray raw; // kEndSize bytes
    uint16_t thisDisk() const { return getLe16(raw, 4); }
    uint16_t directoryDisk() const { return getLe16(raw, 6); }
    uint16_t entriesOnDisk() const { return getLe16(raw, 8); }
    uint16_t totalEntries() const { return getLe16(raw, 10); }
    uint32_t directorySize() const { return getLe32(raw, 12); }
    uint32_t directoryOffset() const { return getLe32(raw, 16); }
    uint16_t commentLength() const { return getLe16(raw, 20); }
    void setThisDisk(uint16_t disk) { setLe16(raw, 4, disk); }
    void setDirectoryDisk(uint16_t disk) { setLe16(raw, 6, disk); }
    void setDirectoryOffset(uint32_t offset) { setLe32(raw, 16, offset); }
};

} // namespace brx
