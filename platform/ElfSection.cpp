#include "platform/ElfSection.h"

#include <QFile>
#include <QtEndian>
#include <cstring>
#include <optional>

namespace brx {

namespace {

constexpr quint32 kNoBits = 8; // section type that occupies no file space

struct Section {
    quint32 nameOffset = 0;
    quint32 type = 0;
    quint64 offset = 0;
    quint64 size = 0;
};

class ElfFile {
public:
    explicit ElfFile(QFile& file) : m_file(file), m_size(file.size()) {}

    // Bytes [offset, offset + size) of the file; nothing when outside it.
    std::optional<QByteArray> bytes(quint64 offset, quint64 size) {
        if (offset > quint64(m_size) || size > quint64(m_size) - offset) return std::nullopt;
        if (!m_file.seek(qint64(offset))) return std::nullopt;
        QByteArray data = m_file.read(qint64(size));
        if (quint64(data.size()) != size) return std::nullopt;
        return data;
    }

    bool readHeader() {
        const auto ident = bytes(0, 16);
        if (!ident || std::memcmp(ident->constData(),
                                  "\x7f"
                                  "ELF",
                                  4) != 0)
            return false;
        m_64 = ident->at(4) == 2;
        m_bigEndian = ident->at(5) == 2;
        if ((ident->at(4) != 1 && !m_64) || (ident->at(5) != 1 && !m_bigEndian)) return false;
        const auto header = bytes(0, m_64 ? 64 : 52);
        if (!header) return false;
        m_shoff = m_64 ? u64(*header, 0x28) : u32(*header, 0x20);
        m_shentsize = u16(*header, m_64 ? 0x3A : 0x2E);
        m_shnum = u16(*header, m_64 ? 0x3C : 0x30);
        m_shstrndx = u16(*header, m_64 ? 0x3E : 0x32);
        return m_shentsize >= (m_64 ? 64u : 40u) && m_shstrndx < m_shnum;
    }

    std::optional<Section> section(quint32 index) {
        if (m_shoff > quint64(m_size)) return std::nullopt;
        const auto raw = bytes(m_shoff + quint64(index) * m_shentsize, m_shentsize);
        if (!raw) return std::nullopt;
        Section s;
        s.nameOffset = u32(*raw, 0);
        s.type = u32(*raw, 4);
        s.offset = m_64 ? u64(*raw, 0x18) : u32(*raw, 0x10);
        s.size = m_64 ? u64(*raw, 0x20) : u32(*raw, 0x14);
        return s;
    }

    quint32 count() const { return m_shnum; }
    quint32 namesIndex() const { return m_shstrndx; }

private:
    quint16 u16(const QByteArray& b, int at) const {
        return m_bigEndian ? qFromBigEndian<quint16>(b.constData() + at)
                           : qFromLittleEndian<quint16>(b.constData() + at);
    }
    quint32 u32(const QByteArray& b, int at) const {
        return m_bigEndian ? qFromBigEndian<quint32>(b.constData() + at)
                           : qFromLittleEndian<quint32>(b.constData() + at);
    }
    quint64 u64(const QByteArray& b, int at) const {
        return m_bigEndian ? qFromBigEndian<quint64>(b.constData() + at)
                           : qFromLittleEndian<quint64>(b.constData() + at);
    }

    QFile& m_file;
    qint64 m_size;
    bool m_64 = false;
    bool m_bigEndian = false;
    quint64 m_shoff = 0;
    quint32 m_shentsize = 0;
    quint32 m_shnum = 0;
    quint32 m_shstrndx = 0;
};

} // namespace

QByteArray readElfSection(const QString& path, const char* sectionName, qint64 maxSize) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    ElfFile elf(file);
    if (!elf.readHeader()) return {};
    const auto namesSection = elf.section(elf.namesIndex());
    if (!namesSection || namesSection->type == kNoBits || namesSection->size > (1u << 24))
        return {};
    const auto names = elf.bytes(namesSection->offset, namesSection->size);
    if (!names) return {};
    const QByteArray wanted(sectionName);
    for (quint32 i = 0; i < elf.count(); ++i) {
        const auto s = elf.section(i);
        if (!s) return {};
        if (s->nameOffset >= quint64(names->size())) continue;
        const char* name = names->constData() + s->nameOffset;
        const qsizetype room = names->size() - qsizetype(s->nameOffset);
        const qsizetype length = qstrnlen(name, uint(room));
        if (length == room || QByteArray(name, length) != wanted) continue;
        if (s->type == kNoBits || s->size > quint64(maxSize)) return {};
        return elf.bytes(s->offset, s->size).value_or(QByteArray());
    }
    return {};
}

} // namespace brx
