#include "engine/sfx/IconConvert.h"

#include "engine/sfx/PeIcon.h"

#include <QList>
#include <QtEndian>
#include <optional>

namespace brx {
namespace {

constexpr int kSide = 32;
constexpr int kHeaderSize = 40;

// The standard 16-colour palette, RGB.
const quint32 kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                              0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                              0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

struct DirEntry {
    int width = 0;
    int bits = 0;
    qint64 offset = 0;
    qint64 size = 0;
};

// Byte by byte through at(): the callers have checked the bounds.
quint16 u16At(const QByteArray& d, qint64 pos) {
    return quint16(quint8(d.at(pos)) | quint8(d.at(pos + 1)) << 8);
}
quint32 u32At(const QByteArray& d, qint64 pos) {
    return u16At(d, pos) | quint32(u16At(d, pos + 2)) << 16;
}

bool isStubForm(const QByteArray& ico) {
    return ico.size() == kIconFileSize && u16At(ico, 2) == 1 && u16At(ico, 4) == 1 &&
           u32At(ico, 14) == 744 && u32At(ico, 18) == 22 && u32At(ico, 22) == 40 &&
           u32At(ico, 26) == kSide && u16At(ico, 36) == 4;
}

QList<DirEntry> readDirectory(const QByteArray& ico) {
    QList<DirEntry> entries;
    if (ico.size() < 6 || u16At(ico, 0) != 0 || u16At(ico, 2) != 1) return entries;
    const int count = u16At(ico, 4);
    for (int i = 0; i < count && 6 + (i + 1) * 16 <= ico.size(); ++i) {
        const qint64 p = 6 + i * 16;
        DirEntry e{static_cast<uint8_t>(ico[p]) ? static_cast<uint8_t>(ico[p]) : 256,
                   u16At(ico, p + 6), u32At(ico, p + 12), u32At(ico, p + 8)};
        if (e.offset >= 0 && e.size >= kHeaderSize && e.offset + e.size <= ico.size() &&
            !ico.mid(e.offset, 4).startsWith("\x89PNG"))
            entries.append(e);
    }
    return entries;
}

// The closest size to 32, then the deepest colours.
std::optional<DirEntry> bestEntry(const QList<DirEntry>& entries) {
    std::optional<DirEntry> best;
    for (const DirEntry& e : entries) {
        const auto distance = [](const DirEntry& x) { return std::abs(x.width - kSide); };
        if (!best || distance(e) < distance(*best) ||
            (distance(e) == distance(*best) && e.bits > best->bits))
            best = e;
    }
    return best;
}

// A decoded image: ARGB pixels, top row first.
struct Pixels {
    int width = 0;
    int height = 0;
    QList<quint32> argb;
};

int rowBytes(int width, int bits) {
    return ((width * bits + 31) / 32) * 4;
}

quint32 pixelAt(const QByteArray& dib, qint64 row, int x, int bits, qint64 headerSize,
                int colours) {
    if (bits <= 8) {
        const int bitPos = x * bits;
        const int byte = static_cast<uint8_t>(dib[row + bitPos / 8]);
        const int index = (byte >> (8 - bits - bitPos % 8)) & ((1 << bits) - 1);
        return index < colours ? u32At(dib, headerSize + index * 4) & 0xFFFFFF : 0;
    }
    const qint64 at = row + qint64(x) * (bits / 8);
    const quint32 rgb = quint32(uint8_t(dib[at])) | quint32(uint8_t(dib[at + 1])) << 8 |
                        quint32(uint8_t(dib[at + 2])) << 16;
    return bits == 32 ? rgb | quint32(uint8_t(dib[at + 3])) << 24 : rgb;
}

std::optional<Pixels> decodeDib(const QByteArray& dib) {
    const int width = static_cast<int>(u32At(dib, 4));
    const int height = static_cast<int>(u32At(dib, 8)) / 2;
    const int bits = u16At(dib, 14);
    const quint32 compression = u32At(dib, 16);
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024 || compression != 0)
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    const qint64 headerSize = u32At(dib, 0);
    const int colours = bits <= 8 ? (u32At(dib, 32) ? int(u32At(dib, 32)) : 1 << bits) : 0;
    const qint64 xorStart = headerSize + qint64(colours) * 4;
    const qint64 andStart = xorStart + qint64(rowBytes(width, bits)) * height;
    if (colours > 256 || andStart + qint64(rowBytes(width, 1)) * height > dib.size())
        return std::nullopt;
    Pixels p{width, height, QList<quint32>(qsizetype(width) * height)};
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const qint64 row = xorStart + qint64(height - 1 - y) * rowBytes(width, bits);
        for (int x = 0; x < width; ++x) {
            const quint32 argb = pixelAt(dib, row, x, bits, headerSize, colours);
            anyAlpha = anyAlpha || (bits == 32 && (argb >> 24) != 0);
            p.argb[qsizetype(y) * width + x] = argb;
        }
    }
    // Images with an alpha channel carry their transparency there; the others in the AND mask.
    if (anyAlpha) return p;
    for (int y = 0; y < height; ++y) {
        const qint64 maskRow = andStart + qint64(height - 1 - y) * rowBytes(width, 1);
        for (int x = 0; x < width; ++x) {
            quint32& argb = p.argb[qsizetype(y) * width + x];
            const bool masked = (uint8_t(dib[maskRow + x / 8]) >> (7 - x % 8)) & 1;
            argb = masked ? argb & 0x00FFFFFF : argb | 0xFF000000u;
        }
    }
    return p;
}

