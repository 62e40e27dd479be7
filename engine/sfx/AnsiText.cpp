#include "engine/sfx/AnsiText.h"

namespace brx {
namespace {

// Code page 1252 differs from Latin-1 only in 0x80-0x9F (unassigned bytes map to themselves).
const char16_t kHigh[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                            0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

char toByte(char16_t c) {
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == c) return static_cast<char>(0x80 + i);
    }
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    return '?';
}

} // namespace

QByteArray toAnsi1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) out.append(toByte(c.unicode()));
    return out;
}

QString fromAnsi1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        out.append(QChar((c >= 0x80 && c < 0xA0) ? kHigh[c - 0x80] : char16_t(c)));
    }
    return out;
}

} // namespace brx
