#include "zipdll/ExistingArchive.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>
#include <cstring>

namespace zipdll {

using namespace zipcore;

bool ExistingArchive::open(const std::string& path) {
    m_input = std::make_unique<FileInput>(path);
    if (!m_input->isOpen()) {
        m_error = std::strerror(m_input->openError());
        return false;
    }
    const DirectoryResult result = readDirectory(*m_input, m_directory);
    if (!result.ok) {
        m_error = result.error;
        return false;
    }
    m_prefixSize = m_directory.centralStart;
    for (const ZipEntry& entry : m_directory.entries) {
        KeptEntry kept{entry, 0, 0};
        if (!locate(entry, kept)) return false;
        m_prefixSize = std::min(m_prefixSize, kept.start);
        m_entries.push_back(std::move(kept));
    }
    return true;
}

bool ExistingArchive::locate(const ZipEntry& entry, KeptEntry& kept) {
    const DataLocation location = locateEntryData(*m_input, m_directory, entry);
    if (!location.ok) {
        m_error = entry.name + ": " + location.error;
        return false;
    }
    kept.start = location.headerOffset;
    if (!entryRecordEnd(*m_input, m_directory, entry, location, kept.end)) {
        m_error = entry.name + ": the data descriptor runs past the entry data";
        return false;
    }
    return true;
}

} // namespace zipdll
