#include "Extractor.h"

#include "EntryMatcher.h"
#include "WholeEntryDecoder.h"
#include "zipcore/EntryName.h"
#include "zipcore/SafePath.h"

#include <algorithm>
#include <thread>

namespace unzdll {

using zipcore::DecodeResult;
using zipcore::DecodeStatus;
using zipcore::ZipEntry;

namespace {

constexpr uint64_t kInMemoryLimit = uint64_t{128} << 20; // larger entries are streamed
constexpr uint64_t kPendingBytesLimit = uint64_t{256}
                                        << 20; // memory held by decoded entries waiting
constexpr size_t kPendingJobsLimit = 512;
constexpr size_t kProgressSlice = size_t{256} << 10; // a stop request is seen within this much work
constexpr size_t kMaxLinkTarget = 4096;

unsigned workerCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(cores, 1u, 8u);
}

std::string parentPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

uint64_t memoryCost(const ZipEntry& entry) {
    return uint64_t{entry.compressedSize} + entry.uncompressedSize;
}

bool fitsInMemory(const ZipEntry& entry) {
    return entry.compressedSize <= kInMemoryLimit && entry.uncompressedSize <= kInMemoryLimit;
}

std::pair<BrxSkipKind, int32_t> failureKind(DecodeStatus status) {
    switch (status) {
    case DecodeStatus::WrongPassword:
        return {BRX_SKIP_BAD_PASSWORD, BRX_MSG_BAD_PASSWORD};
    case DecodeStatus::Unsupported:
        return {BRX_SKIP_COMPRESSION_UNKNOWN, BRX_MSG_UNSUPPORTED_METHOD};
    case DecodeStatus::CrcMismatch:
        return {BRX_SKIP_CRC_ERROR, BRX_MSG_CRC_ERROR};
    default:
        return {BRX_SKIP_DAMAGED, BRX_MSG_DAMAGED_ENTRY};
    }
}

} // namespace

Extractor::Extractor(const UnzOptions& options, UnzReporter& reporter)
    : m_options(options)
    , m_reporter(reporter) {}

int32_t Extractor::run() {
    if (openArchive()) {
        const std::vector<const ZipEntry*> selected = selectEntries();
        uint64_t totalBytes = 0;
        for (const ZipEntry* entry : selected) totalBytes += entry->uncompressedSize;
        m_reporter.totals(static_cast<uint32_t>(selected.size()), totalBytes);
        m_planner =
            std::make_unique<EntryPlanner>(m_options, m_reporter, m_folder, *m_input, m_directory);
        m_planner->setWriteEarlierEntries([this] { drain(); });
        m_workers = std::make_unique<DecodeWorkers>(workerCount(), *m_input, m_options.test);
        for (const ZipEntry* entry : selected) {
            if (m_reporter.cancelled()) break;
            process(*entry);
        }
        drain();
        m_workers.reset();
        finishFolders();
        if (m_reporter.cancelled())
            m_reporter.message(BRX_MSG_CANCELLED, "Extraction stopped at the caller's request");
    }
    m_reporter.endOfBatch();
    return m_successes;
}

bool Extractor::openArchive() {
    m_input = std::make_unique<zipcore::FileInput>(m_options.archive);
    if (!m_input->isOpen()) {
        m_reporter.message(BRX_MSG_ARCHIVE_OPEN_FAILED, m_options.archive + ": cannot be opened: " +
                                                            systemErrorText(m_input->openError()));
        return false;
    }
    const zipcore::DirectoryResult read = zipcore::readDirectory(*m_input, m_directory);
    if (!read.ok) {
        m_reporter.message(BRX_MSG_DAMAGED_ARCHIVE, m_options.archive + ": " + read.error);
        return false;
    }
    return true;
}

std::vector<const ZipEntry*> Extractor::selectEntries() {
    std::vector<const ZipEntry*> selected;
    if (m_options.specs.empty()) {
        for (const ZipEntry& entry : m_directory.entries) selected.push_back(&entry);
        return selected;
    }
    // The engine names an entry as it listed it: the format layer decodes
    // names the same way for both; the stored bytes are a last spelling.
    EntryMatcher matcher(m_options.specs);
    for (const ZipEntry& entry : m_directory.entries) {
        const std::vector<std::string> spellings{zipcore::entryNameUtf8(entry), entry.name};
        if (matcher.matches(spellings)) selected.push_back(&entry);
    }
    for (const std::string& spec : matcher.unmatchedSpecs())
        m_reporter.message(BRX_MSG_NO_MATCHING_ENTRY, "No entry matches: " + spec);
    return selected;
}

