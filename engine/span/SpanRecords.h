#pragma once
// The ZIP records the volume copier rewrites, read and written by the ZIP
// format layer. A local header keeps its raw bytes too: the copier passes it
// on unchanged.

#include <QByteArray>

#include "zipcore/CentralDirectory.h"
#include "zipcore/EndRecord.h"
#include "zipcore/ZipFormat.h"

#include <cstdint>

namespace brx {

inline constexpr uint32_t kSpanSignature = zipcore::kDataDescriptorSig;
inline constexpr uint32_t kLocalSignature = zipcore::kLocalHeaderSig;
inline constexpr uint32_t kCentralSignature = zipcore::kCentralHeaderSig;
inline constexpr uint32_t kEndSignature = zipcore::kEndOfCentralSig;

inline constexpr int kLocalSize = zipcore::kLocalHeaderSize;
inline constexpr int kCentralSize = zipcore::kCentralHeaderSize;
inline constexpr int kEndSize = zipcore::kEndOfCentralSize;
inline constexpr int kDescriptorSize = 16;

// Little-endian fields of a byte array (0 past its end).
uint16_t getLe16(const QByteArray& bytes, int pos);
uint32_t getLe32(const QByteArray& bytes, int pos);
QByteArray le32Bytes(uint32_t value);

struct VolumeLocalHeader {
    explicit VolumeLocalHeader(const QByteArray& bytes);
    QByteArray raw; // kLocalSize bytes, passed on as they are
    zipcore::LocalHeader fields;

    uint32_t signature() const { return fields.signature; }
    uint16_t flags() const { return fields.flags; }
    uint32_t compressedSize() const { return fields.compressedSize; }
    uint16_t nameLength() const { return fields.nameLength; }
    uint16_t extraLength() const { return fields.extraLength; }
    bool hasDescriptor() const { return fields.flags & zipcore::kFlagDataDescriptor; }
};

struct VolumeCentralHeader {
    explicit VolumeCentralHeader(const QByteArray& bytes);
    uint32_t sig = 0;
    zipcore::ZipEntry entry; // fixed fields only
    zipcore::TrailingLengths lengths;

    QByteArray bytes() const; // the 46 fixed bytes
    uint32_t signature() const { return sig; }
    uint32_t compressedSize() const { return entry.compressedSize; }
    uint16_t nameLength() const { return lengths.name; }
    uint16_t extraLength() const { return lengths.extra; }
    uint16_t commentLength() const { return lengths.comment; }
    uint16_t diskNumberStart() const { return entry.diskStart; }
    uint32_t localHeaderOffset() const { return entry.localHeaderOffset; }
    void setDiskNumberStart(uint16_t disk) { entry.diskStart = disk; }
    void setLocalHeaderOffset(uint32_t offset) { entry.localHeaderOffset = offset; }
};

struct VolumeEndRecord {
    VolumeEndRecord() = default;
    explicit VolumeEndRecord(const QByteArray& bytes);
    zipcore::EndRecord fields;

    QByteArray bytes() const; // the 22 bytes
    uint16_t thisDisk() const { return fields.thisDisk; }
    uint16_t directoryDisk() const { return fields.centralDisk; }
    uint16_t entriesOnDisk() const { return fields.entriesOnDisk; }
    uint16_t totalEntries() const { return fields.totalEntries; }
    uint32_t directorySize() const { return fields.centralSize; }
    uint32_t directoryOffset() const { return fields.centralOffset; }
    uint16_t commentLength() const { return fields.commentLength; }
    void setThisDisk(uint16_t disk) { fields.thisDisk = disk; }
    void setDirectoryDisk(uint16_t disk) { fields.centralDisk = disk; }
    void setDirectoryOffset(uint32_t offset) { fields.centralOffset = offset; }
    void setEntriesOnDisk(uint16_t count) { fields.entriesOnDisk = count; }
};

} // namespace brx
