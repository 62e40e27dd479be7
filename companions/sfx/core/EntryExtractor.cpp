#include "EntryExtractor.h"

#include "FileSystem.h"

namespace sfxcore {
namespace {

ExtractResult resultOf(zipcore::DecodeStatus status) {
    switch (status) {
    case zipcore::DecodeStatus::Ok:
        return ExtractResult::Ok;
    case zipcore::DecodeStatus::WrongPassword:
        return ExtractResult::WrongPassword;
    case zipcore::DecodeStatus::CrcMismatch:
        return ExtractResult::CrcError;
    case zipcore::DecodeStatus::Unsupported:
        return ExtractResult::Unsupported;
    case zipcore::DecodeStatus::Cancelled:
        return ExtractResult::WriteError;
    default:
        return ExtractResult::ReadError;
    }
}

} // namespace

bool EntryExtractor::passwordOpens(const ArchiveEntry& entry, const std::string& password) {
    const auto data =
        zipcore::locateEntryData(m_archive.input(), m_archive.directory(), entry.record);
    return data.ok &&
           zipcore::passwordMatches(m_archive.input(), data.offset, entry.record, password);
}

ExtractResult EntryExtractor::extract(const ArchiveEntry& entry, const std::string& target,
                                      const std::string& password) {
    if (!zipcore::unsupportedReason(entry.record).empty()) return ExtractResult::Unsupported;
    const auto data =
        zipcore::locateEntryData(m_archive.input(), m_archive.directory(), entry.record);
    if (!data.ok) return ExtractResult::ReadError;
    const std::string temporary = target + ".sfx-part";
    std::FILE* out = openFile(temporary, "wb");
    if (!out) return ExtractResult::WriteError;
    const auto sink = [out](const unsigned char* bytes, size_t size) {
        return std::fwrite(bytes, 1, size, out) == size;
    };
    ExtractResult result = resultOf(
        m_decoder.decode(m_archive.input(), data.offset, entry.record, password, sink).status);
    if (std::fclose(out) != 0 && result == ExtractResult::Ok) result = ExtractResult::WriteError;
    if (result == ExtractResult::Ok && !replaceFile(temporary, target))
        result = ExtractResult::WriteError;
    if (result != ExtractResult::Ok) {
        removeFile(temporary);
        return result;
    }
    setFileTime(target, entry.record.dosDate, entry.record.dosTime);
    return result;
}

} // namespace sfxcore
