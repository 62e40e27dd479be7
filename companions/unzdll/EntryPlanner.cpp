#include "EntryPlanner.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/EntryDecoder.h"
#include "zipcore/EntryName.h"
#include "zipcore/SafePath.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>

namespace unzdll {

using zipcore::ZipEntry;

namespace {

constexpr uint16_t kExtraExtendedTime = 0x5455;
constexpr unsigned kSetIdBits = 06000;

// Set-uid and set-gid bits are never restored: an archive must not be able
// to plant a privileged program.
unsigned restoredMode(const ZipEntry& entry, unsigned fallback) {
    const unsigned mode = entry.unixMode() & 07777 & ~kSetIdBits;
    return (mode & 0777) != 0 ? mode : fallback;
}

} // namespace

void reportFailure(UnzReporter& reporter, const std::string& name, BrxSkipKind kind, int32_t code,
                   const std::string& reason) {
    reporter.message(code, name + ": " + reason);
    reporter.skipped(name, kind, code);
}

std::time_t entryModifiedTime(const ZipEntry& entry) {
    zipcore::ByteCursor cursor(reinterpret_cast<const unsigned char*>(entry.extra.data()),
                               entry.extra.size());
    while (cursor.remaining() >= 4) {
        const uint16_t id = cursor.u16();
        const uint16_t length = cursor.u16();
        const unsigned char* body = cursor.bytes(length);
        if (!cursor.ok()) break;
        if (id == kExtraExtendedTime && length >= 5 && (body[0] & 1))
            return static_cast<std::time_t>(static_cast<int32_t>(zipcore::le32(body + 1)));
    }
    const std::time_t dos = zipcore::fromDosDateTime(entry.dosDate, entry.dosTime);
    return dos < 0 ? 0 : dos;
}

EntryPlanner::EntryPlanner(const UnzOptions& options, UnzReporter& reporter, OutputFolder& folder,
                           zipcore::ZipInput& input, const zipcore::ZipDirectory& directory)
    : m_options(options)
    , m_reporter(reporter)
    , m_folder(folder)
    , m_input(input)
    , m_directory(directory) {
    if (!options.password.empty()) m_passwords.push_back(options.password);
}

std::optional<PlannedEntry> EntryPlanner::plan(const ZipEntry& entry) {
    PlannedEntry planned;
    planned.entry = &entry;
    planned.name = zipcore::entryNameUtf8(entry);
    planned.kind = entry.isDirectory() ? EntryKind::Folder
                   : entry.isSymlink() ? EntryKind::Link
                                       : EntryKind::File;
    planned.modified = entryModifiedTime(entry);
    if (!checkEntry(planned)) return std::nullopt;
    if (!m_options.test && !placeOutput(planned)) return std::nullopt;
    if (entry.isEncrypted() && planned.kind != EntryKind::Folder && !findPassword(planned))
        return std::nullopt;
    return planned;
}

bool EntryPlanner::checkEntry(PlannedEntry& planned) {
    const ZipEntry& entry = *planned.entry;
    if (entry.overlapsAnother) {
        reportFailure(m_reporter, planned.name, BRX_SKIP_DAMAGED, BRX_MSG_DAMAGED_ENTRY,
                      "its data overlaps another entry");
        return false;
    }
    if (const std::string reason = zipcore::unsupportedReason(entry); !reason.empty()) {
        const bool encryption = entry.method == zipcore::kMethodAes || entry.hasAesExtra() ||
                                (entry.flags & zipcore::kFlagStrongEncryption);
        const BrxSkipKind kind =
            encryption ? BRX_SKIP_NO_ENCRYPTION_SUPPORT : BRX_SKIP_COMPRESSION_UNKNOWN;
        const int32_t code =
            encryption ? BRX_MSG_UNSUPPORTED_ENCRYPTION : BRX_MSG_UNSUPPORTED_METHOD;
        reportFailure(m_reporter, planned.name, kind, code, reason);
        return false;
    }
    const zipcore::DataLocation location = zipcore::locateEntryData(m_input, m_directory, entry);
    if (!location.ok) {
        reportFailure(m_reporter, planned.name, BRX_SKIP_DAMAGED, BRX_MSG_DAMAGED_ENTRY,
                      location.error);
        return false;
    }
    planned.dataOffset = location.offset;
    return true;
}

bool EntryPlanner::placeOutput(PlannedEntry& planned) {
    const zipcore::SafeName safe = zipcore::confineEntryName(planned.name, m_options.dirNames);
    if (!safe.ok) {
        reportFailure(m_reporter, planned.name, BRX_SKIP_UNSAFE_PATH, BRX_MSG_UNSAFE_PATH,
                      safe.reason);
        return false;
    }
    planned.target = safe.path;
    if (planned.kind == EntryKind::Folder) {
        planned.mode = restoredMode(*planned.entry, 0);
        return true; // made when its turn comes; without paths there is nothing to make
    }
    std::string detail;
    switch (m_folder.checkWay(planned.target, detail)) {
    case WayStatus::ThroughLink:
        reportFailure(m_reporter, planned.name, BRX_SKIP_UNSAFE_PATH, BRX_MSG_SYMLINK_IN_PATH,
                      "the path passes through the symbolic link " + detail);
        return false;
    case WayStatus::Blocked:
        reportFailure(m_reporter, planned.name, BRX_SKIP_WRITE_ERROR, BRX_MSG_OUTPUT_FAILED,
                      detail + " is a file, not a folder");
        return false;
    case WayStatus::Clear:
        break;
    }
    planned.mode = restoredMode(*planned.entry, m_folder.defaultFileMode());
    // Two entries with one output path (duplicates, or names without their
    // folders): the second meets the first as an existing file.
    const bool repeated = !m_targets.insert(planned.target).second;
    if (repeated && m_writeEarlier) m_writeEarlier();
    if (!mayWrite(planned)) return false;
    if (repeated && m_folder.inspect(planned.target).exists)
        m_reporter.message(BRX_MSG_INFO, planned.target +
                                             ": the file of an earlier entry is replaced by " +
                                             planned.name);
    return true;
}

// Update extracts newer entries and new files, freshen only newer entries
// over existing files; otherwise an existing file is replaced when the
// command says so or the engine agrees.
bool EntryPlanner::mayWrite(const PlannedEntry& planned) {
    const ExistingTarget existing = m_folder.inspect(planned.target);
    if (!existing.exists) {
        if (!m_options.freshen) return true;
        m_reporter.skipped(planned.name, BRX_SKIP_ON_FRESHEN, BRX_MSG_SKIPPED);
        return false;
    }
    if (existing.isDirectory) {
        reportFailure(m_reporter, planned.name, BRX_SKIP_WRITE_ERROR, BRX_MSG_OUTPUT_FAILED,
                      "a folder of that name is in the way");
        return false;
    }
    // DOS times have a two-second step: a file within it counts as the same age.
    const bool existingIsOlder = existing.modified + 1 < planned.modified;
    if (m_options.update || m_options.freshen) {
        if (existingIsOlder) return true;
        m_reporter.skipped(planned.name, BRX_SKIP_FILE_EXISTS, BRX_MSG_SKIPPED);
        return false;
    }
    if (m_options.overwrite || m_reporter.confirmOverwrite(planned.name, existingIsOlder))
        return true;
    if (!m_reporter.cancelled())
        m_reporter.skipped(planned.name, BRX_SKIP_NO_OVERWRITE, BRX_MSG_SKIPPED);
    return false;
}

bool EntryPlanner::findPassword(PlannedEntry& planned) {
    const ZipEntry& entry = *planned.entry;
    for (const std::string& password : m_passwords) {
        if (zipcore::passwordMatches(m_input, planned.dataOffset, entry, password)) {
            planned.password = password;
            return true;
        }
    }
    int requestsLeft = m_userGaveUp ? 0 : m_options.passwordRequests;
    while (requestsLeft > 0 && !m_reporter.cancelled()) {
        const std::optional<std::string> answer =
            m_reporter.askPassword(planned.name, requestsLeft);
        if (!answer) {
            m_userGaveUp = true;
            break;
        }
        --requestsLeft;
        if (zipcore::passwordMatches(m_input, planned.dataOffset, entry, *answer)) {
            m_passwords.insert(m_passwords.begin(), *answer);
            planned.password = *answer;
            return true;
        }
    }
    if (!m_reporter.cancelled())
        reportFailure(m_reporter, planned.name, BRX_SKIP_BAD_PASSWORD, BRX_MSG_BAD_PASSWORD,
                      m_passwords.empty() ? "encrypted, no password given" : "wrong password");
    return false;
}

} // namespace unzdll
