#pragma once
// .ico files of other sizes and depths, made by the tests.

#include <QByteArray>
#include <QtEndian>
#include <functional>

namespace sfxtest {

// One image of side x side pixels: 8 bits with a 256-entry grey-and-red
// palette, or 32 bits with alpha. pixel(x, y) gives 0xAARRGGBB, top row first.
inline QByteArray makeIco(int side, int bits, const std::function<quint32(int, int)>& pixel) {
    const int colours = bits == 8 ? 256 : 0;
    const int rowColour = ((side * bits + 31) / 32) * 4;
    const int rowMask = ((side + 31) / 32) * 4;
    QByteArray image(40 + colours * 4 + rowColour * side + rowMask * side, '\0');
    char* d = image.data();
    qToLittleEndian<quint32>(40, d);
    qToLittleEndian<quint32>(quint32(side), d + 4);
    qToLittleEndian<quint32>(quint32(side * 2), d + 8);
    qToLittleEndian<quint16>(1, d + 12);
    qToLittleEndian<quint16>(quint16(bits), d + 14);
    // 8-bit palette: index i is red i when i < 128, else grey.
    for (int i = 0; i < colours; ++i)
        qToLittleEndian<quint32>(i < 128 ? quint32(i * 2) << 16 : quint32(i) * 0x010101u,
                                 d + 40 + i * 4);
    char* colour = d + 40 + colours * 4;
    char* mask = colour + rowColour * side;
    for (int y = 0; y < side; ++y) {
        const int row = side - 1 - y;
        for (int x = 0; x < side; ++x) {
            const quint32 argb = pixel(x, y);
            if (bits == 8) {
                colour[row * rowColour + x] = char((argb >> 16) & 0xFF ? 127 : 255); // red or white
                if ((argb >> 24) < 128)
                    mask[row * rowMask + x / 8] =
                        char(mask[row * rowMask + x / 8] | (0x80 >> (x % 8)));
            } else {
                qToLittleEndian<quint32>(argb, colour + row * rowColour + x * 4);
            }
        }
    }
    QByteArray ico(22, '\0');
    qToLittleEndian<quint16>(1, ico.data() + 2);
    qToLittleEndian<quint16>(1, ico.data() + 4);
    ico[6] = char(side);
    ico[7] = char(side);
    qToLittleEndian<quint16>(1, ico.data() + 10);
    qToLittleEndian<quint16>(quint16(bits), ico.data() + 12);
    qToLittleEndian<quint32>(quint32(image.size()), ico.data() + 14);
    qToLittleEndian<quint32>(22, ico.data() + 18);
    return ico + image;
}

} // namespace sfxtest
