#pragma once
// Brings any icon the user picks to the one form the stub can carry: a
// 766-byte .ico holding one 32 x 32, 16-colour image with its mask.

#include <QByteArray>

namespace brx {

// An .ico already in that form is returned unchanged. Otherwise its best
// image (bitmap images of 1, 4, 8, 24 or 32 bits) is scaled to 32 x 32,
// mapped to the standard 16-colour palette, and the mask is taken from its
// transparency. Empty when no image can be decoded (PNG images included).
QByteArray toStubIcon(const QByteArray& ico);

} // namespace brx