void Extractor::process(const ZipEntry& entry) {
    std::optional<PlannedEntry> planned = m_planner->plan(entry);
    if (!planned) return;
    if (planned->kind == EntryKind::Folder)
        makeFolder(*planned);
    else if (planned->kind == EntryKind::Link && !m_options.test)
        makeLink(*planned);
    else if (fitsInMemory(entry))
        submit(std::move(*planned));
    else {
        drain();
        stream(*planned);
    }
}

void Extractor::makeFolder(const PlannedEntry& planned) {
    m_reporter.itemStart(planned.name, 0);
    if (!m_options.test && !planned.target.empty()) {
        std::string error;
        if (!m_folder.makeFolders(planned.target, error)) {
            reportFailure(m_reporter, planned.name, BRX_SKIP_WRITE_ERROR, BRX_MSG_OUTPUT_FAILED,
                          error);
            return;
        }
        // Dates last: writing the folder's files would change them again.
        m_folders.push_back({planned.target, planned.mode, planned.modified});
    }
    ++m_successes;
}

void Extractor::submit(PlannedEntry planned) {
    auto job = std::make_unique<DecodeJob>();
    job->planned = std::move(planned);
    const uint64_t cost = memoryCost(*job->planned.entry);
    m_workers->post(*job, cost);
    m_pendingBytes += cost;
    m_pending.push_back(std::move(job));
    while (!m_pending.empty() &&
           (m_pendingBytes > kPendingBytesLimit || m_pending.size() > kPendingJobsLimit))
        finishOldest();
}

void Extractor::finishOldest() {
    std::unique_ptr<DecodeJob> job = std::move(m_pending.front());
    m_pending.pop_front();
    m_workers->waitFor(*job);
    m_pendingBytes -= memoryCost(*job->planned.entry);
    if (!m_reporter.cancelled()) finishInMemory(*job);
}

void Extractor::drain() {
    while (!m_pending.empty()) finishOldest();
}

void Extractor::finishInMemory(DecodeJob& job) {
    const PlannedEntry& planned = job.planned;
    m_reporter.itemStart(planned.name, planned.entry->uncompressedSize);
    const DecodedEntry& decoded = job.decoded;
    if (!acceptResult(planned, decoded.result)) return;
    if (m_options.test) {
        reportProgressInSlices(decoded.size);
        ++m_successes;
    } else if (writeOut(planned, decoded) && decoded.result.status == DecodeStatus::Ok) {
        ++m_successes;
    }
}

// A good result, or a CRC error the engine wants kept; everything else is
// reported here and dropped.
bool Extractor::acceptResult(const PlannedEntry& planned, const DecodeResult& result) {
    if (result.status == DecodeStatus::Ok) return true;
    if (result.status == DecodeStatus::Cancelled) return false;
    const ZipEntry& entry = *planned.entry;
    if (entry.isEncrypted() && result.status != DecodeStatus::Truncated) {
        // The password passed the one-byte check but the data does not
        // decode: wrong password (1 in 256) or damage; never keep it.
        reportFailure(m_reporter, planned.name, BRX_SKIP_BAD_PASSWORD, BRX_MSG_BAD_PASSWORD,
                      "wrong password or damaged data (" + result.message + ")");
        return false;
    }
    if (result.status == DecodeStatus::CrcMismatch && !m_options.test &&
        m_reporter.keepAfterCrcError(planned.name, result.crc, entry.crc32)) {
        m_reporter.message(BRX_MSG_CRC_ERROR,
                           planned.name + ": CRC error, file kept at the caller's request");
        return true;
    }
    const auto [kind, code] = failureKind(result.status);
    reportFailure(m_reporter, planned.name, kind, code, result.message);
    return false;
}

bool Extractor::writeOut(const PlannedEntry& planned, const DecodedEntry& decoded) {
    OutputFile file(m_folder.umaskBits());
    std::string error;
    bool ok = m_folder.makeFolders(parentPath(planned.target), error) &&
              file.open(planned.target, planned.mode, error);
    for (size_t done = 0; ok && done < decoded.size && !m_reporter.cancelled();) {
        const size_t slice = std::min(kProgressSlice, decoded.size - done);
        ok = file.write(decoded.data + done, slice, error);
        done += slice;
        m_reporter.progress(slice);
    }
    if (ok && m_reporter.cancelled()) return false;
    if (ok) ok = file.commit(planned.modified, error);
    if (!ok)
        reportFailure(m_reporter, planned.name, BRX_SKIP_WRITE_ERROR, BRX_MSG_OUTPUT_FAILED, error);
    return ok;
}

