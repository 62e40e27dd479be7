#include "engine/span/SpanRecords.h"

#include "zipcore/ByteOrder.h"

namespace brx {

namespace {

zipcore::ByteCursor cursorOf(const QByteArray& bytes) {
    return zipcore::ByteCursor(reinterpret_cast<const unsigned char*>(bytes.constData()),
                               size_t(bytes.size()));
}

QByteArray toBytes(const std::string& bytes) {
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

uint16_t getLe16(const QByteArray& bytes, int pos) {
    if (pos < 0 || pos + 2 > bytes.size()) return 0;
    return zipcore::le16(reinterpret_cast<const unsigned char*>(bytes.constData()) + pos);
}

uint32_t getLe32(const QByteArray& bytes, int pos) {
    if (pos < 0 || pos + 4 > bytes.size()) return 0;
    return zipcore::le32(reinterpret_cast<const unsigned char*>(bytes.constData()) + pos);
}

QByteArray le32Bytes(uint32_t value) {
    std::string out;
    zipcore::append32(out, value);
    return toBytes(out);
}

VolumeLocalHeader::VolumeLocalHeader(const QByteArray& bytes) : raw(bytes) {
    zipcore::ByteCursor cursor = cursorOf(bytes);
    zipcore::readLocalHeader(cursor, fields);
}

VolumeCentralHeader::VolumeCentralHeader(const QByteArray& bytes) {
    zipcore::ByteCursor cursor = cursorOf(bytes);
    zipcore::readCentralFixed(cursor, sig, entry, lengths);
}

QByteArray VolumeCentralHeader::bytes() const {
    return toBytes(zipcore::centralFixedBytes(entry, lengths));
}

VolumeEndRecord::VolumeEndRecord(const QByteArray& bytes) {
    zipcore::parseEndRecord(reinterpret_cast<const unsigned char*>(bytes.constData()),
                            size_t(bytes.size()), fields);
}

QByteArray VolumeEndRecord::bytes() const {
    return toBytes(zipcore::serializeEndRecord(fields));
}

} // namespace brx
