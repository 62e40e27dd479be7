#include "support/ShellLink.h"

#include <QtEndian>

namespace brx {

// Layout (all little-endian):
//   header, 0x4C bytes: HeaderSize (0x4C), LinkCLSID 00021401-0000-0000-C000-
//     000000000046, LinkFlags at 0x14, attributes, three times, size, icon
//     index, show command, hot key, reserved;
//   LinkTargetIDList when HasLinkTargetIDList: a 16-bit size then the items;
//   LinkInfo when HasLinkInfo: a 32-bit size counting itself, then offsets
//     (from the LinkInfo start) to NUL-terminated strings; header size 0x24
//     or more adds offsets to UTF-16 forms of the two paths;
//   StringData: NAME, RELATIVE_PATH, WORKING_DIR, COMMAND_LINE_ARGUMENTS,
//     ICON_LOCATION, each present by its flag: a 16-bit count of characters,
//     then the characters (UTF-16 when IsUnicode, else one byte each).
namespace {

constexpr quint32 kHeaderSize = 0x4C;
const QByteArray kLinkClsid = QByteArray::fromHex("0114020000000000c000000000000046");

enum LinkFlag : quint32 {
    kHasLinkTargetIdList = 0x1,
    kHasLinkInfo = 0x2,
    kHasName = 0x4,
    kHasRelativePath = 0x8,
    kHasWorkingDir = 0x10,
    kHasArguments = 0x20,
    kHasIconLocation = 0x40,
    kIsUnicode = 0x80,
};

enum LinkInfoFlag : quint32 {
    kVolumeIdAndLocalBasePath = 0x1,
    kCommonNetworkRelativeLink = 0x2
};

// A bounds-checked reader: any read past the end clears ok and yields zeros.
class ByteCursor {
public:
    explicit ByteCursor(const QByteArray& data, qsizetype pos = 0) : m_data(data), m_pos(pos) {}

    bool ok() const { return m_ok; }
    qsizetype pos() const { return m_pos; }

    quint16 u16() {
        return take(2) ? qFromLittleEndian<quint16>(m_data.constData() + m_pos - 2) : 0;
    }
    quint32 u32() {
        return take(4) ? qFromLittleEndian<quint32>(m_data.constData() + m_pos - 4) : 0;
    }
    QByteArray bytes(qsizetype n) { return take(n) ? m_data.mid(m_pos - n, n) : QByteArray(); }
    void skip(qsizetype n) { take(n); }

private:
    bool take(qsizetype n) {
        if (!m_ok || n < 0 || n > m_data.size() - m_pos) {
            m_ok = false;
            return false;
        }
        m_pos += n;
        return true;
    }

    const QByteArray& m_data;
    qsizetype m_pos;
    bool m_ok = true;
};

// Single-byte strings are in the writer's ANSI code page; Latin-1 reads the
// letters of Western European code pages right.
QString ansiZ(const QByteArray& block, quint32 offset) {
    if (offset == 0 || offset >= quint32(block.size())) return {};
    const qsizetype end = block.indexOf('\0', offset);
    return QString::fromLatin1(block.mid(offset, end < 0 ? -1 : end - offset));
}

QString unicodeZ(const QByteArray& block, quint32 offset) {
    QString text;
    for (qsizetype i = offset; offset != 0 && i + 1 < block.size(); i += 2) {
        const char16_t ch = qFromLittleEndian<quint16>(block.constData() + i);
        if (ch == 0) break;
        text.append(QChar(ch));
    }
    return text;
}

QString networkPath(const QByteArray& info, quint32 offset, const QString& suffix) {
    ByteCursor link(info, offset);
    link.skip(8); // size, flags
    const quint32 netNameOffset = link.u32();
    if (!link.ok()) return {};
    const QString share = ansiZ(info.mid(offset), netNameOffset);
    return suffix.isEmpty() ? share : share + QLatin1Char('\\') + suffix;
}

QString linkInfoTarget(const QByteArray& info) {
    ByteCursor cursor(info, 4);
    const quint32 headerSize = cursor.u32();
    const quint32 flags = cursor.u32();
    cursor.skip(4); // volume id offset
    const quint32 localOffset = cursor.u32();
    const quint32 networkOffset = cursor.u32();
    const quint32 suffixOffset = cursor.u32();
    const quint32 localUnicode = headerSize >= 0x24 ? cursor.u32() : 0;
    const quint32 suffixUnicode = headerSize >= 0x24 ? cursor.u32() : 0;
    if (!cursor.ok()) return {};
    const QString suffix =
        suffixUnicode ? unicodeZ(info, suffixUnicode) : ansiZ(info, suffixOffset);
    // The network form goes first, as a shell asked for the UNC path would do.
    if ((flags & kCommonNetworkRelativeLink) && networkOffset < quint32(info.size()))
        return networkPath(info, networkOffset, suffix);
    if (flags & kVolumeIdAndLocalBasePath)
        return (localUnicode ? unicodeZ(info, localUnicode) : ansiZ(info, localOffset)) + suffix;
    return {};
}

QString readStringData(ByteCursor& cursor, bool unicode) {
    const quint16 count = cursor.u16();
    const QByteArray raw = cursor.bytes(unicode ? 2 * qsizetype(count) : count);
    if (!unicode) return QString::fromLatin1(raw);
    QString text;
    for (qsizetype i = 0; i + 1 < raw.size(); i += 2)
        text.append(QChar(qFromLittleEndian<quint16>(raw.constData() + i)));
    return text;
}

bool readHeader(ByteCursor& cursor, quint32& flags) {
    if (cursor.u32() != kHeaderSize || cursor.bytes(16) != kLinkClsid) return false;
    flags = cursor.u32();
    cursor.skip(kHeaderSize - 0x18);
    return cursor.ok();
}

} // namespace

bool parseShellLink(const QByteArray& data, ShellLinkInfo& info) {
    ByteCursor cursor(data);
    quint32 flags = 0;
    if (!readHeader(cursor, flags)) return false;
    if (flags & kHasLinkTargetIdList) cursor.skip(cursor.u16());
    if (flags & kHasLinkInfo) {
        const qsizetype start = cursor.pos();
        const quint32 size = cursor.u32();
        if (!cursor.ok() || size < 4) return false;
        info.targetPath = linkInfoTarget(data.mid(start, size));
        cursor.skip(size - 4);
    }
    const bool unicode = flags & kIsUnicode;
    if (flags & kHasName) readStringData(cursor, unicode);
    if (flags & kHasRelativePath) readStringData(cursor, unicode);
    if (flags & kHasWorkingDir) info.workingDir = readStringData(cursor, unicode);
    if (flags & kHasArguments) info.arguments = readStringData(cursor, unicode);
    return cursor.ok();
}

} // namespace brx