void Extractor::stream(const PlannedEntry& planned) {
    m_reporter.itemStart(planned.name, planned.entry->uncompressedSize);
    OutputFile file(m_folder.umaskBits());
    std::string error;
    if (!m_options.test && !(m_folder.makeFolders(parentPath(planned.target), error) &&
                             file.open(planned.target, planned.mode, error))) {
        reportFailure(m_reporter, planned.name, BRX_SKIP_WRITE_ERROR, BRX_MSG_OUTPUT_FAILED, error);
        return;
    }
    bool writeFailed = false;
    zipcore::EntryDecoder decoder(kProgressSlice);
    const DecodeResult result =
        decoder.decode(*m_input, planned.dataOffset, *planned.entry, planned.password,
                       [&](const unsigned char* data, size_t size) {
                           if (!m_options.test && !file.write(data, size, error)) {
                               writeFailed = true;
                               return false;
                           }
                           m_reporter.progress(size);
                           return !m_reporter.cancelled();
                       });
    if (writeFailed) {
        reportFailure(m_reporter, planned.name, BRX_SKIP_WRITE_ERROR, BRX_MSG_OUTPUT_FAILED, error);
        return;
    }
    if (!acceptResult(planned, result)) return;
    if (!m_options.test && !file.commit(planned.modified, error)) {
        reportFailure(m_reporter, planned.name, BRX_SKIP_WRITE_ERROR, BRX_MSG_OUTPUT_FAILED, error);
        return;
    }
    if (result.status == DecodeStatus::Ok) ++m_successes;
}

// A link is made only when its target stays inside the extraction folder;
// later entries never pass through it (OutputFolder::checkWay).
void Extractor::makeLink(const PlannedEntry& planned) {
    drain(); // earlier entries first, in archive order
    m_reporter.itemStart(planned.name, planned.entry->uncompressedSize);
    if (planned.entry->uncompressedSize > kMaxLinkTarget) {
        reportFailure(m_reporter, planned.name, BRX_SKIP_DAMAGED, BRX_MSG_DAMAGED_ENTRY,
                      "link target too long");
        return;
    }
    DecodedEntry decoded;
    decodeWhole(*m_input, planned.dataOffset, *planned.entry, planned.password, decoded);
    if (decoded.result.status != DecodeStatus::Ok) {
        const auto [kind, code] = failureKind(decoded.result.status);
        reportFailure(m_reporter, planned.name, kind, code, decoded.result.message);
        return;
    }
    const std::string target(reinterpret_cast<const char*>(decoded.data), decoded.size);
    if (target.find('\0') != std::string::npos ||
        !zipcore::linkStaysInside(planned.target, target)) {
        reportFailure(m_reporter, planned.name, BRX_SKIP_UNSAFE_PATH, BRX_MSG_UNSAFE_PATH,
                      "symbolic link to " + target + " would point outside the extraction folder");
        return;
    }
    std::string error;
    if (!m_folder.createLink(planned.target, target, error)) {
        reportFailure(m_reporter, planned.name, BRX_SKIP_WRITE_ERROR, BRX_MSG_OUTPUT_FAILED, error);
        return;
    }
    ++m_successes;
}

void Extractor::reportProgressInSlices(uint64_t bytes) {
    while (bytes > 0 && !m_reporter.cancelled()) {
        const uint64_t slice = std::min<uint64_t>(bytes, kProgressSlice);
        m_reporter.progress(slice);
        bytes -= slice;
    }
}

// Deepest first, so that setting a folder's date is not undone by its subfolders.
void Extractor::finishFolders() {
    std::sort(m_folders.begin(), m_folders.end(),
              [](const FolderToFinish& a, const FolderToFinish& b) {
                  return a.path.size() > b.path.size();
              });
    for (const FolderToFinish& folder : m_folders)
        if (!m_folder.setFolderAttributes(folder.path, folder.mode, folder.modified))
            m_reporter.message(BRX_MSG_SET_ATTRIBUTES_FAILED,
                               folder.path + ": date or mode not restored");
}

} // namespace unzdll