int nearestColour(quint32 rgb) {
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 16; ++i) {
        const long dr = long((rgb >> 16) & 0xFF) - long((kPalette[i] >> 16) & 0xFF);
        const long dg = long((rgb >> 8) & 0xFF) - long((kPalette[i] >> 8) & 0xFF);
        const long db = long(rgb & 0xFF) - long(kPalette[i] & 0xFF);
        const long distance = dr * dr * 3 + dg * dg * 4 + db * db * 2;
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

QByteArray encodeStubIcon(const Pixels& source) {
    QByteArray ico(kIconFileSize, '\0');
    char* d = ico.data();
    qToLittleEndian<quint16>(1, d + 2);
    qToLittleEndian<quint16>(1, d + 4);
    d[6] = kSide;
    d[7] = kSide;
    d[8] = 16;
    qToLittleEndian<quint16>(1, d + 10);
    qToLittleEndian<quint16>(4, d + 12);
    qToLittleEndian<quint32>(744, d + 14);
    qToLittleEndian<quint32>(22, d + 18);
    char* image = d + 22;
    qToLittleEndian<quint32>(kHeaderSize, image);
    qToLittleEndian<quint32>(kSide, image + 4);
    qToLittleEndian<quint32>(kSide * 2, image + 8);
    qToLittleEndian<quint16>(1, image + 12);
    qToLittleEndian<quint16>(4, image + 14);
    qToLittleEndian<quint32>(512 + 128, image + 20);
    qToLittleEndian<quint32>(16, image + 32);
    for (int i = 0; i < 16; ++i)
        qToLittleEndian<quint32>(kPalette[i], image + kHeaderSize + i * 4); // BGRX in memory
    char* colours = image + kHeaderSize + 64;
    char* mask = colours + 512;
    for (int y = 0; y < kSide; ++y) {
        const int row = kSide - 1 - y; // bottom-up
        for (int x = 0; x < kSide; ++x) {
            const quint32 argb = source.argb[qsizetype(y * source.height / kSide) * source.width +
                                             x * source.width / kSide];
            const bool transparent = (argb >> 24) < 128;
            const int index = transparent ? 0 : nearestColour(argb);
            colours[row * 16 + x / 2] =
                char(colours[row * 16 + x / 2] | (x % 2 ? index : index << 4));
            if (transparent)
                mask[row * 4 + x / 8] = char(mask[row * 4 + x / 8] | (0x80 >> (x % 8)));
        }
    }
    return ico;
}

} // namespace

QByteArray toStubIcon(const QByteArray& ico) {
    if (isStubForm(ico)) return ico;
    const auto entry = bestEntry(readDirectory(ico));
    if (!entry) return QByteArray();
    const auto pixels = decodeDib(ico.mid(entry->offset, entry->size));
    return pixels ? encodeStubIcon(*pixels) : QByteArray();
}

} // namespace brx
