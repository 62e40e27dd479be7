#pragma once
// The header between the stub and the archive: MPV (written) and the older
// MPU (read only). Layout in SfxHeader.cpp.

#include "engine/sfx/SfxProperties.h"

#include <QByteArray>

namespace brx {

inline constexpr int kMaxHeaderString = 255;

// Header size H: 12 bytes plus the four strings, rounded up to a multiple of 4.
int mpvHeaderSize(const SfxProperties& props);
// True when one of the four strings is longer than 255 characters.
bool headerStringsTooLong(const SfxProperties& props);
uint8_t headerOptionBits(const SfxProperties& props);
// The H bytes of the MPV header (strings must fit, see headerStringsTooLong).
QByteArray buildMpvHeader(const SfxProperties& props);

// Searches bytes from their start for "MPU" or "MPV" and, at the first hit,
// sets options, overwrite mode and the strings the header carries (MPU has no
// message: props.message is left alone). False when there is no header.
bool readSfxHeader(const QByteArray& bytes, SfxProperties& props);

} // namespace brx
