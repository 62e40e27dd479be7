#include "zipdll/ArchiveBuilder.h"

#include "zipcore/Crc32.h"
#include "zipcore/DeflateCompressor.h"
#include "zipcore/EntryName.h"
#include "zipcore/FileInput.h"
#include "zipcore/ZipCrypto.h"
#include "zipcore/ZipFormat.h"
#include "zipdll/CommandError.h"
#include "zipdll/StoredNames.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <system_error>
#include <thread>

namespace zipdll {

using namespace zipcore;

namespace {

constexpr size_t kProgressStep = 256 * 1024;
constexpr size_t kCopyBlock = 1 << 20;
// While a big file is compressed on the pool, the caller hears from us at
// this pace: it is the longest a window waits before it can repaint.
constexpr auto kPollInterval = std::chrono::milliseconds(30);

uint16_t dosAttributes(const SourceItem& source) {
    uint16_t attributes = source.isFolder ? 0x10 : 0x20;
    if (!(source.info.st_mode & S_IWUSR)) attributes |= 0x01;
    return attributes;
}

std::string readError(const SourceItem& source, const std::string& reason) {
    return "Cannot read " + source.path + ": " + reason + "; not added";
}

// Four small samples across the file, to judge whether deflate is worth it.
bool fileLooksIncompressible(FileInput& file, uint64_t size) {
    constexpr size_t kSample = 16 * 1024;
    std::vector<unsigned char> samples(4 * kSample);
    for (size_t i = 0; i < 4; ++i) {
        const uint64_t offset = (size - kSample) / 3 * i;
        if (!file.readExact(offset, samples.data() + i * kSample, kSample)) return false;
    }
    return sampleLooksIncompressible(samples.data(), samples.size());
}

std::optional<uint32_t> crcOfFile(FileInput& file) {
    std::vector<unsigned char> buffer(kCopyBlock);
    uint32_t crc = 0;
    for (uint64_t offset = 0;;) {
        const size_t got = file.readAt(offset, buffer.data(), buffer.size());
        crc = crc32Update(crc, buffer.data(), got);
        offset += got;
        if (got < buffer.size())
            return file.readError() == 0 ? std::optional<uint32_t>(crc) : std::nullopt;
    }
}

} // namespace

ArchiveBuilder::ArchiveBuilder(BuildSettings settings, CallbackReporter& reporter,
                               ExistingArchive* existing, ZipFileWriter& out)
    : m_settings(std::move(settings))
    , m_reporter(reporter)
    , m_existing(existing)
    , m_out(out) {}

ArchiveBuilder::~ArchiveBuilder() = default;

BuildOutcome ArchiveBuilder::build(const std::vector<OutputJob>& jobs) {
    try {
        if (m_existing) writeKeptBytes(0, m_existing->prefixSize());
        startPool(jobs);
        size_t poolIndex = 0;
        for (const OutputJob& job : jobs) {
            if (job.kind == OutputJob::Kind::Keep)
                writeKept(m_existing->entries()[job.keptIndex]);
            else if (job.kind == OutputJob::Kind::Folder)
                writeFolder(*job.source);
            else if (static_cast<uint64_t>(job.source->info.st_size) <= kWholeFileLimit)
                writePooled(*job.source, poolIndex++);
            else
                writeStreamed(*job.source, job.storeOnly);
        }
        finish();
    } catch (const std::system_error& e) {
        throw CommandError{BRX_MSG_WRITE_FAILED, "Cannot write " + m_settings.archiveName + ": " +
                                                     std::strerror(e.code().value())};
    }
    return std::move(m_outcome);
}

void ArchiveBuilder::startPool(const std::vector<OutputJob>& jobs) {
    std::vector<CompressTask> tasks;
    for (const OutputJob& job : jobs)
        if (job.kind == OutputJob::Kind::File &&
            static_cast<uint64_t>(job.source->info.st_size) <= kWholeFileLimit)
            tasks.push_back(CompressTask{
                job.source->path, static_cast<uint64_t>(job.source->info.st_size), job.storeOnly});
    if (tasks.empty()) return;
    CompressSettings settings;
    settings.level = m_settings.level;
    settings.encrypt = m_settings.encrypt;
    settings.password = m_settings.password;
    settings.threads = std::max(1u, std::thread::hardware_concurrency());
    m_pool = std::make_unique<CompressPool>(std::move(tasks), settings);
}

void ArchiveBuilder::writeKeptBytes(uint64_t from, uint64_t to) {
    std::vector<unsigned char> buffer(
        static_cast<size_t>(std::min<uint64_t>(to - from, kCopyBlock)));
    uint64_t sinceReport = 0;
    while (from < to) {
        const size_t chunk = static_cast<size_t>(std::min<uint64_t>(to - from, buffer.size()));
        if (!m_existing->input().readExact(from, buffer.data(), chunk))
            throw CommandError{BRX_MSG_ARCHIVE_UNREADABLE, "Cannot read " + m_settings.archiveName};
        m_out.write(buffer.data(), chunk);
        from += chunk;
        sinceReport += chunk;
        if (sinceReport >= 16 * kCopyBlock) {
            // Long copies stay cancellable.
            m_reporter.progress(0);
            sinceReport = 0;
        }
    }
}

void ArchiveBuilder::writeKept(const KeptEntry& kept) {
    WrittenEntry entry;
    const ZipEntry& old = kept.entry;
    entry.versionMadeBy = old.versionMadeBy;
    entry.versionNeeded = old.versionNeeded;
    entry.flags = old.flags;
    entry.method = old.method;
    entry.dosTime = old.dosTime;
    entry.dosDate = old.dosDate;
    entry.crc32 = old.crc32;
    entry.compressedSize = old.compressedSize;
    entry.uncompressedSize = old.uncompressedSize;
    entry.internalAttributes = old.internalAttributes;
    entry.externalAttributes = old.externalAttributes;
    entry.localHeaderOffset = m_out.position();
    entry.name = old.name;
    entry.centralExtra = old.extra;
    entry.comment = old.comment;
    entry.zip64Fields = old.zip64Fields;
    writeKeptBytes(kept.start, kept.end);
    m_outcome.newestDosTime =
        std::max(m_outcome.newestDosTime, (uint32_t(entry.dosDate) << 16) | entry.dosTime);
    m_central.push_back(std::move(entry));
}

WrittenEntry ArchiveBuilder::entryFor(const SourceItem& source, bool deflated) const {
    WrittenEntry entry;
    entry.name = source.storedName;
    const bool encrypted = m_settings.encrypt && !source.isFolder;
    if (!isPureAscii(entry.name) && isValidUtf8(entry.name)) entry.flags |= kFlagUtf8;
    if (encrypted) entry.flags |= kFlagEncrypted;
    entry.method = deflated ? kMethodDeflated : kMethodStored;
    entry.versionNeeded = (deflated || encrypted || source.isFolder) ? 20 : 10;
    const uint8_t host = m_settings.forceDos ? kHostMsDos : kHostUnix;
    entry.versionMadeBy = static_cast<uint16_t>((host << 8) | 30);
    entry.externalAttributes = dosAttributes(source);
    if (!m_settings.forceDos)
        entry.externalAttributes |= static_cast<uint32_t>(source.info.st_mode & 0xFFFF) << 16;
    const DosDateTime stamp = toDosDateTime(source.info.st_mtime);
    entry.dosTime = stamp.time;
    entry.dosDate = stamp.date;
    entry.localHeaderOffset = m_out.position();
    return entry;
}

void ArchiveBuilder::addWritten(WrittenEntry entry, const SourceItem& source) {
    m_outcome.newestDosTime =
        std::max(m_outcome.newestDosTime, (uint32_t(entry.dosDate) << 16) | entry.dosTime);
    m_outcome.writtenNew.push_back(entry);
    m_outcome.writtenSources.push_back(&source);
    ++m_outcome.newEntries;
    m_central.push_back(std::move(entry));
}

void ArchiveBuilder::writeFolder(const SourceItem& source) {
    m_reporter.itemStart(source.storedName, 0);
    WrittenEntry entry = entryFor(source, false);
    m_out.write(localHeaderBytes(entry));
    addWritten(std::move(entry), source);
}

void ArchiveBuilder::writePooled(const SourceItem& source, size_t poolIndex) {
    m_reporter.itemStart(source.storedName, static_cast<uint64_t>(source.info.st_size));
    CompressResult* result = nullptr;
    while (!(result = m_pool->waitFor(poolIndex, kPollInterval)))
        m_reporter.progress(0); // a slow file stays cancellable
    if (!result->ok) {
        m_reporter.message(BRX_MSG_READ_FAILED, readError(source, result->error));
        m_pool->release(poolIndex);
        return;
    }
    WrittenEntry entry = entryFor(source, result->deflated);
    entry.crc32 = result->crc32;
    entry.compressedSize = result->data.size();
    entry.uncompressedSize = result->uncompressedSize;
    m_out.write(localHeaderBytes(entry));
    m_out.write(result->data.data(), result->data.size());
    const uint64_t done = result->uncompressedSize;
    m_pool->release(poolIndex);
    addWritten(std::move(entry), source);
    reportBytes(done);
}

void ArchiveBuilder::reportBytes(uint64_t bytes) {
    do {
        const uint64_t step = std::min<uint64_t>(bytes, kProgressStep);
        m_reporter.progress(step);
        bytes -= step;
    } while (bytes > 0);
}

void ArchiveBuilder::writeStreamed(const SourceItem& source, bool storeOnly) {
    m_reporter.itemStart(source.storedName, static_cast<uint64_t>(source.info.st_size));
    FileInput file(source.path);
    if (!file.isOpen()) {
        m_reporter.message(BRX_MSG_READ_FAILED, readError(source, std::strerror(file.openError())));
        return;
    }
    const bool deflated =
        m_settings.level > 0 && !storeOnly &&
        !fileLooksIncompressible(file, static_cast<uint64_t>(source.info.st_size));
    // The encryption header carries the CRC, so it is computed first.
    std::optional<uint32_t> crc = m_settings.encrypt ? crcOfFile(file) : std::optional<uint32_t>(0);
    if (!crc) {
        m_reporter.message(BRX_MSG_READ_FAILED, readError(source, std::strerror(file.readError())));
        return;
    }
    // Sizes are known only at the end: a file that may reach 4 GiB gets a
    // Zip64 field in its local header from the start. One that grows past
    // 4 GiB while it is read without one is written again with one.
    const bool mayNeedZip64 = static_cast<uint64_t>(source.info.st_size) >= kZip64Threshold;
    if (writeStreamedEntry(file, source, deflated, *crc, mayNeedZip64) == StreamResult::NeedsZip64)
        writeStreamedEntry(file, source, deflated, *crc, true);
}

ArchiveBuilder::StreamResult ArchiveBuilder::writeStreamedEntry(FileInput& file,
                                                                const SourceItem& source,
                                                                bool deflated, uint32_t crc,
                                                                bool zip64) {
    WrittenEntry entry = entryFor(source, deflated);
    if (zip64) {
        entry.localZip64 = true;
        entry.versionNeeded = kVersionZip64;
    }
    const uint64_t start = m_out.position();
    m_out.write(localHeaderBytes(entry));
    const StreamResult result = streamData(file, source, entry, crc);
    if (result != StreamResult::Written) {
        m_out.truncateTo(start);
        return result;
    }
    m_out.patch(start + kLocalCrcOffset, localSizesBytes(entry));
    if (entry.localZip64)
        m_out.patch(start + localZip64SizesOffset(entry), localZip64SizesBytes(entry));
    addWritten(std::move(entry), source);
    return result;
}

// Reads, compresses, encrypts and writes one large file in bounded memory,
// to the end of the file as it is now. Failed (reported) when the file
// could not be read as listed; NeedsZip64 when it grew to 4 GiB without a
// Zip64 field in its local header.
ArchiveBuilder::StreamResult ArchiveBuilder::streamData(FileInput& file, const SourceItem& source,
                                                        WrittenEntry& entry, uint32_t expectedCrc) {
    std::optional<ZipCrypto> crypto;
    uint64_t packed = 0;
    if (m_settings.encrypt) {
        crypto.emplace(m_settings.password);
        unsigned char header[kEncryptionHeaderSize];
        crypto->makeHeader(header, static_cast<uint8_t>(expectedCrc >> 24));
        m_out.write(header, sizeof header);
        packed += sizeof header;
    }
    std::optional<StreamDeflater> deflater;
    if (entry.method == kMethodDeflated) deflater.emplace(m_settings.level);
    std::vector<unsigned char> input(kProgressStep);
    std::vector<unsigned char> output;
    uint32_t crc = 0;
    uint64_t total = 0;
    for (;;) {
        const size_t got = file.readAt(total, input.data(), input.size());
        if (file.readError() != 0) {
            m_reporter.message(BRX_MSG_READ_FAILED,
                               readError(source, std::strerror(file.readError())));
            return StreamResult::Failed;
        }
        const bool last = got < input.size();
        crc = crc32Update(crc, input.data(), got);
        total += got;
        output.clear();
        if (deflater)
            deflater->feed(input.data(), got, last, output);
        else
            output.assign(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(got));
        if (crypto) crypto->encrypt(output.data(), output.size());
        packed += output.size();
        if (!entry.localZip64 && (total >= kZip64Threshold || packed >= kZip64Threshold))
            return StreamResult::NeedsZip64;
        m_out.write(output.data(), output.size());
        m_reporter.progress(got);
        if (last) break;
    }
    if (m_settings.encrypt && crc != expectedCrc) {
        m_reporter.message(BRX_MSG_FILE_CHANGED,
                           "The file " + source.path + " changed while it was read; not added");
        return StreamResult::Failed;
    }
    entry.crc32 = crc;
    entry.compressedSize = packed;
    entry.uncompressedSize = total;
    return StreamResult::Written;
}

// The directory; Zip64 end records only when the count, its size or its
// offset need them.
void ArchiveBuilder::finish() {
    const uint64_t centralStart = m_out.position();
    for (const WrittenEntry& entry : m_central) m_out.write(centralHeaderBytes(entry));
    const uint64_t centralSize = m_out.position() - centralStart;
    m_out.write(endRecordBytes(m_central.size(), centralSize, centralStart, m_settings.comment));
}

} // namespace zipdll
