#include "SfxArchive.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/EntryName.h"

#include <algorithm>

using zipcore::le16;
using zipcore::le32;

namespace sfxcore {
namespace {

// The writer of the header looks at most this far in front of the archive.
constexpr size_t kHeaderSearchSpan = 1032;
constexpr size_t kPeHeaderReadSize = 4096;

} // namespace

SfxArchive::Status SfxArchive::open() {
    if (!m_input.isOpen()) return Status::CannotOpen;
    if (!zipcore::readDirectory(m_input, m_directory).ok) return Status::NoArchive;
    m_archiveStart = m_directory.centralStart;
    for (const zipcore::ZipEntry& record : m_directory.entries) {
        const int64_t local = int64_t(record.localHeaderOffset) + m_directory.offsetShift();
        if (local >= 0) m_archiveStart = std::min<uint64_t>(m_archiveStart, uint64_t(local));
        m_entries.push_back({zipcore::entryNameUtf8(record), record});
    }
    readSettings();
    return Status::Ok;
}

// The header follows the stub's PE image; when the front is no PE image the
// bytes before the archive are searched like the program that wrote them does.
void SfxArchive::readSettings() {
    std::vector<unsigned char> front(
        static_cast<size_t>(std::min<uint64_t>(m_archiveStart, kPeHeaderReadSize)));
    if (!front.empty() && m_input.readExact(0, front.data(), front.size())) {
        const auto imageEnd = peImageEnd(front.data(), front.size());
        if (imageEnd && *imageEnd < m_archiveStart) {
            std::vector<unsigned char> header(static_cast<size_t>(m_archiveStart - *imageEnd));
            if (m_input.readExact(*imageEnd, header.data(), header.size()) &&
                (m_settings = parseHeader(header.data(), header.size())))
                return;
        }
    }
    const size_t span = static_cast<size_t>(std::min<uint64_t>(m_archiveStart, kHeaderSearchSpan));
    std::vector<unsigned char> before(span);
    if (span > 0 && m_input.readExact(m_archiveStart - span, before.data(), span))
        m_settings = findHeader(before.data(), span);
}

bool SfxArchive::isComplete() {
    return std::all_of(m_entries.begin(), m_entries.end(), [this](const ArchiveEntry& e) {
        return zipcore::locateEntryData(m_input, m_directory, e.record).ok;
    });
}

std::optional<uint64_t> peImageEnd(const unsigned char* data, size_t size) {
    if (size < 64 || data[0] != 'M' || data[1] != 'Z') return std::nullopt;
    const uint32_t pe = le32(data + 60);
    if (size < 24 || pe > size - 24 || le32(data + pe) != 0x00004550) return std::nullopt;
    const uint16_t sections = le16(data + pe + 6);
    const uint64_t table = uint64_t(pe) + 24 + le16(data + pe + 20);
    if (table + uint64_t(sections) * 40 > size) return std::nullopt;
    uint64_t end = 0;
    for (uint16_t i = 0; i < sections; ++i) {
        const unsigned char* s = data + table + i * 40;
        end = std::max<uint64_t>(end, uint64_t(le32(s + 20)) + le32(s + 16));
    }
    return end;
}

} // namespace sfxcore
