#pragma once
// Builds shortcut (.lnk) files byte by byte for the tests.

#include <QByteArray>
#include <QString>
#include <QtEndian>

namespace brx::test {

struct LinkParts {
    QString localBasePath; // LinkInfo, single-byte
    QString commonSuffix;
    QString netName;              // LinkInfo CommonNetworkRelativeLink when set
    bool unicodeLinkInfo = false; // header 0x24 with UTF-16 paths
    QString workingDir;
    QString arguments;
    bool unicodeStrings = true;
    bool withIdList = true;
    bool argumentsFlag = true;
};

inline void put16(QByteArray& out, quint32 v) {
    char b[2];
    qToLittleEndian<quint16>(quint16(v), b);
    out.append(b, 2);
}

inline void put32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian<quint32>(v, b);
    out.append(b, 4);
}

inline QByteArray utf16z(const QString& s) {
    QByteArray out;
    for (QChar c : s) put16(out, c.unicode());
    put16(out, 0);
    return out;
}

inline QByteArray linkInfo(const LinkParts& p) {
    const quint32 headerSize = p.unicodeLinkInfo ? 0x24 : 0x1C;
    QByteArray volumeId;
    put32(volumeId, 0x10); // size
    put32(volumeId, 3);    // fixed drive
    put32(volumeId, 0x1234);
    put32(volumeId, 0x10); // label offset: empty label below
    volumeId.append('\0');

    QByteArray network;
    if (!p.netName.isEmpty()) {
        put32(network, 0x14 + p.netName.size() + 1);
        put32(network, 0);
        put32(network, 0x14); // net name offset
        put32(network, 0);
        put32(network, 0);
        network.append(p.netName.toLatin1()).append('\0');
    }

    QByteArray strings;
    const quint32 volumeOffset = headerSize;
    strings.append(volumeId);
    const quint32 localOffset = headerSize + strings.size();
    strings.append(p.localBasePath.toLatin1()).append('\0');
    const quint32 networkOffset = network.isEmpty() ? 0 : headerSize + strings.size();
    strings.append(network);
    const quint32 suffixOffset = headerSize + strings.size();
    strings.append(p.commonSuffix.toLatin1()).append('\0');
    quint32 localUnicode = 0, suffixUnicode = 0;
    if (p.unicodeLinkInfo) {
        localUnicode = headerSize + strings.size();
        strings.append(utf16z(p.localBasePath));
        suffixUnicode = headerSize + strings.size();
        strings.append(utf16z(p.commonSuffix));
    }

    QByteArray out;
    put32(out, headerSize + strings.size());
    put32(out, headerSize);
    put32(out, (p.localBasePath.isEmpty() ? 0 : 1) | (network.isEmpty() ? 0 : 2));
    put32(out, volumeOffset);
    put32(out, p.localBasePath.isEmpty() ? 0 : localOffset);
    put32(out, networkOffset);
    put32(out, suffixOffset);
    if (p.unicodeLinkInfo) {
        put32(out, localUnicode);
        put32(out, suffixUnicode);
    }
    return out + strings;
}

inline QByteArray stringData(const QString& s, bool unicode) {
    QByteArray out;
    put16(out, s.size());
    if (unicode)
        out.append(utf16z(s).chopped(2));
    else
        out.append(s.toLatin1());
    return out;
}

inline QByteArray buildShellLink(const LinkParts& p) {
    const bool hasInfo = !p.localBasePath.isEmpty() || !p.netName.isEmpty();
    quint32 flags = 0;
    flags |= p.withIdList ? 0x1 : 0;
    flags |= hasInfo ? 0x2 : 0;
    flags |= 0x4; // a description, to be skipped
    flags |= p.workingDir.isEmpty() ? 0 : 0x10;
    flags |= p.argumentsFlag ? 0x20 : 0;
    flags |= p.unicodeStrings ? 0x80 : 0;

    QByteArray out;
    put32(out, 0x4C);
    out.append(QByteArray::fromHex("0114020000000000c000000000000046"));
    put32(out, flags);
    out.append(
        QByteArray(0x4C - 0x18, '\0')); // attributes, times, size, icon, show, hot key, reserved
    if (p.withIdList) {
        put16(out, 6);
        out.append(QByteArray::fromHex("0400abcd0000")); // one tiny item and the terminator
    }
    if (hasInfo) out.append(linkInfo(p));
    out.append(stringData(QStringLiteral("Mon raccourci"), p.unicodeStrings));
    if (!p.workingDir.isEmpty()) out.append(stringData(p.workingDir, p.unicodeStrings));
    if (p.argumentsFlag) out.append(stringData(p.arguments, p.unicodeStrings));
    return out;
}

} // namespace brx::test
