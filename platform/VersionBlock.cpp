#include "platform/VersionBlock.h"

#include "platform/ElfSection.h"
#include "platform/ProgramInfo.h"

#include <QtEndian>
#include <optional>

namespace brx {

namespace {

constexpr quint32 kFixedInfoSignature = 0xFEEF04BD;
constexpr int kFixedInfoSize = 52;
constexpr quint16 kBinary = 0;
constexpr quint16 kText = 1;

// ---- writing ----

void putWord(QByteArray& out, quint16 v) {
    out.append(char(v & 0xff)).append(char(v >> 8));
}
void putDword(QByteArray& out, quint32 v) {
    putWord(out, quint16(v & 0xffff));
    putWord(out, quint16(v >> 16));
}
void pad4(QByteArray& out) {
    while (out.size() % 4) out.append('\0');
}
void putText(QByteArray& out, const QString& text) {
    for (const QChar c : text) putWord(out, c.unicode());
    putWord(out, 0);
}

// A node as bytes, starting 4-byte aligned; valueLength in the node's unit.
QByteArray node(const QString& key, const QByteArray& value, quint16 valueLength, quint16 type,
                const QList<QByteArray>& children) {
    QByteArray out(6, '\0');
    putText(out, key);
    pad4(out);
    out += value;
    for (const QByteArray& child : children) {
        pad4(out);
        out += child;
    }
    qToLittleEndian<quint16>(quint16(out.size()), out.data());
    qToLittleEndian<quint16>(valueLength, out.data() + 2);
    qToLittleEndian<quint16>(type, out.data() + 4);
    return out;
}

QByteArray fixedFileInfo(const VersionBlockContent& c) {
    QByteArray out;
    putDword(out, kFixedInfoSignature);
    putDword(out, 0x00010000); // structure version 1.0
    const quint32 ms = quint32(c.fileVersion[0]) << 16 | c.fileVersion[1];
    const quint32 ls = quint32(c.fileVersion[2]) << 16 | c.fileVersion[3];
    putDword(out, ms); // file version
    putDword(out, ls);
    putDword(out, ms); // product version
    putDword(out, ls);
    putDword(out, 0x3f);       // flags mask
    putDword(out, 0);          // flags
    putDword(out, 0x00040004); // NT, 32-bit windows
    putDword(out, 1);          // application
    putDword(out, 0);          // subtype
    putDword(out, 0);          // date
    putDword(out, 0);
    return out;
}

// ---- reading ----

struct Node {
    QString key;
    qsizetype valueStart = 0;
    qsizetype valueSize = 0; // in bytes
    quint16 type = 0;
    qsizetype childrenStart = 0;
    qsizetype end = 0;
};

qsizetype align4(qsizetype offset) {
    return (offset + 3) & ~qsizetype(3);
}

quint16 wordAt(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

// The node at offset, within limit; nothing when it does not fit.
std::optional<Node> readNode(const QByteArray& b, qsizetype offset, qsizetype limit) {
    if (offset < 0 || offset + 6 > limit) return std::nullopt;
    const quint16 length = wordAt(b, offset);
    const quint16 valueLength = wordAt(b, offset + 2);
    Node n;
    n.type = wordAt(b, offset + 4);
    n.end = offset + length;
    if (length < 6 || n.end > limit) return std::nullopt;
    qsizetype at = offset + 6;
    for (;; at += 2) {
        if (at + 2 > n.end) return std::nullopt;
        const quint16 c = wordAt(b, at);
        if (c == 0) break;
        n.key += QChar(char16_t(c));
    }
    n.valueStart = align4(at + 2);
    n.valueSize = n.type == kText ? qsizetype(valueLength) * 2 : valueLength;
    if (n.valueStart + n.valueSize > n.end) {
        if (n.valueSize != 0) return std::nullopt;
        n.valueStart = n.end;
    }
    n.childrenStart = align4(n.valueStart + n.valueSize);
    return n;
}

std::optional<Node> findChild(const QByteArray& b, const Node& parent, const QString& key) {
    qsizetype at = parent.childrenStart;
    while (at + 6 <= parent.end) {
        const auto child = readNode(b, at, parent.end);
        if (!child) return std::nullopt;
        if (child->key.compare(key, Qt::CaseInsensitive) == 0) return child;
        at = align4(child->end);
    }
    return std::nullopt;
}

QString translationText(const QByteArray& b, const Node& root) {
    const auto vars = findChild(b, root, QStringLiteral("VarFileInfo"));
    const auto translation = vars ? findChild(b, *vars, QStringLiteral("Translation")) : vars;
    if (!translation || translation->valueSize < 4) return {};
    const quint16 language = wordAt(b, translation->valueStart);
    const quint16 codePage = wordAt(b, translation->valueStart + 2);
    return QStringLiteral("%1%2")
        .arg(language, 4, 16, QLatin1Char('0'))
        .arg(codePage, 4, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

QString versionKeyName(VersionKey key) {
    static const char* const names[] = {"CompanyName",  "FileDescription", "FileVersion",
                                        "InternalName", "LegalCopyright",  "OriginalFilename",
                                        "ProductName",  "ProductVersion"};
    return QString::fromLatin1(names[int(key)]);
}

QByteArray buildVersionBlock(const VersionBlockContent& content) {
    QList<QByteArray> strings;
    for (const auto& [key, value] : content.strings) {
        QByteArray text;
        putText(text, value);
        strings << node(key, text, quint16(value.size() + 1), kText, {});
    }
    const QString translation = QStringLiteral("%1%2")
                                    .arg(content.language, 4, 16, QLatin1Char('0'))
                                    .arg(content.codePage, 4, 16, QLatin1Char('0'))
                                    .toUpper();
    const QByteArray table = node(translation, {}, 0, kText, strings);
    const QByteArray stringInfo = node(QStringLiteral("StringFileInfo"), {}, 0, kText, {table});
    QByteArray pair;
    putWord(pair, content.language);
    putWord(pair, content.codePage);
    const QByteArray var = node(QStringLiteral("Translation"), pair, 4, kBinary, {});
    const QByteArray varInfo = node(QStringLiteral("VarFileInfo"), {}, 0, kText, {var});
    return node(QStringLiteral("VS_VERSION_INFO"), fixedFileInfo(content), kFixedInfoSize, kBinary,
                {stringInfo, varInfo});
}

QString versionValue(const QByteArray& block, VersionKey key) {
    const auto root = readNode(block, 0, block.size());
    if (!root || root->key != QStringLiteral("VS_VERSION_INFO")) return {};
    const QString translation = translationText(block, *root);
    if (translation.isEmpty()) return {};
    const auto info = findChild(block, *root, QStringLiteral("StringFileInfo"));
    const auto table = info ? findChild(block, *info, translation) : info;
    const auto entry = table ? findChild(block, *table, versionKeyName(key)) : table;
    if (!entry || entry->valueSize < 2) return {};
    QString value;
    for (qsizetype at = entry->valueStart; at + 2 <= entry->valueStart + entry->valueSize;
         at += 2) {
        const quint16 c = wordAt(block, at);
        if (c == 0) break;
        value += QChar(char16_t(c));
    }
    return value;
}

QString versionTextOf(const QString& programFile, VersionKey key) {
    return versionValue(readElfSection(programFile, kVersionSection), key);
}

QString VersionText(VersionKey key) {
    return versionTextOf(programFilePath(), key);
}

} // namespace brx
