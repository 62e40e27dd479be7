#include "engine/sfx/CentralRewrite.h"

#include <QtEndian>

namespace brx {
namespace {

constexpr qint64 kChunk = 256 * 1024;
constexpr qint64 kCentralSize = 46;
constexpr qint64 kEndSize = 22;
constexpr quint32 kCentralSig = 0x02014b50;
constexpr quint32 kEndSig = 0x06054b50;
constexpr int kRewriteFailed = -2;

// Adds shift to the 32-bit little-endian field at pos; false when the
// result would not fit the field.
bool shiftField(char* record, int pos, qint64 shift) {
    const qint64 value = qint64(qFromLittleEndian<quint32>(record + pos)) + shift;
    if (value < 0 || value > 0xFFFFFFFFll) return false;
    qToLittleEndian<quint32>(quint32(value), record + pos);
    return true;
}

bool rewriteEntry(QFile& in, QFile& out, qint64 shift) {
    char h[kCentralSize];
    if (in.read(h, kCentralSize) != kCentralSize || qFromLittleEndian<quint32>(h) != kCentralSig)
        return false;
    const qint64 tail = qint64(qFromLittleEndian<quint16>(h + 28)) +
                        qFromLittleEndian<quint16>(h + 30) + qFromLittleEndian<quint16>(h + 32);
    return shiftField(h, 42, shift) && out.write(h, kCentralSize) == kCentralSize &&
           copyBytes(in, out, tail);
}

bool rewriteEnd(QFile& in, QFile& out, qint64 shift) {
    char end[kEndSize];
    if (in.read(end, kEndSize) != kEndSize || qFromLittleEndian<quint32>(end) != kEndSig)
        return false;
    const qint64 comment = qFromLittleEndian<quint16>(end + 20);
    return shiftField(end, 16, shift) && out.write(end, kEndSize) == kEndSize &&
           copyBytes(in, out, comment);
}

} // namespace

bool copyBytes(QFile& in, QFile& out, qint64 count) {
    while (count != 0) {
        const qint64 want = count < 0 ? kChunk : std::min(count, kChunk);
        const QByteArray block = in.read(want);
        if (block.isEmpty()) return count < 0 && in.atEnd();
        if (out.write(block) != block.size()) return false;
        if (count > 0) count -= block.size();
    }
    return true;
}

int rewriteCentralDirectory(QFile& in, QFile& out, int entries, qint64 shift) {
    for (int i = 0; i < entries; ++i) {
        if (!rewriteEntry(in, out, shift)) return kRewriteFailed;
    }
    return rewriteEnd(in, out, shift) ? 0 : kRewriteFailed;
}

} // namespace brx
