#include "engine/sfx/SfxHeader.h"

#include "engine/sfx/AnsiText.h"

namespace brx {
namespace {

// Byte 3 of both header types.
enum : uint8_t {
    kBitAskCmdLine = 0x01,
    kBitAskFiles = 0x02,
    kBitHideOverWriteBox = 0x04,
    kBitOvrAlways = 0x08,
    kBitOvrNever = 0x10,
    kBitNoCheckSize = 0x20,
    kBitAutoRun = 0x40,
    kBitNoSuccessMsg = 0x80, // MPV only
};

QByteArray headerString(const QString& text) {
    return toAnsi1252(text).left(kMaxHeaderString);
}

void applyOptionBits(uint8_t bits, bool newer, SfxProperties& props) {
    SFXOpts options;
    options.setFlag(SFXAskCmdLine, bits & kBitAskCmdLine);
    options.setFlag(SFXAskFiles, bits & kBitAskFiles);
    options.setFlag(SFXHideOverWriteBox, bits & kBitHideOverWriteBox);
    options.setFlag(SFXCheckSize, !(bits & kBitNoCheckSize));
    options.setFlag(SFXAutoRun, bits & kBitAutoRun);
    options.setFlag(SFXNoSuccessMsg, newer && (bits & kBitNoSuccessMsg));
    props.options = options;
    props.overWriteMode = OvrConfirm;
    if (bits & kBitOvrAlways) props.overWriteMode = OvrAlways;
    if (bits & kBitOvrNever) props.overWriteMode = OvrNever;
}

// One length-prefixed string at pos; an overrun takes what is there.
QString takeCounted(const QByteArray& bytes, qsizetype& pos) {
    if (pos >= bytes.size()) return QString();
    const int length = static_cast<uint8_t>(bytes[pos]);
    const QString text = fromAnsi1252(bytes.mid(pos + 1, length));
    pos += 1 + length;
    return text;
}

void readMpv(const QByteArray& h, SfxProperties& props) {
    applyOptionBits(static_cast<uint8_t>(h[3]), true, props);
    qsizetype pos = 8;
    props.caption = takeCounted(h, pos);
    props.defaultDir = takeCounted(h, pos);
    props.commandLine = takeCounted(h, pos);
    props.message = takeCounted(h, pos);
}

// MPU: bytes 4-6 hold the three lengths, the strings follow from byte 7.
void readMpu(const QByteArray& h, SfxProperties& props) {
    applyOptionBits(static_cast<uint8_t>(h[3]), false, props);
    const int l1 = h.size() > 4 ? static_cast<uint8_t>(h[4]) : 0;
    const int l2 = h.size() > 5 ? static_cast<uint8_t>(h[5]) : 0;
    const int l3 = h.size() > 6 ? static_cast<uint8_t>(h[6]) : 0;
    props.caption = fromAnsi1252(h.mid(7, l1));
    props.defaultDir = fromAnsi1252(h.mid(7 + l1, l2));
    props.commandLine = fromAnsi1252(h.mid(7 + l1 + l2, l3));
}

} // namespace

int mpvHeaderSize(const SfxProperties& props) {
    const qsizetype strings = props.caption.size() + props.defaultDir.size() +
                              props.commandLine.size() + props.message.size();
    return static_cast<int>((12 + strings + 3) / 4 * 4);
}

bool headerStringsTooLong(const SfxProperties& props) {
    for (const QString* s :
         {&props.caption, &props.defaultDir, &props.commandLine, &props.message}) {
        if (s->size() > kMaxHeaderString) return true;
    }
    return false;
}

uint8_t headerOptionBits(const SfxProperties& props) {
    uint8_t bits = 0;
    if (props.options & SFXAskCmdLine) bits |= kBitAskCmdLine;
    if (props.options & SFXAskFiles) bits |= kBitAskFiles;
    if (props.options & SFXHideOverWriteBox) bits |= kBitHideOverWriteBox;
    if (props.overWriteMode == OvrAlways) bits |= kBitOvrAlways;
    if (props.overWriteMode == OvrNever) bits |= kBitOvrNever;
    if (!(props.options & SFXCheckSize)) bits |= kBitNoCheckSize;
    if (props.options & SFXAutoRun) bits |= kBitAutoRun;
    if (props.options & SFXNoSuccessMsg) bits |= kBitNoSuccessMsg;
    return bits;
}

// "MPV", option bits, 0, 1, H (16-bit), then four length-prefixed strings
// (caption, default folder, command line, message); zeros up to H.
QByteArray buildMpvHeader(const SfxProperties& props) {
    const int size = mpvHeaderSize(props);
    QByteArray h("MPV");
    h.append(static_cast<char>(headerOptionBits(props)));
    h.append('\0');
    h.append('\1');
    h.append(static_cast<char>(size & 0xFF));
    h.append(static_cast<char>(size >> 8));
    for (const QString* s :
         {&props.caption, &props.defaultDir, &props.commandLine, &props.message}) {
        const QByteArray bytes = headerString(*s);
        h.append(static_cast<char>(bytes.size()));
        h.append(bytes);
    }
    h.append(QByteArray(size - h.size(), '\0'));
    return h;
}

bool readSfxHeader(const QByteArray& bytes, SfxProperties& props) {
    for (qsizetype i = 0; i + 4 <= bytes.size(); ++i) {
        if (bytes[i] != 'M' || bytes[i + 1] != 'P' || (bytes[i + 2] != 'U' && bytes[i + 2] != 'V'))
            continue;
        const QByteArray header = bytes.mid(i);
        if (header[2] == 'V')
            readMpv(header, props);
        else
            readMpu(header, props);
        return true;
    }
    return false;
}

} // namespace brx
