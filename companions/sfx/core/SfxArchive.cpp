#include "SfxArchive.h"

#include "FileSystem.h"
#include "NameCodec.h"
#include "zipcore/ByteOrder.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>

using zipcore::le16;
using zipcore::le32;

namespace sfxcore {
namespace {

constexpr size_t kMaxEndSearch = zipcore::kEndOfCentralSize + zipcore::kMaxCommentSize;
// The writer of the header looks at most this far in front of the archive.
constexpr size_t kHeaderSearchSpan = 1032;
constexpr size_t kPeHeaderReadSize = 4096;

bool seekFile(std::FILE* file, uint64_t pos)
{
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(pos), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(pos), SEEK_SET) == 0;
#endif
}

uint64_t fileLength(std::FILE* file)
{
#ifdef _WIN32
    _fseeki64(file, 0, SEEK_END);
    return static_cast<uint64_t>(_ftelli64(file));
#else
    fseeko(file, 0, SEEK_END);
    return static_cast<uint64_t>(ftello(file));
#endif
}

} // namespace

SfxArchive::~SfxArchive()
{
    if (m_file)
        std::fclose(m_file);
}

bool SfxArchive::seekTo(uint64_t pos) { return seekFile(m_file, pos); }

bool SfxArchive::readAt(uint64_t pos, void* buffer, size_t size)
{
    return seekFile(m_file, pos) && std::fread(buffer, 1, size, m_file) == size;
}

SfxArchive::Status SfxArchive::open(const std::string& path)
{
    m_file = openFile(path, "rb");
    if (!m_file)
        return Status::CannotOpen;
    m_fileSize = fileLength(m_file);
    unsigned char end[zipcore::kEndOfCentralSize];
    if (!findEndRecord(end))
        return Status::NoArchive;
    const uint32_t directorySize = le32(end + 12);
    const uint32_t storedOffset = le32(end + 16);
    if (directorySize > m_endRecordPos)
        return Status::BadDirectory;
    m_directoryStart = m_endRecordPos - directorySize;
    m_shift = static_cast<int64_t>(m_directoryStart) - storedOffset;
    if (!readDirectory(m_directoryStart, le16(end + 10)))
        return Status::BadDirectory;
    readSettings();
    return Status::Ok;
}

// Scans backwards for "PK\5\6" whose comment fits in the rest of the file.
bool SfxArchive::findEndRecord(unsigned char record[22])
{
    const size_t n = static_cast<size_t>(std::min<uint64_t>(m_fileSize, kMaxEndSearch));
    if (n < zipcore::kEndOfCentralSize)
        return false;
    std::vector<unsigned char> tail(n);
    if (!readAt(m_fileSize - n, tail.data(), n))
        return false;
    for (size_t i = n - zipcore::kEndOfCentralSize + 1; i-- > 0;) {
        const unsigned char* p = tail.data() + i;
        if (le32(p) == zipcore::kEndOfCentralSig && i + 22 + le16(p + 20) <= n) {
            std::copy(p, p + 22, record);
            m_endRecordPos = m_fileSize - n + i;
            return true;
        }
    }
    return false;
}

bool SfxArchive::readDirectory(uint64_t start, uint16_t count)
{
    uint64_t pos = start;
    m_archiveStart = start;
    for (uint16_t i = 0; i < count; ++i) {
        unsigned char h[zipcore::kCentralHeaderSize];
        if (!readAt(pos, h, sizeof h) || le32(h) != zipcore::kCentralHeaderSig)
            return false;
        std::string name(le16(h + 28), '\0');
        if (!name.empty() && std::fread(name.data(), 1, name.size(), m_file) != name.size())
            return false;
        ArchiveEntry e;
        e.flags = le16(h + 8);
        e.method = le16(h + 10);
        e.dosTime = le16(h + 12);
        e.dosDate = le16(h + 14);
        e.crc = le32(h + 16);
        e.compressedSize = le32(h + 20);
        e.uncompressedSize = le32(h + 24);
        const int64_t local = static_cast<int64_t>(le32(h + 42)) + m_shift;
        if (local < 0 || static_cast<uint64_t>(local) >= start)
            return false;
        e.localHeaderPos = static_cast<uint64_t>(local);
        e.name = entryNameToUtf8(name, e.flags);
        std::replace(e.name.begin(), e.name.end(), '\\', '/');
        m_archiveStart = std::min(m_archiveStart, e.localHeaderPos);
        m_entries.push_back(std::move(e));
        pos += zipcore::kCentralHeaderSize + name.size() + le16(h + 30) + le16(h + 32);
    }
    return pos <= m_endRecordPos;
}

void SfxArchive::readSettings()
{
    std::vector<unsigned char> front(static_cast<size_t>(std::min<uint64_t>(m_archiveStart, kPeHeaderReadSize)));
    if (!front.empty() && readAt(0, front.data(), front.size())) {
        const auto imageEnd = peImageEnd(front.data(), front.size());
        if (imageEnd && *imageEnd < m_archiveStart) {
            std::vector<unsigned char> header(static_cast<size_t>(m_archiveStart - *imageEnd));
            if (readAt(*imageEnd, header.data(), header.size()) && (m_settings = parseHeader(header.data(), header.size())))
                return;
        }
    }
    const size_t span = static_cast<size_t>(std::min<uint64_t>(m_archiveStart, kHeaderSearchSpan));
    std::vector<unsigned char> before(span);
    if (span > 0 && readAt(m_archiveStart - span, before.data(), span))
        m_settings = findHeader(before.data(), span);
}

bool SfxArchive::isComplete()
{
    for (const ArchiveEntry& e : m_entries) {
        const auto data = dataPosition(e);
        if (!data || *data + e.compressedSize > m_directoryStart)
            return false;
    }
    return m_endRecordPos + zipcore::kEndOfCentralSize <= m_fileSize;
}

std::optional<uint64_t> SfxArchive::dataPosition(const ArchiveEntry& entry)
{
    unsigned char h[zipcore::kLocalHeaderSize];
    if (!readAt(entry.localHeaderPos, h, sizeof h) || le32(h) != zipcore::kLocalHeaderSig)
        return std::nullopt;
    return entry.localHeaderPos + zipcore::kLocalHeaderSize + le16(h + 26) + le16(h + 28);
}

std::optional<uint64_t> peImageEnd(const unsigned char* data, size_t size)
{
    if (size < 64 || data[0] != 'M' || data[1] != 'Z')
        return std::nullopt;
    const uint32_t pe = le32(data + 60);
    if (pe > size - 24 || le32(data + pe) != 0x00004550)
        return std::nullopt;
    const uint16_t sections = le16(data + pe + 6);
    const uint64_t table = uint64_t(pe) + 24 + le16(data + pe + 20);
    if (table + uint64_t(sections) * 40 > size)
        return std::nullopt;
    uint64_t end = 0;
    for (uint16_t i = 0; i < sections; ++i) {
        const unsigned char* s = data + table + i * 40;
        end = std::max<uint64_t>(end, uint64_t(le32(s + 20)) + le32(s + 16));
    }
    return end;
}

} // namespace sfxcore
